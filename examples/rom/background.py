#!/usr/bin/env python3
# SPDX-License-Identifier: 0BSD
"""The background screen's art: a 320 x 224 indexed PNG, as an artist would
save it, drawn from the sample's tiles with repeats, mirrored copies and two
palette lines, for `venk --map` to take apart again.

The screen (40 x 28 cells): the sample's 32 x 12 scene in rows 0-11,
columns 4-35, in line 0; below it, in rows 12-23, the same scene mirrored
left to right, in line 1; in rows 24-27, the font, every other glyph upside
down, in lines 0 and 1 by bands of 8 columns; and beside the scenes,
columns 0-3 and 36-39, the scene's first four columns, each cell turned
another way, in the line of its row's parity. Line 0 is the demo's
palette, line 1 the same colours at night (red and blue swapped, dimmer).

usage: background.py SAMPLE_BLOB OUT_PNG"""
import struct
import sys
import zlib

COLUMNS, ROWS = 40, 28
SCENE_FIRST, SCENE_COLUMNS, SCENE_ROWS = 177, 32, 12  # the sample's last 384 tiles
FONT_TILES = 160

# The demo's 16 colours (startup.s) as 3-bit levels of red, green and blue.
DAY = [(3, 3, 4), (0, 0, 0), (3, 5, 7), (5, 6, 7), (5, 1, 1), (4, 4, 4), (2, 3, 6), (4, 5, 7),
       (2, 2, 2), (3, 2, 1), (5, 3, 1), (1, 5, 1), (0, 3, 0), (4, 7, 3), (7, 6, 0), (7, 7, 7)]
NIGHT = [(max(b - 1, 0), max(g - 1, 0), r) for r, g, b in DAY]
LEVELS = DAY + NIGHT  # the palette's 32 entries, as 3-bit levels


def cell(column, row):
    """The cell's (tile of the blob, turn, palette line); turn bit 0 mirrors
    left to right, bit 1 upside down."""
    if 4 <= column < 36 and row < 2 * SCENE_ROWS:
        mirrored = row >= SCENE_ROWS
        scene_column = 35 - column if mirrored else column - 4
        return SCENE_FIRST + row % SCENE_ROWS * SCENE_COLUMNS + scene_column, int(mirrored), int(mirrored)
    if row >= 2 * SCENE_ROWS:
        return (row - 24) * COLUMNS + column, 2 * ((row + column) % 2), column // 8 % 2
    return SCENE_FIRST + row % SCENE_ROWS * SCENE_COLUMNS + column % 4, (row + column) % 4, row % 2


def indices(blob):
    """The picture as rows of palette indices: line * 16 + colour."""
    picture = [[0] * (COLUMNS * 8) for _ in range(ROWS * 8)]
    for row in range(ROWS):
        for column in range(COLUMNS):
            tile, turn, line = cell(column, row)
            data = blob[tile * 32:tile * 32 + 32]
            for y in range(8):
                source_y = 7 - y if turn & 2 else y
                for x in range(8):
                    source_x = 7 - x if turn & 1 else x
                    byte = data[source_y * 4 + source_x // 2]
                    colour = byte >> 4 if source_x % 2 == 0 else byte & 15
                    picture[row * 8 + y][column * 8 + x] = line * 16 + colour
    return picture


def write_png(path, picture):
    """An 8-bit indexed PNG; each level v becomes the byte v * 36, whose top three bits are v."""
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    header = struct.pack('>IIBBBBB', len(picture[0]), len(picture), 8, 3, 0, 0, 0)
    palette = bytes(level * 36 for entry in LEVELS for level in entry)
    raw = b''.join(b'\0' + bytes(row) for row in picture)
    with open(path, 'wb') as out:
        out.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'PLTE', palette)
                  + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.split('\n\n')[-1])
    with open(sys.argv[1], 'rb') as blob_file:
        write_png(sys.argv[2], indices(blob_file.read()))


if __name__ == '__main__':
    main()
