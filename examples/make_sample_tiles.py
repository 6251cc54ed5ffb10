#!/usr/bin/env python3
"""Generate examples/sample_tiles.bin, the demo input for venk.

The output is a headerless blob of 8x8 tiles at 4 bits per pixel (32 bytes
per tile, row r = bytes 4r..4r+3, high nibble = left pixel).  It contains:

  * a small hand-drawn 5x7 font in three colour styles (plain, shadowed, boxed),
  * a level tileset (sky gradient, clouds, bricks, grass, dirt, water frames,
    pipes, blocks, coins, checkers), with mirrored and half-sharing tiles,
  * a 32x12 tile "screen" built from that tileset, so many tiles repeat.

The output is fully deterministic.  Run with --preview to see some tiles
as ASCII art.
"""
import argparse
import os

# Font: 5x7 glyphs, rows separated by spaces, '#' = ink.
FONT = {
    '0': ".###. #...# #..## #.#.# ##..# #...# .###.", '1': "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.",
    '2': ".###. #...# ....# ...#. ..#.. .#... #####", '3': "##### ...#. ..#.. ...#. ....# #...# .###.",
    '4': "...#. ..##. .#.#. #..#. ##### ...#. ...#.", '5': "##### #.... ####. ....# ....# #...# .###.",
    '6': "..##. .#... #.... ####. #...# #...# .###.", '7': "##### ....# ...#. ..#.. .#... .#... .#...",
    '8': ".###. #...# #...# .###. #...# #...# .###.", '9': ".###. #...# #...# .#### ....# ...#. .##..",
    'A': ".###. #...# #...# ##### #...# #...# #...#", 'B': "####. #...# #...# ####. #...# #...# ####.",
    'C': ".###. #...# #.... #.... #.... #...# .###.", 'D': "###.. #..#. #...# #...# #...# #..#. ###..",
    'E': "##### #.... #.... ####. #.... #.... #####", 'F': "##### #.... #.... ####. #.... #.... #....",
    'G': ".###. #...# #.... #.### #...# #...# .####", 'H': "#...# #...# #...# ##### #...# #...# #...#",
    'I': ".###. ..#.. ..#.. ..#.. ..#.. ..#.. .###.", 'J': "..### ...#. ...#. ...#. ...#. #..#. .##..",
    'K': "#...# #..#. #.#.. ##... #.#.. #..#. #...#", 'L': "#.... #.... #.... #.... #.... #.... #####",
    'M': "#...# ##.## #.#.# #.#.# #...# #...# #...#", 'N': "#...# #...# ##..# #.#.# #..## #...# #...#",
    'O': ".###. #...# #...# #...# #...# #...# .###.", 'P': "####. #...# #...# ####. #.... #.... #....",
    'Q': ".###. #...# #...# #...# #.#.# #..#. .##.#", 'R': "####. #...# #...# ####. #.#.. #..#. #...#",
    'S': ".#### #.... #.... .###. ....# ....# ####.", 'T': "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..",
    'U': "#...# #...# #...# #...# #...# #...# .###.", 'V': "#...# #...# #...# #...# #...# .#.#. ..#..",
    'W': "#...# #...# #...# #.#.# #.#.# #.#.# .#.#.", 'X': "#...# #...# .#.#. ..#.. .#.#. #...# #...#",
    'Y': "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..", 'Z': "##### ....# ...#. ..#.. .#... #.... #####",
    ' ': "..... ..... ..... ..... ..... ..... .....", '.': "..... ..... ..... ..... ..... .##.. .##..",
    ',': "..... ..... ..... ..... .##.. ..#.. .#...", '!': "..#.. ..#.. ..#.. ..#.. ..#.. ..... ..#..",
    '?': ".###. #...# ....# ...#. ..#.. ..... ..#..", '-': "..... ..... ..... ##### ..... ..... .....",
    ':': "..... .##.. .##.. ..... .##.. .##.. .....", "'": "..#.. ..#.. .#... ..... ..... ..... .....",
    '/': "....# ....# ...#. ..#.. .#... #.... #....", '(': "...#. ..#.. .#... .#... .#... ..#.. ...#.",
    ')': ".#... ..#.. ...#. ...#. ...#. ..#.. .#...",
}


def pattern(f):
    """Tile whose pixel (x, y) is f(x, y)."""
    return [[f(x, y) for x in range(8)] for y in range(8)]


def blank(c=0):
    return pattern(lambda x, y: c)


def mirror(t):
    return [row[::-1] for row in t]


def draw(rows, palette):
    """Hand-drawn tile: 8 strings of 8 chars, each char looked up in palette."""
    return [[palette[ch] for ch in row] for row in rows.split()]


def glyph(ch, fg, shadow=None, bg=0):
    t = blank(bg)
    rows = FONT[ch].split()
    for dx, dy, c in ([(1, 1, shadow)] if shadow is not None else []) + [(0, 0, fg)]:
        for y, row in enumerate(rows):
            for x, px in enumerate(row):
                if px == '#':
                    t[y + dy][x + 1 + dx] = c
    return t


def font_tiles():
    chars = list(FONT)
    plain = [glyph(c, 1) for c in chars]
    shadowed = [glyph(c, 15, shadow=8) for c in chars]
    boxed = [glyph(c, 14, bg=4) for c in chars]
    return plain + shadowed + boxed


BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def sky(level):
    """Ordered-dither blend from colour 2 (level 0) to colour 3 (level 8)."""
    return pattern(lambda x, y: 3 if BAYER[y % 4][x % 4] < level * 2 else 2)


def dirt():
    return pattern(lambda x, y: 9 if (x * 3 + y * 5) % 7 == 0 else 10)


def brick(c, hi, mortar=5):
    """Two courses of bricks, the lower one offset by half a brick."""
    def px(x, y):
        joint = 0 if y < 4 else 4
        if y in (0, 4) or x == joint:
            return mortar
        return hi if y in (1, 5) or x == joint + 1 else c
    return pattern(px)


def grass_top():
    t = dirt()
    blades = ".#..#.#. ####.### ######## 7#77#7##".split()
    for y, row in enumerate(blades):
        t[y] = [{'.': 2, '#': 11, '7': 9}[ch] for ch in row]
    return t


def water(frame, deep=6):
    t = blank(deep)
    for x in range(8):
        phase = (x + frame * 2) % 8
        t[0][x] = 3 if phase < 2 else 2
        t[1][x] = 15 if phase in (2, 3) else (7 if phase < 6 else deep)
        t[2][x] = 7 if phase in (4, 5) else deep
    return t


def outlined_block(fill, hi, lo):
    t = blank(fill)
    for i in range(8):
        t[0][i] = t[7][i] = t[i][0] = t[i][7] = 1
    for i in range(1, 7):
        t[1][i] = t[i][1] = hi
        t[6][i] = t[i][6] = lo
    t[1][1] = 15
    return t


HEX = {c: int(c, 16) for c in '0123456789ABCDEF'}
GRASS_L = "2222B2B2 222B2BBB 22BBBBBB 2B99B9BB BBAAA9AA BBAAAAAA BBAA9AAA BBAAAAA9"
PIPE = {'.': 2, 'o': 1, 'g': 11, 'h': 13, 'd': 12}
PIPE_CAP_L = "oooooooo ohhggggg ohhggggg ohhggggg ohhggggg ohhggggg ohhggggg oooooooo"
PIPE_BODY_L = "..oooooo ..ohhggg ..ohhggg ..ohhggg ..ohhggg ..ohhggg ..ohhggg ..ohhggg"
CLOUD = {'.': 2, 'o': 3, 'w': 15}
CLOUD_L = "........ .....ooo ...oowww ..owwwww .owwwwww owwwwwww owwwwwww .ooooooo"
CLOUD_M = "oooooooo wwwwwwww wwwwwwww wwwwwwww wwwwwwww wwwwwwww wwwwwwww oooooooo"
QBLOCK = {'o': 1, 'w': 15, 'y': 14, 'd': 9}
QBLOCK_ROWS = "oooooooo owwwwwwo owyoodyo owyyyodo owyyodyo owyyyyyo owyyodyo oooooooo"
COIN = {'.': 2, 'o': 1, 'y': 14, 'w': 15}
COIN_FRAMES = [
    "..oooo.. .oyyyyo. oywyyyyo oywyyyyo oywyyyyo oyyyyyyo .oyyyyo. ..oooo..",
    "...oo... ..oyyo.. ..owyo.. ..owyo.. ..owyo.. ..oyyo.. ..oyyo.. ...oo...",
    "...oo... ...oo... ...oo... ...oo... ...oo... ...oo... ...oo... ...oo...",
]


def level_tiles():
    """Named level tiles; the dict order is the order they appear in the blob."""
    t = {}
    for i in range(8):
        t['sky%d' % i] = sky(i)
    t['cloud_l'] = draw(CLOUD_L, CLOUD)
    t['cloud_m'] = draw(CLOUD_M, CLOUD)
    t['brick'] = brick(6, 7)
    t['brick_dark'] = brick(5, 6, mortar=1)
    t['dirt'] = dirt()
    t['grass'] = grass_top()
    t['grass_l'] = draw(GRASS_L, HEX)
    for f in range(4):
        t['water%d' % f] = water(f)
    t['deep'] = blank(6)
    t['pipe_cap_l'] = draw(PIPE_CAP_L, PIPE)
    t['pipe_l'] = draw(PIPE_BODY_L, PIPE)
    for name in ('cloud', 'grass', 'pipe_cap', 'pipe'):
        t[name + '_r'] = mirror(t[name + '_l'])
    t['block'] = outlined_block(12, 13, 11)
    t['block_q'] = draw(QBLOCK_ROWS, QBLOCK)
    t['block_used'] = outlined_block(9, 10, 5)
    for i, f in enumerate(COIN_FRAMES):
        t['coin%d' % i] = draw(f, COIN)
    t['coin3'] = mirror(t['coin1'])  # the spinning coin's far side
    t['checker1'] = pattern(lambda x, y: 12 if (x + y) & 1 else 4)
    t['checker4'] = pattern(lambda x, y: 15 if (x // 4 + y // 4) & 1 else 1)
    t['stripes'] = pattern(lambda x, y: 13 if (x + y) % 4 < 2 else 12)
    return t


def scene(t, font):
    """A 32x12 screen of tiles: sky, text, clouds, blocks, pipe, ground, water."""
    W, H = 32, 12
    grid = [[t['sky%d' % min(y, 7)] for x in range(W)] for y in range(H)]
    for i, ch in enumerate("SCORE 001250   WORLD 1-2"):
        grid[0][4 + i] = font[ch]
    for cx, cy, n in ((3, 2, 3), (19, 3, 2), (27, 1, 1)):
        grid[cy][cx] = t['cloud_l']
        for i in range(n):
            grid[cy][cx + 1 + i] = t['cloud_m']
        grid[cy][cx + 1 + n] = t['cloud_r']
    for x in range(8, 13):
        grid[5][x] = t['block_q'] if x % 2 == 0 else t['brick']
    grid[5][21] = t['block_used']
    for x in (9, 11):
        grid[4][x] = t['coin0']
    grid[6][24], grid[6][25] = t['pipe_cap_l'], t['pipe_cap_r']
    for y in (7, 8):
        grid[y][24], grid[y][25] = t['pipe_l'], t['pipe_r']
    for x in range(W):
        water_gap = 13 <= x <= 16
        grid[9][x] = t['water%d' % (x % 4)] if water_gap else t['grass']
        for y in (10, 11):
            grid[y][x] = t['deep'] if water_gap else (t['dirt'] if y == 10 else t['brick_dark'])
    grid[9][12], grid[9][17] = t['grass_r'], t['grass_l']
    grid[8][29] = grid[8][30] = t['block']
    grid[7][30] = t['block']
    return [tile for row in grid for tile in row]


def encode(tile):
    return bytes((row[x] << 4) | row[x + 1] for row in tile for x in range(0, 8, 2))


def decode(data):
    return [[(data[4 * y + x // 2] >> (4 - 4 * (x % 2))) & 15 for x in range(8)]
            for y in range(8)]


def quadrants(tile_bytes):
    """The four 8-byte blocks of a tile: 4 rows x 2 bytes each."""
    for q in range(4):
        base = (q // 2) * 16 + (q % 2) * 2
        yield bytes(tile_bytes[base + 4 * r + i] for r in range(4) for i in range(2))


def preview(blob, indices):
    chars = ".123456789ABCDEF"
    for start in range(0, len(indices), 8):
        group = [decode(blob[32 * i:32 * i + 32]) for i in indices[start:start + 8]]
        print("  ".join("#%-7d" % i for i in indices[start:start + 8]))
        for y in range(8):
            print("  ".join("".join(chars[p] for p in t[y]) for t in group))
        print()


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('-o', '--output', default=os.path.join(here, 'sample_tiles.bin'))
    ap.add_argument('--preview', nargs='*', type=int, metavar='TILE',
                    help='print tiles as ASCII art (default: a selection)')
    args = ap.parse_args()

    font = font_tiles()
    shadow_font = dict(zip(FONT, font[len(FONT):2 * len(FONT)]))
    level = level_tiles()
    tiles = font + list(level.values()) + scene(level, shadow_font)
    blob = b''.join(encode(t) for t in tiles)

    with open(args.output, 'wb') as f:
        f.write(blob)
    blocks = {q for i in range(0, len(blob), 32) for q in quadrants(blob[i:i + 32])}
    print("wrote %s: %d tiles, %d bytes, %d distinct quadrant blocks"
          % (args.output, len(tiles), len(blob), len(blocks)))

    if args.preview is not None:
        n = len(FONT)  # font tiles come first, in three styles of n glyphs
        default = [10, n + 10, 2 * n + 10, n + 39, n + 40] + \
            list(range(3 * n, 3 * n + len(level)))
        preview(blob, args.preview or default)


if __name__ == '__main__':
    main()
