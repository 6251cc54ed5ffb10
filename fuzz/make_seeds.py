#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/.

decompress/: the hand-made streams of tests/data/, valid and invalid.
roundtrip/: an options byte (bit 0: VENK15, bit 1: fold bytes into four
values) followed by a blob: the worked example tiles and a few generated ones.
"""
import pathlib
import random
import shutil

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


if __name__ == "__main__":
    main()
