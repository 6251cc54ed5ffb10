#!/usr/bin/env bash
# Whole-process times of venk on a tile sheet as a 1024 x 1024 indexed PNG
# against the same tiles as a blob, median of repeated runs: what reading the
# image costs on top of compressing its tiles. The sheet is the bundled
# sample's tiles repeated to 16384, drawn into 4-bit and 8-bit PNGs. And the
# same PNG made a background (--map: its distinct tiles and its tile map)
# against its plain compression.
#
#   bench/image_path.sh          build the bench preset (Release, build-bench/) and measure
#   RUNS=21 bench/image_path.sh  more runs per median (default 11)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-11}

(cd "$root" && cmake --workflow --preset bench >/dev/null)
venk=$root/build-bench/venk
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

time_once() {
  local list=$work/$1.times start
  shift
  start=${EPOCHREALTIME/./}
  "$@" >/dev/null 2>&1
  echo $((${EPOCHREALTIME/./} - start)) >>"$list"
}
median_ms() { sort -n "$work/$1.times" | awk '{ t[NR] = $1 } END { printf "%.2f", t[int((NR + 1) / 2)] / 1000 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f×", a / b }'; }

# 16384 tiles, 128 a row: a 1024 x 1024 picture.
for ((i = 0; i < 30; i++)); do cat "$root/examples/sample_tiles.bin"; done | head -c $((16384 * 32)) >"$work/sheet.bin"
"$venk" -b "$work/sheet.bin" "$work/sheet.venk"
"$venk" -d "$work/sheet.venk" "$work/sheet4.png" --columns 128
# The same tiles in an 8-bit PNG, each tile in palette line 1: its colours
# drawn with the first 32 colours of the 4-bit sheet's palette, twice.
python3 - "$work/sheet4.png" "$work/sheet8.png" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
pos, chunks = 8, {}
while pos < len(data):
    size, kind = struct.unpack(">I4s", data[pos:pos + 8])
    chunks.setdefault(kind, b"")
    chunks[kind] += data[pos + 8:pos + 8 + size]
    pos += 12 + size
width, height, depth = struct.unpack(">IIB", chunks[b"IHDR"][:9])
raw = zlib.decompress(chunks[b"IDAT"])
stride = width * depth // 8
rows = []
for y in range(height):
    row = raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)]  # the encoder's filter is 0 for indexed pixels
    rows.append(b"\0" + bytes(16 + (b >> (4 - 4 * (x % 2)) & 15) for x, b in ((x, row[x // 2]) for x in range(width))))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
header = struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0)
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"PLTE", chunks[b"PLTE"] * 2) + \
      chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b"")
open(sys.argv[2], "wb").write(png)
PY
for png in sheet4 sheet8; do
  "$venk" "$work/$png.png" "$work/from_$png.venk"
  "$venk" "$work/sheet.bin" "$work/from_blob.venk"
  cmp -s "$work/from_$png.venk" "$work/from_blob.venk" || { echo "$png.png gave another stream" >&2; exit 1; }
done

for ((round = 0; round < runs; round++)); do
  time_once blob "$venk" "$work/sheet.bin" "$work/out.venk"
  time_once sheet4 "$venk" "$work/sheet4.png" "$work/out.venk"
  time_once sheet8 "$venk" "$work/sheet8.png" "$work/out.venk"
  time_once blob_b "$venk" -b "$work/sheet.bin" "$work/out.venk"
  time_once sheet4_b "$venk" -b "$work/sheet4.png" "$work/out.venk"
  time_once picture "$venk" -d "$work/sheet.venk" "$work/out.png" --columns 128
  time_once blob_d "$venk" -d "$work/sheet.venk" "$work/out.bin"
  time_once map "$venk" "$work/sheet4.png" "$work/out.venk" --map "$work/out.map"
  time_once map_no_flip "$venk" "$work/sheet4.png" "$work/out.venk" --map "$work/out.map" --no-flip
done
blob=$(median_ms blob)
echo "Whole-process wall time in ms of venk on 16384 tiles (a 1024 x 1024 sheet), median of $runs runs."
echo
echo "| run | ms | / blob |"
echo "|---|---:|---:|"
echo "| venk sheet.bin (the blob) | $blob | 1.00× |"
echo "| venk sheet4.png (4-bit indexed, $(wc -c <"$work/sheet4.png") bytes) | $(median_ms sheet4) | $(ratio "$(median_ms sheet4)" "$blob") |"
echo "| venk sheet8.png (8-bit indexed, $(wc -c <"$work/sheet8.png") bytes) | $(median_ms sheet8) | $(ratio "$(median_ms sheet8)" "$blob") |"
echo "| venk -b sheet.bin | $(median_ms blob_b) | |"
echo "| venk -b sheet4.png | $(median_ms sheet4_b) | $(ratio "$(median_ms sheet4_b)" "$(median_ms blob_b)") of -b on the blob |"
echo "| venk -d sheet.venk sheet.bin | $(median_ms blob_d) | |"
echo "| venk -d sheet.venk sheet.png --columns 128 | $(median_ms picture) | $(ratio "$(median_ms picture)" "$(median_ms blob_d)") of -d |"
sheet4=$(median_ms sheet4)
echo "| venk sheet4.png --map sheet.map ($("$venk" -s "$work/sheet4.png" "$work/out.venk" --map "$work/out.map" | sed -n 's/.*: \(.* distinct tiles\).*/\1/p')) | $(median_ms map) | $(ratio "$(median_ms map)" "$sheet4") of sheet4.png |"
echo "| venk sheet4.png --map sheet.map --no-flip | $(median_ms map_no_flip) | $(ratio "$(median_ms map_no_flip)" "$sheet4") of sheet4.png |"
