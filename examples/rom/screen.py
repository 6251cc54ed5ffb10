# SPDX-License-Identifier: 0BSD
"""Pictures of the console's screen: the one the demo ROM should show,
rendered on the host from the tile blob, and captures of the emulator's
window (X window dumps), compared pixel for pixel."""
import struct
import subprocess
import zlib

import background

WIDTH, HEIGHT = 320, 224  # 40 x 28 cells of 8 x 8 pixels
# The emulator's eight levels of a 3-bit colour channel, as its window shows them.
LEVELS = (0, 49, 87, 119, 146, 174, 206, 255)

# The demo's layout (demo.s): the sheet, 40 tiles to a row from the top
# left, then the 32 x 12 scene from row 6, column 4.
SHEET_TILES, SHEET_COLUMNS = 177, 40
SCENE_COLUMNS, SCENE_ROW, SCENE_COLUMN = 32, 6, 4


def symbol_address(elf, name, prefix='m68k-linux-gnu-'):
    """The address of a symbol of the ROM's ELF file: the ROM starts at 0,
    so it is the symbol's offset in the ROM image too."""
    out = subprocess.run([prefix + 'nm', elf], check=True, capture_output=True, text=True).stdout
    for line in out.splitlines():
        fields = line.split()
        if len(fields) == 3 and fields[2] == name:
            return int(fields[0], 16)
    raise KeyError('%s has no symbol %s' % (elf, name))


def palette_of(rom, offset, colours=16):
    """The colours of the palette as the ROM loads them (0000BBB0GGG0RRR0 words), as RGB."""
    words = struct.unpack('>%dH' % colours, rom[offset:offset + 2 * colours])
    return [(LEVELS[(w >> 1) & 7], LEVELS[(w >> 5) & 7], LEVELS[(w >> 9) & 7]) for w in words]


def tile_pixels(blob, index):
    """The 64 colour indices of a tile, row by row; the high nibble is the left pixel."""
    data = blob[index * 32:index * 32 + 32]
    return [(byte >> shift) & 15 for byte in data for shift in (4, 0)]


def blank_picture(colour):
    return [[colour] * WIDTH for _ in range(HEIGHT)]


def draw_tile(picture, blob, index, column, row, palette):
    pixels = tile_pixels(blob, index)
    for y in range(8):
        picture[row * 8 + y][column * 8:column * 8 + 8] = [palette[p] for p in pixels[y * 8:y * 8 + 8]]


def demo_picture(blob, palette):
    """What the demo shows: colour 0 of a tile is transparent and shows the
    background colour, which is colour 0 of the palette as well."""
    picture = blank_picture(palette[0])
    for index in range(len(blob) // 32):
        if index < SHEET_TILES:
            column, row = index % SHEET_COLUMNS, index // SHEET_COLUMNS
        else:
            scene = index - SHEET_TILES
            column, row = SCENE_COLUMN + scene % SCENE_COLUMNS, SCENE_ROW + scene // SCENE_COLUMNS
        draw_tile(picture, blob, index, column, row, palette)
    return picture


def background_picture(blob, palette):
    """What the background demo shows: the art of background.py, whose
    pixels are line * 16 + colour, in the ROM's palette; colour 0 of any
    line is transparent and shows the background colour, colour 0 of line 0."""
    return [[palette[index] if index % 16 else palette[0] for index in row] for row in background.indices(blob)]


def xwd_layout(dump):
    """The fields of an X window dump's header that place its pixels."""
    (header_size, version, pixmap_format, _depth, width, height, _x, byte_order, _unit, _bit_order, _pad,
     bits_per_pixel, bytes_per_line, _class, red_mask, green_mask, blue_mask, _bits, _entries,
     colours) = struct.unpack('>20I', dump[:80])
    if version != 7 or pixmap_format != 2 or bits_per_pixel != 32:
        raise ValueError('not a 32-bit ZPixmap X window dump')
    return header_size + colours * 12, width, height, bytes_per_line, byte_order, (red_mask, green_mask, blue_mask)


def xwd_pixels(dump):
    """The pixel bytes of an X window dump (its colour map may change from one dump to the next)."""
    return dump[xwd_layout(dump)[0]:]


def read_xwd(dump):
    """An X window dump (xwd, 32 bits a pixel, either byte order) as rows of RGB."""
    start, width, height, bytes_per_line, byte_order, masks = xwd_layout(dump)
    shifts = [(mask & -mask).bit_length() - 1 for mask in masks]
    order = '<' if byte_order == 0 else '>'
    rows = []
    for y in range(height):
        line = dump[start + y * bytes_per_line:start + y * bytes_per_line + width * 4]
        rows.append([tuple((value & mask) >> shift for mask, shift in zip(masks, shifts))
                     for value in struct.unpack('%s%dI' % (order, width), line)])
    return rows


def differences(picture, expected):
    """The pixels (x, y, got, expected) where two pictures differ; a size difference is one entry."""
    if (len(picture), len(picture[0])) != (len(expected), len(expected[0])):
        return [('size', '%dx%d' % (len(picture[0]), len(picture)), '%dx%d' % (len(expected[0]), len(expected)))]
    return [(x, y, got, want) for y, (row, wanted) in enumerate(zip(picture, expected))
            for x, (got, want) in enumerate(zip(row, wanted)) if got != want]


def read_cells(picture, glyphs):
    """Reads the screen cell by cell: rows of the values of `glyphs` (a dict
    of 64-pixel tuples), None for a cell that is none of them."""
    return [[glyphs.get(tuple(picture[row * 8 + y][column * 8 + x] for y in range(8) for x in range(8)))
             for column in range(len(picture[0]) // 8)] for row in range(len(picture) // 8)]


def write_png(path, picture):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    raw = b''.join(b'\0' + bytes(channel for pixel in row for channel in pixel) for row in picture)
    header = struct.pack('>IIBBBBB', len(picture[0]), len(picture), 8, 2, 0, 0, 0)
    with open(path, 'wb') as out:
        out.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9))
                  + chunk(b'IEND', b''))
