#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/.

decompress/: the hand-made streams of tests/data/, valid and invalid.
roundtrip/: an options byte (bit 0: VENK15, bit 1: fold bytes into four
values) followed by a blob: the worked example tiles and a few generated ones.
png/: a sprite-cell byte followed by a small PNG: indexed of 1, 4 and 8 bits
(tiles in several palette lines) and grey of 2 bits, one with a text chunk.
"""
import pathlib
import random
import shutil
import struct
import zlib

HERE = pathlib.Path(__file__).resolve().parent
DATA = HERE.parent / "tests" / "data"
QUADRANTS = [
    [0, 1, 4, 5, 8, 9, 12, 13],
    [2, 3, 6, 7, 10, 11, 14, 15],
    [16, 17, 20, 21, 24, 25, 28, 29],
    [18, 19, 22, 23, 26, 27, 30, 31],
]


def tile_from_blocks(blocks):
    tile = bytearray(32)
    for positions, block in zip(QUADRANTS, blocks):
        for position, value in zip(positions, block):
            tile[position] = value
    return bytes(tile)


def generated_blobs():
    rng = random.Random(4)
    palette = [bytes(rng.randrange(256) for _ in range(8)) for _ in range(6)]
    reused = b"".join(tile_from_blocks(rng.choice(palette) for _ in range(4)) for _ in range(24))
    noise = bytes(rng.randrange(256) for _ in range(32 * 16))
    gradient = bytes((i * 7 // 5) % 23 for i in range(32 * 40))
    return {"reused_blocks": reused, "noise": noise, "gradient": gradient}


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, colour_type, depth, pixel, palette_entries=0, text=False):
    rows = b""
    for y in range(height):
        bits = "".join(format(pixel(x, y), f"0{depth}b") for x in range(width))
        rows += b"\0" + int(bits, 2).to_bytes(len(bits) // 8, "big")
    header = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0)
    chunks = png_chunk(b"IHDR", header)
    if palette_entries:
        chunks += png_chunk(b"PLTE", bytes(c * 37 % 256 for c in range(3 * palette_entries)))
    if text:
        chunks += png_chunk(b"tEXt", b"Software\0a paint program")
    chunks += png_chunk(b"IDAT", zlib.compress(rows)) + png_chunk(b"IEND", b"")
    return b"\x89PNG\r\n\x1a\n" + chunks


def seed_images():
    return {
        "indexed4_0": bytes([0]) + png(16, 8, 3, 4, lambda x, y: (x + y) % 16, 16, text=True),
        "indexed1_1x2": bytes([4]) + png(8, 16, 3, 1, lambda x, y: (x ^ y) & 1, 2),
        "indexed8_2x1": bytes([1]) + png(16, 16, 3, 8, lambda x, y: (x // 8 + y // 8) % 4 * 16 + x % 16, 64),
        "grey2_0": bytes([0]) + png(8, 8, 0, 2, lambda x, y: (x * y) % 4),
    }


def write(directory, name, data):
    directory.mkdir(parents=True, exist_ok=True)
    (directory / name).write_bytes(data)


def main():
    decompress = HERE / "corpus" / "decompress"
    roundtrip = HERE / "corpus" / "roundtrip"
    decompress.mkdir(parents=True, exist_ok=True)
    for stream in sorted(DATA.glob("*.venk")):
        shutil.copyfile(stream, decompress / stream.name)
    blobs = {name.stem: name.read_bytes() for name in sorted(DATA.glob("*.bin")) if name.stat().st_size < 4096}
    blobs.update(generated_blobs())
    for name, blob in blobs.items():
        for options in (0, 1, 2):
            write(roundtrip, f"{name}_{options}", bytes([options]) + blob)
    for name, data in seed_images().items():
        write(HERE / "corpus" / "png", name, data)


if __name__ == "__main__":
    main()
