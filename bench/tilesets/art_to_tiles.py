#!/usr/bin/env python3
"""Convert console fonts and PNG tile sheets into a blob of 4bpp tiles.

A blob is a headerless run of 32-byte tiles: 8x8 pixels, 4 bytes per row,
the high nibble holding the left pixel.  Only the standard library is used,
so the benchmark data can be rebuilt on any machine with Python 3.

  art_to_tiles.py psf OUT FONT...    PSF1/PSF2 fonts (may be gzipped)
  art_to_tiles.py png OUT SHEET...   PNG sheets, one palette per sheet

It prints the tile count and the inputs it used, separated by a tab.

Every glyph or sheet is padded with index 0 to a multiple of 8 pixels and cut
into 8x8 tiles in row-major order; inputs are taken in the order given.  With
--max-tiles N the blob stops before the first input that would pass N tiles
(a first input alone larger than N is cut at N), so a cap never depends on
anything but the list of inputs.
"""

import argparse
import gzip
import struct
import sys
import zlib

TILE = 8
INK = 15  # colour index of a set font pixel; a clear one is 0


def tiles_from_pixels(pixels, width, height):
    """Cut a row-major list of colour indices (0..15) into 8x8 4bpp tiles."""
    out = bytearray()
    rows = [pixels[y * width:(y + 1) * width] for y in range(height)]
    padded_width = -(-width // TILE) * TILE
    blank = [0] * padded_width
    rows = [r + [0] * (padded_width - width) for r in rows]
    while len(rows) % TILE:
        rows.append(blank)
    for top in range(0, len(rows), TILE):
        for left in range(0, padded_width, TILE):
            for row in rows[top:top + TILE]:
                p = row[left:left + TILE]
                out += bytes((p[i] << 4) | p[i + 1] for i in range(0, TILE, 2))
    return bytes(out)


# ---- console fonts ---------------------------------------------------------

def read_psf(data):
    """Return (width, height, glyph bitmaps) of a PSF1 or PSF2 font."""
    if data[:2] == b"\x1f\x8b":
        data = gzip.decompress(data)
    if data[:2] == b"\x36\x04":
        mode, height = data[2], data[3]
        count = 512 if mode & 1 else 256
        return 8, height, [data[4 + i * height:4 + (i + 1) * height] for i in range(count)]
    if data[:4] == b"\x72\xb5\x4a\x86":
        _, header, _, count, size, height, width = struct.unpack("<7I", data[4:32])
        return width, height, [data[header + i * size:header + (i + 1) * size] for i in range(count)]
    raise ValueError("not a PSF1 or PSF2 font")


def font_tiles(data):
    width, height, glyphs = read_psf(data)
    stride = (width + 7) // 8
    out = bytearray()
    for glyph in glyphs:
        pixels = []
        for y in range(height):
            row = int.from_bytes(glyph[y * stride:(y + 1) * stride], "big")
            shift = stride * 8 - 1
            pixels += [INK if row >> (shift - x) & 1 else 0 for x in range(width)]
        out += tiles_from_pixels(pixels, width, height)
    return bytes(out)


# ---- PNG sheets --------------------------------------------------------------

CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}  # colour type -> samples per pixel


class Unsupported(Exception):
    pass


def unfilter(raw, height, row_bytes, bpp):
    """Undo the per-row PNG filters; returns the list of plain rows."""
    rows = []
    prev = bytearray(row_bytes)
    pos = 0
    for _ in range(height):
        kind = raw[pos]
        line = bytearray(raw[pos + 1:pos + 1 + row_bytes])
        pos += 1 + row_bytes
        if kind == 1:
            for i in range(bpp, row_bytes):
                line[i] = (line[i] + line[i - bpp]) & 255
        elif kind == 2:
            line = bytearray((a + b) & 255 for a, b in zip(line, prev))
        elif kind == 3:
            for i in range(row_bytes):
                left = line[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + ((left + prev[i]) >> 1)) & 255
        elif kind == 4:
            for i in range(row_bytes):
                a = line[i - bpp] if i >= bpp else 0
                b = prev[i]
                c = prev[i - bpp] if i >= bpp else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
        elif kind != 0:
            raise ValueError("bad PNG filter type %d" % kind)
        rows.append(line)
        prev = line
    return rows


def read_png(data):
    """Return (width, height, list of RGBA tuples) of a non-interlaced PNG."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, idat, palette, trns = 8, [], [], b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"tRNS":
            trns = body
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    if interlace or ctype not in CHANNELS or depth not in ((1, 2, 4, 8) if ctype == 3 else (8,)):
        raise Unsupported("colour type %d, depth %d, interlace %d" % (ctype, depth, interlace))
    samples = CHANNELS[ctype]
    row_bytes = (width * samples * depth + 7) // 8
    rows = unfilter(zlib.decompress(b"".join(idat)), height, row_bytes, max(1, samples * depth // 8))
    pixels = []
    if ctype == 3:
        colours = [c + (trns[i] if i < len(trns) else 255,) for i, c in enumerate(palette)]
        per_byte, mask = 8 // depth, (1 << depth) - 1
        for row in rows:
            idx = [b >> (8 - depth * (k + 1)) & mask for b in row for k in range(per_byte)][:width]
            pixels += [colours[i] for i in idx]
        return width, height, pixels
    key = None
    if trns and ctype in (0, 2):
        key = tuple(trns[i + 1] for i in range(0, len(trns), 2))  # 16-bit samples, depth 8
    for row in rows:
        for x in range(0, width * samples, samples):
            s = tuple(row[x:x + samples])
            if ctype == 0:
                rgba = (s[0], s[0], s[0], 0 if key == s else 255)
            elif ctype == 4:
                rgba = (s[0], s[0], s[0], s[1])
            elif ctype == 2:
                rgba = s + (0 if key == s else 255,)
            else:
                rgba = s
            pixels.append(rgba)
    return width, height, pixels


def reduce_to_16(pixels):
    """Map RGBA pixels to indices 0..15 with one palette for the whole sheet.

    Fully transparent pixels become 0.  The 15 most frequent other colours
    (ties broken by colour value) take 1..15 in that order; every other colour
    goes to the nearest of them (squared RGBA distance, lowest index on a tie).
    """
    counts = {}
    for p in pixels:
        if p[3]:
            counts[p] = counts.get(p, 0) + 1
    ranked = sorted(counts, key=lambda c: (-counts[c], c))[:15]
    index = {c: i + 1 for i, c in enumerate(ranked)}
    for c in counts:
        if c not in index:
            index[c] = min(range(len(ranked)),
                           key=lambda i: (sum((a - b) ** 2 for a, b in zip(c, ranked[i])), i)) + 1
    return [index[p] if p[3] else 0 for p in pixels]


def sheet_tiles(data):
    width, height, pixels = read_png(data)
    return tiles_from_pixels(reduce_to_16(pixels), width, height)


# ---- driver -------------------------------------------------------------------

def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("kind", choices=("psf", "png"))
    parser.add_argument("out")
    parser.add_argument("inputs", nargs="+")
    parser.add_argument("--max-tiles", type=int, default=65535)
    args = parser.parse_args(argv)
    convert = font_tiles if args.kind == "psf" else sheet_tiles
    limit = args.max_tiles * 32
    blob = bytearray()
    used = []
    for name in args.inputs:
        with open(name, "rb") as f:
            try:
                tiles = convert(f.read())
            except Unsupported as why:
                print("skipped %s: %s" % (name, why), file=sys.stderr)
                continue
        if len(blob) + len(tiles) > limit:
            if not blob:
                blob += tiles[:limit]
                used.append(name)
            break
        blob += tiles
        used.append(name)
    with open(args.out, "wb") as f:
        f.write(blob)
    print(len(blob) // 32, ",".join(used), sep="\t")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
