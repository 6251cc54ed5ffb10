#!/usr/bin/env python3
# SPDX-License-Identifier: 0BSD
"""Runs the demo ROMs in BlastEm and compares their screens pixel for pixel
with the picture rendered here from the tile blob; then runs two spoilt
copies of the first ROM, which must not match: one with a byte of the
stream's dictionary changed, one with two quadrants of a tile swapped. The
background ROM, which venk --map made from background.py's art, is held to
that art, and a copy whose first map word names another tile must not be.

usage: check.py BUILD_DIR SAMPLE_BLOB [--screenshot PNG]"""
import argparse
import os
import sys

import emulator
import screen


def spoilt_map(rom, cells):
    """A copy of the background ROM whose first cell shows the next stored tile."""
    copy = bytearray(rom)
    copy[cells + 1] = (copy[cells + 1] + 1) & 0xFF
    return [('its first cell\'s tile changed', copy)]


def spoilt(rom, stream):
    """Copies of the ROM whose stream, at `stream`, shows other pixels."""
    dictionary = stream + 4
    entries = dictionary + int.from_bytes(rom[stream + 2:stream + 4], 'big')
    changed_byte = bytearray(rom)
    changed_byte[dictionary] ^= 0x11  # both pixels of the first block's first byte
    swapped = bytearray(rom)  # tile 0's top left and top right quadrants
    swapped[entries:entries + 4] = rom[entries + 2:entries + 4] + rom[entries:entries + 2]
    return [('a dictionary byte changed', changed_byte), ('two quadrants swapped', swapped)]


def describe(wrong, should_match):
    if not wrong:
        return 'every pixel as rendered from the blob' if should_match else 'the same picture: the comparison missed it'
    return '%d pixels differ%s' % (len(wrong), ', as they should' if not should_match else ', the first %s' % wrong[:3])


def main():
    arguments = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    arguments.add_argument('build')
    arguments.add_argument('sample')
    arguments.add_argument('--screenshot', help='where to save the first demo ROM\'s screen as PNG '
                           '(and the background ROM\'s beside it, NAME_background.png)')
    options = arguments.parse_args()
    with open(options.sample, 'rb') as blob_file:
        blob = blob_file.read()

    passed = failed = 0
    with emulator.Emulator() as blastem:
        for name in ('venk_demo_asm', 'venk_demo_c', 'venk_background'):
            elf, path = (os.path.join(options.build, name + suffix) for suffix in ('.elf', '.bin'))
            with open(path, 'rb') as rom_file:
                rom = rom_file.read()
            if name == 'venk_background':
                palette = screen.palette_of(rom, screen.symbol_address(elf, 'background_venk_palette'), 32)
                expected = screen.background_picture(blob, palette)
                changes = spoilt_map(rom, screen.symbol_address(elf, 'background_map'))
            else:
                expected = screen.demo_picture(blob, screen.palette_of(rom, screen.symbol_address(elf, 'palette')))
                changes = spoilt(rom, screen.symbol_address(elf, 'sample_tiles_venk'))
            runs = [(name, path, True)]
            if name != 'venk_demo_c':
                for change, copy in changes:
                    copy_path = os.path.join(options.build, '%s-spoilt-%d.bin' % (name, len(runs)))
                    with open(copy_path, 'wb') as out:
                        out.write(copy)
                    runs.append(('%s with %s' % (name, change), copy_path, False))
            for label, rom_path, should_match in runs:
                picture = blastem.capture(rom_path)
                wrong = screen.differences(picture, expected)
                print('%s: %s' % (label, describe(wrong, should_match)))
                if (not wrong) == should_match:
                    passed += 1
                else:
                    failed += 1
                if options.screenshot and label == 'venk_demo_asm':
                    screen.write_png(options.screenshot, picture)
                if options.screenshot and label == 'venk_background':
                    screen.write_png(options.screenshot.replace('.png', '_background.png'), picture)
    print('rom: %d passed, %d failed' % (passed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
