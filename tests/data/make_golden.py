#!/usr/bin/env python3
"""Writes the hand-made golden VENK streams used by tests/golden_test.cpp.

Every stream below is spelled out byte by byte so it can be checked by hand:
  word 0  tile count N (big-endian, informational only)
  word 1  dictionary size D (big-endian)
  D bytes of dictionary
  8-byte tile map entries: four big-endian offsets, quadrants 0,1,2,3
Quadrant blocks are 8 bytes = 4 rows x 2 bytes. Tile rows 0-3 are
q0[2r..2r+1] q1[2r..2r+1]; rows 4-7 are q2[..] q3[..].
Expected tiles (.bin) are written as 8 rows of 4 bytes.

Run from anywhere: python3 tests/data/make_golden.py
It rewrites NAME.venk / NAME.bin next to this file; golden.tsv is kept by hand.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def h(text):
    """Hex bytes separated by spaces, '/' or '|' (separators are for reading only)."""
    return bytes.fromhex(text.replace("/", " ").replace("|", " "))


def sparse(size, patches):
    """Dictionary of `size` zero bytes with hex `patches` placed at given offsets."""
    d = bytearray(size)
    for off, text in patches.items():
        b = h(text)
        d[off:off + len(b)] = b
    return bytes(d)


# Second, mechanical view of a tile (used only to cross-check the hand-written
# expectations below, so a typo in either one is caught).
def tile_from(dictionary, entry):
    offs = [int.from_bytes(entry[i:i + 2], "big") for i in range(0, 8, 2)]
    q = [dictionary[o:o + 8] for o in offs]
    out = bytearray()
    for r in range(8):
        left, right = (q[0], q[1]) if r < 4 else (q[2], q[3])
        k = 2 * (r % 4)
        out += left[k:k + 2] + right[k:k + 2]
    return bytes(out)


DICT16 = h("11 11 22 22 33 33 44 44 | 55 55 66 66 77 77 88 88")
STRADDLE_TILE = h("11 11 55 55 / 22 22 66 66 / 33 33 77 77 / 44 44 88 88 /"
                  "33 33 22 22 / 44 44 33 33 / 55 55 44 44 / 66 66 55 55")
DICT18 = h("00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11")

# name -> (stream bytes, expected blob or None when the stream must be rejected)
GOLDEN = {
    # N=1 D=8, dictionary of 8 zeros, one entry with all quadrants at 0.
    "zero_tile": (
        h("00 01 00 08") + h("00 00 00 00 00 00 00 00") + h("0000 0000 0000 0000"),
        bytes(32)),
    # N=1 D=16; q0 at 0, q1 at 8, q2 at 4 and q3 at 2 straddle both stored blocks.
    "straddle": (
        h("00 01 00 10") + DICT16 + h("0000 0008 0004 0002"),
        STRADDLE_TILE),
    # Same tile twice: N=2, same dictionary, same entry twice.
    "straddle_twice": (
        h("00 02 00 10") + DICT16 + h("0000 0008 0004 0002") + h("0000 0008 0004 0002"),
        STRADDLE_TILE * 2),
    # D=10 (not a multiple of 8): only offsets 0 and 2 are valid.
    "d10_offsets_0_2": (
        h("00 01 00 0A") + h("00 01 02 03 04 05 06 07 08 09") + h("0000 0002 0002 0000"),
        h("00 01 02 03 / 02 03 04 05 / 04 05 06 07 / 06 07 08 09 /"
          "02 03 00 01 / 04 05 02 03 / 06 07 04 05 / 08 09 06 07")),
    # Header says 5 tiles, 2 entries follow: the entries decide.
    "count5_entries2": (
        h("00 05 00 10") + DICT16 + h("0008 0000 0002 0004") + h("0006 0006 0000 0008"),
        h("55 55 11 11 / 66 66 22 22 / 77 77 33 33 / 88 88 44 44 /"
          "22 22 33 33 / 33 33 44 44 / 44 44 55 55 / 55 55 66 66") +
        h("44 44 44 44 / 55 55 55 55 / 66 66 66 66 / 77 77 77 77 /"
          "11 11 55 55 / 22 22 66 66 / 33 33 77 77 / 44 44 88 88")),
    # Header says 1 tile, 3 entries follow: 3 tiles.
    "count1_entries3": (
        h("00 01 00 10") + DICT16 + h("0000 0000 0000 0000") + h("0002 0004 0006 0008")
        + h("0008 0008 0008 0000"),
        h("11 11 11 11 / 22 22 22 22 / 33 33 33 33 / 44 44 44 44 /"
          "11 11 11 11 / 22 22 22 22 / 33 33 33 33 / 44 44 44 44") +
        h("22 22 33 33 / 33 33 44 44 / 44 44 55 55 / 55 55 66 66 /"
          "44 44 55 55 / 55 55 66 66 / 66 66 77 77 / 77 77 88 88") +
        h("55 55 55 55 / 66 66 66 66 / 77 77 77 77 / 88 88 88 88 /"
          "55 55 11 11 / 66 66 22 22 / 77 77 33 33 / 88 88 44 44")),
    # Header count 1, valid dictionary, then the input ends: no tiles, success.
    "no_entries": (
        h("00 01 00 08") + h("01 02 03 04 05 06 07 08"),
        b""),
    # Nothing at all.
    "empty": (b"", None),
    # Ends inside the dictionary size word.
    "three_bytes": (h("00 01 00"), None),
    # D=6 is below one block; its 6 bytes follow and no entry, so nothing but
    # the size check can reject it.
    "d6": (h("00 01 00 06") + h("01 02 03 04 05 06"), None),
    # D=9 is odd; 9 dictionary bytes and an entry of offset 0 follow anyway.
    "d9_odd": (h("00 01 00 09") + h("01 02 03 04 05 06 07 08 09") + h("0000 0000 0000 0000"),
               None),
    # D=0: no dictionary, then one zero entry; offset 0 is not <= D-8 (no
    # wrap-around of D-8 to a huge limit).
    "d0": (h("00 01 00 00") + h("0000 0000 0000 0000"), None),
    # D=16 announced, only 15 dictionary bytes present.
    "dict_short": (h("00 01 00 10") + h("11 11 22 22 33 33 44 44 55 55 66 66 77 77 88"), None),
    # D=18, D-8 = 0x0A: offset 0x0A reaches exactly the last dictionary byte.
    "offset_d_minus_8": (
        h("00 01 00 12") + DICT18 + h("000A 0000 0008 000A"),
        h("0A 0B 00 01 / 0C 0D 02 03 / 0E 0F 04 05 / 10 11 06 07 /"
          "08 09 0A 0B / 0A 0B 0C 0D / 0C 0D 0E 0F / 0E 0F 10 11")),
    # D=18, quadrant 3 at D-6 = 0x0C would read two bytes past the end.
    "offset_d_minus_6": (h("00 01 00 12") + DICT18 + h("0000 0002 0004 000C"), None),
    # D=16, quadrant 1 at odd offset 3 (in range, but odd).
    "odd_offset": (h("00 01 00 10") + DICT16 + h("0000 0003 0004 0006"), None),
    # One good entry, then an entry cut after 5 bytes.
    "truncated_entry": (
        h("00 02 00 10") + DICT16 + h("0000 0008 0004 0002") + h("0000 0008 00"), None),
    # Two good entries, then quadrant 2 at 0x8000 (far above D-8 = 8).
    "bad_after_good": (
        h("00 03 00 10") + DICT16 + h("0000 0008 0004 0002") + h("0000 0000 0000 0000")
        + h("0000 0008 8000 0002"),
        None),
    # D=0x8000: too big for VENK15, fine for VENK16. Dictionary is zero except
    # 01..08 at 0, 41..48 at 0x4000 and F1..F8 at 0x7FF8 (= D-8).
    # q3 at 0x7FF4 = four zeros then F1 F2 F3 F4.
    "d32768": (
        h("00 01 80 00")
        + sparse(0x8000, {0x0000: "01 02 03 04 05 06 07 08",
                          0x4000: "41 42 43 44 45 46 47 48",
                          0x7FF8: "F1 F2 F3 F4 F5 F6 F7 F8"})
        + h("0000 4000 7FF8 7FF4"),
        h("01 02 41 42 / 03 04 43 44 / 05 06 45 46 / 07 08 47 48 /"
          "F1 F2 00 00 / F3 F4 00 00 / F5 F6 F1 F2 / F7 F8 F3 F4")),
    # D=0x7FFE, the largest dictionary VENK15 accepts. Zero except 01..08 at 0
    # and E1..E8 at 0x7FF6 (= D-8); q3 at 0x7FF2 = four zeros then E1..E4.
    "d32766": (
        h("00 01 7F FE")
        + sparse(0x7FFE, {0x0000: "01 02 03 04 05 06 07 08",
                          0x7FF6: "E1 E2 E3 E4 E5 E6 E7 E8"})
        + h("7FF6 0000 7FF6 7FF2"),
        h("E1 E2 01 02 / E3 E4 03 04 / E5 E6 05 06 / E7 E8 07 08 /"
          "E1 E2 00 00 / E3 E4 00 00 / E5 E6 E1 E2 / E7 E8 E3 E4")),
    # D=0xFFFE, the largest dictionary VENK16 accepts. Zero except 01..08 at 0
    # and C1..C8 at 0xFFF6 (= D-8); q2 at 0xFFF2 = four zeros then C1..C4.
    "d65534": (
        h("00 01 FF FE")
        + sparse(0xFFFE, {0x0000: "01 02 03 04 05 06 07 08",
                          0xFFF6: "C1 C2 C3 C4 C5 C6 C7 C8"})
        + h("0000 FFF6 FFF2 0000"),
        h("01 02 C1 C2 / 03 04 C3 C4 / 05 06 C5 C6 / 07 08 C7 C8 /"
          "00 00 01 02 / 00 00 03 04 / C1 C2 05 06 / C3 C4 07 08")),
    # D=0xFFFF, the largest size word, is odd; 8 bytes and a zero entry follow.
    "d65535_odd": (h("00 01 FF FF") + h("01 02 03 04 05 06 07 08") + h("0000 0000 0000 0000"), None),
}


def check(name, stream, blob):
    """Cross-check a hand-written expectation against the mechanical view."""
    d = int.from_bytes(stream[2:4], "big")
    entries = stream[4 + d:]
    assert len(entries) % 8 == 0, name
    got = b"".join(tile_from(stream[4:4 + d], entries[i:i + 8])
                   for i in range(0, len(entries), 8))
    assert got == blob, f"{name}: hand-written tiles disagree with the entries"


def main():
    for name, (stream, blob) in GOLDEN.items():
        with open(os.path.join(HERE, name + ".venk"), "wb") as f:
            f.write(stream)
        if blob is not None:
            check(name, stream, blob)
            with open(os.path.join(HERE, name + ".bin"), "wb") as f:
                f.write(blob)
    print(f"wrote {len(GOLDEN)} streams to {HERE}", file=sys.stderr)


if __name__ == "__main__":
    main()
