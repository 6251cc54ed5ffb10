#!/usr/bin/env python3
"""Print the number of distinct 8-byte quadrant blocks in each blob given.

A tile's four quadrants (top left, top right, bottom left, bottom right) are
each 4 rows of 2 bytes; the default compressor stores each distinct one once,
so this count tells how far a set is from the VENK15 (4095) and VENK16 (8191)
block limits.
"""

import sys


def distinct_blocks(blob):
    blocks = set()
    for t in range(0, len(blob) - 31, 32):
        for top in (0, 16):
            for left in (0, 2):
                blocks.add(b"".join(blob[t + top + r * 4 + left:t + top + r * 4 + left + 2]
                                    for r in range(4)))
    return len(blocks)


if __name__ == "__main__":
    for name in sys.argv[1:]:
        with open(name, "rb") as f:
            print(distinct_blocks(f.read()))
