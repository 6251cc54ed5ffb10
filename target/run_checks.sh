#!/usr/bin/env bash
# SPDX-License-Identifier: 0BSD
#
# The target decoders and the big-endian build, checked under
# qemu-m68k-static:
# 1. the C decoder (built with a 32-bit and a 16-bit int) and the 68000
#    routines against every golden stream and a few hundred streams made by
#    the host tool, every tile compared with what the host tool decoded (the
#    C decoder also natively, under the sanitizers);
# 2. the tool, the library and their tests cross-built for m68k, the test
#    suite run under the emulator (the m68k preset);
# 3. the m68k venk on the bundled sample in both directions, giving the same
#    bytes as the host build.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

packages=(cmake make gcc g++ googletest gcc-m68k-linux-gnu g++-m68k-linux-gnu binutils-m68k-linux-gnu
          qemu-user-static)
.ci/install_missing.sh "${packages[@]}"
.ci/fetch_lodepng.sh

qemu=(qemu-m68k-static -L /usr/m68k-linux-gnu)
m68k_cc=(m68k-linux-gnu-gcc -std=c99 -pedantic -Wall -Wextra -Werror -O2 -m68000)
host=build/venk
work=build-m68k/target-checks
rm -rf "$work"
mkdir -p "$work/streams"

echo "== host tool"
[[ -f build/CMakeCache.txt ]] || cmake --preset demo >/dev/null
cmake --build --preset demo

echo "== the decoders build without the C library"
m68k-linux-gnu-gcc -std=c99 -pedantic -Wall -Wextra -Wconversion -Werror -O2 -m68000 -ffreestanding \
  -c target/c/venk_decode.c -o "$work/venk_decode.o"
# GCC 12 crashes on this file with -mshort at -O1, -O2 and -Os unless -fno-ivopts.
m68k-linux-gnu-gcc -std=c99 -pedantic -Wall -Wextra -Wconversion -Werror -O2 -fno-ivopts -m68000 -mshort \
  -ffreestanding -c target/c/venk_decode.c -o "$work/venk_decode_short.o"
m68k-linux-gnu-as -m68000 target/m68k/venk_decode.s -o "$work/venk_m68k.o"
# Games often assemble with these options, under which | is an operator, not
# a comment: the routines give the same object, and the demo ROM's sources
# assemble too.
for source in target/m68k/venk_decode.s examples/rom/*.s; do
  m68k-linux-gnu-as -m68000 --register-prefix-optional --bitwise-or -I examples/rom "$source" -o "$work/mode.o"
  [[ $source != */venk_decode.s ]] || cmp "$work/venk_m68k.o" "$work/mode.o"
done
for object in venk_decode.o venk_decode_short.o venk_m68k.o; do
  if [[ -n $(m68k-linux-gnu-nm -u "$work/$object") ]]; then
    echo "$object calls out: $(m68k-linux-gnu-nm -u "$work/$object" | tr '\n' ' ')" >&2
    exit 1
  fi
done
size=$(m68k-linux-gnu-size -A "$work/venk_m68k.o" | awk '$1 == ".text" { print $2 }')
echo "   68000 routines: $size bytes of code"
grep -q "Code size: $size bytes" target/m68k/venk_decode.s || {
  echo "target/m68k/venk_decode.s states another code size than the $size bytes measured" >&2
  exit 1
}

echo "== streams made by the host tool"
cc -std=c99 -O2 -o "$work/make_tiles" target/tests/make_tiles.c
table="$work/streams/streams.tsv"
printf 'file\tvariant\tresult\texpected\n' >"$table"
levels=(-c)
# The optimal layout makes other streams from the same tiles.
"$host" -h | grep -q -- --best && levels+=(-b)
refused=0
for seed in $(seq 1 120); do
  case $((seed % 3)) in
    0) rows=$((seed % 7 + 2)) tiles=$((seed * 7 % 300 + 1)) ;;
    1) rows=0 tiles=$((seed * 37 % 1300 + 1)) ;;  # VENK16 dictionaries past 32 KiB
    2) rows=$((seed % 40 + 10)) tiles=$((seed % 60 + 1)) ;;
  esac
  "$work/make_tiles" "$seed" "$tiles" "$rows" >"$work/streams/$seed.bin"
  for variant in 16 15; do
    for level in "${levels[@]}"; do
      stream="$seed$level-$variant.venk"
      if ! "$host" "$level" "-$variant" "$work/streams/$seed.bin" "$work/streams/$stream" 2>/dev/null; then
        refused=$((refused + 1))  # too many blocks for the variant
        continue
      fi
      "$host" -d "-$variant" "$work/streams/$stream" "$work/streams/$stream.bin"
      printf '%s\t%s\tRESULT_OK\t%s\n' "$stream" "$variant" "$stream.bin" >>"$table"
    done
  done
done
echo "   $(($(wc -l <"$table") - 1)) streams ($refused inputs too big for their variant)"

echo "== C decoder natively, under AddressSanitizer and UndefinedBehaviorSanitizer"
cc -std=c99 -pedantic -Wall -Wextra -Werror -O1 -g -fsanitize=address,undefined -fno-sanitize-recover=all \
  target/tests/decode_check.c target/c/venk_decode.c -o "$work/decode_check_host"
"$work/decode_check_host" tests/data/golden.tsv "$table"

echo "== C decoder and 68000 routines under qemu-m68k-static"
"${m68k_cc[@]}" -DVENK_CHECK_M68K_ASM target/tests/decode_check.c target/tests/port_recorder.c \
  "$work/venk_decode.o" "$work/venk_m68k.o" -o "$work/decode_check"
"${qemu[@]}" "$work/decode_check" tests/data/golden.tsv "$table"
echo "== C decoder with a 16-bit int (-mshort) under qemu-m68k-static, streams up to 32767 bytes"
# GCC with -mshort adds to pointers in 16 signed bits, so no object there may
# be longer than 32767 bytes.
"${m68k_cc[@]}" target/tests/decode_check.c target/tests/port_recorder.c "$work/venk_decode_short.o" \
  -o "$work/decode_check_short"
"${qemu[@]}" "$work/decode_check_short" -s 32767 tests/data/golden.tsv "$table"

echo "== the tool, library and tests for m68k, tests under qemu-m68k-static"
cmake --workflow --preset m68k

echo "== m68k venk against the host build on the bundled sample"
for variant in 16 15; do
  for level in "${levels[@]}"; do
    packed="sample$level.venk$variant"
    "$host" "$level" "-$variant" examples/sample_tiles.bin "$work/host-$packed"
    "${qemu[@]}" build-m68k/venk "$level" "-$variant" examples/sample_tiles.bin "$work/m68k-$packed"
    cmp "$work/host-$packed" "$work/m68k-$packed"
    "${qemu[@]}" build-m68k/venk -d "-$variant" "$work/host-$packed" "$work/m68k-$packed.bin"
    cmp examples/sample_tiles.bin "$work/m68k-$packed.bin"
    echo "   venk $level -$variant: same stream, same tiles back"
  done
done

echo "== m68k checks done in $((SECONDS - started)) s"
