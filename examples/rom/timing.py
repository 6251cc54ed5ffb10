#!/usr/bin/env python3
# SPDX-License-Identifier: 0BSD
"""Runs the timing ROM in BlastEm, as an NTSC and as a PAL console, reads
its results off the screen and prints the decoders' cycles per tile and
tiles per frame.

usage: timing.py BUILD_DIR SAMPLE_BLOB

The ROM (timing.s) times each decoder on a few and on many tiles, in three
conditions: display off; display on, during vertical blanking; display on,
during the picture, when the video chip takes writes to its port only in
the few access slots it leaves free. A call's time in 68000 cycles is
measured in frames and spins (see timing.s): a frame lasts 262 (NTSC) or
313 (PAL) lines of 3420 / 7 cycles. Cycles per tile are the difference of
the two calls' times over the difference of their tile counts, so the
cost of a call drops out; that cost is the rest.

Tiles per frame are derived from them: the cycles a frame offers, less the
cost of one call, over the cycles per tile. During vertical blanking it
offers the time from the vertical interrupt to the first line of the
picture, which the ROM measures too (with 28 rows; with 30 rows, a PAL
picture has 16 lines more, so blanking 16 fewer); with the display off, all
its 262 or 313 lines."""
import argparse
import os
import sys
from fractions import Fraction

import emulator
import screen

LINE = Fraction(3420, 7)  # 68000 cycles a line: 3420 master clocks, the 68000 at a seventh of them
FRAME_LINES = {'NTSC': 262, 'PAL': 313}
REGION_FLAG = {'NTSC': 'U', 'PAL': 'E'}
COUNTED = 282  # the 68000 loop's cycles a tile, counted from the instruction times

DISPLAY_OFF, VBLANK, ACTIVE = 1, 2, 3
CONDITIONS = {DISPLAY_OFF: 'display off', VBLANK: 'vertical blanking', ACTIVE: 'during the picture'}
CALIBRATE, STUB, WAIT_PICTURE = 0, 1, 6
DECODERS = {2: '68000 routine, to the port', 3: '68000 routine, to RAM',
            4: 'C decoder, to the port', 5: 'C decoder, to RAM'}


def read_results(picture, blob, palette):
    """The ROM's words, 4 to a result: the digit tiles are the sample's tiles 0 to 15."""
    glyphs = {tuple(palette[p] for p in screen.tile_pixels(blob, digit)): '%X' % digit for digit in range(16)}
    glyphs[tuple([palette[0]] * 64)] = ' '
    rows = screen.read_cells(picture, glyphs)
    if any(cell is None for row in rows for cell in row):
        raise ValueError('the screen shows something other than digits')
    words = [int(word, 16) for row in rows for word in ''.join(row).split()]
    if not words or len(words) % 4:
        raise ValueError('%d words on the screen, not results of four' % len(words))
    return [(word >> 8, word & 255, count, frames, spins) for word, count, frames, spins in zip(*[iter(words)] * 4)]


def analyse(results, region):
    """Cycles per tile and per call for each decoder and condition, and the
    window checks; returns ({(condition, decoder): (per tile, per call)}, problems, blanking time)."""
    frame = FRAME_LINES[region] * LINE
    calibration = {condition: Fraction(count) * frame / spins
                   for condition, routine, count, _, spins in results if routine == CALIBRATE}
    stub = {condition: (frames, spins) for condition, routine, _, frames, spins in results if routine == STUB}

    def time(condition, frames, spins):  # cycles more than a call of the empty routine
        spin = calibration[min(condition, VBLANK)]
        return (frames - stub[condition][0]) * frame - (spins - stub[condition][1]) * spin

    blanking = next(time(c, f, s) for c, r, _, f, s in results if r == WAIT_PICTURE)
    runs, problems = {}, []
    for condition, routine, count, frames, spins in results:
        if routine in DECODERS:
            runs.setdefault((condition, routine), []).append((count, time(condition, frames, spins)))
            if condition == VBLANK and runs[condition, routine][-1][1] > blanking:
                problems.append('%s: %d tiles outlast vertical blanking' % (DECODERS[routine], count))
            if condition == ACTIVE and frames != stub[condition][0]:
                problems.append('%s: %d tiles outlast the picture' % (DECODERS[routine], count))
    figures = {}
    for key, ((few, few_time), (many, many_time)) in runs.items():
        per_tile = (many_time - few_time) / (many - few)
        figures[key] = (per_tile, few_time - few * per_tile)
    return figures, problems, blanking


def tiles_per_frame(cycles, per_tile, per_call):
    return int((cycles - per_call) // per_tile)


def report(measured, version):
    ntsc, _, ntsc_blanking = measured['NTSC']
    pal, _, pal_blanking = measured['PAL']
    print('Measured in %s, 40 cells wide, 28 rows.\n' % version)
    print('Cycles per tile (68000 clock; NTSC run, the PAL run in brackets where it differs by 0.1 or more), '
          'and per call:\n')
    print('| decoder | counted | %s | per call |' % ' | '.join(CONDITIONS.values()))
    print('|---|---:|---:|---:|---:|---:|')
    for routine, name in DECODERS.items():
        cells = []
        for condition in CONDITIONS:
            here, there = ntsc[condition, routine][0], pal[condition, routine][0]
            cells.append('%.1f' % here + (' (%.1f)' % there if abs(here - there) >= Fraction(1, 10) else ''))
        counted = COUNTED if routine in (2, 3) else '–'
        print('| %s | %s | %s | %.0f |' % (name, counted, ' | '.join(cells), ntsc[DISPLAY_OFF, routine][1]))
    print('\nVertical blanking measured from its interrupt to the first line of the picture: '
          '%.1f lines (NTSC), %.1f lines (PAL), 28 rows.\n' % (ntsc_blanking / LINE, pal_blanking / LINE))
    print('Tiles per frame, from those figures:\n')
    columns = [('NTSC', 28, ntsc_blanking), ('PAL', 28, pal_blanking), ('PAL', 30, pal_blanking - 16 * LINE)]
    print('| decoder | %s | NTSC display off | PAL display off |' % ' | '.join(
        '%s blanking, %d rows' % (region, rows) for region, rows, _ in columns))
    print('|---|---:|---:|---:|---:|---:|')
    for routine, name in DECODERS.items():
        cells = [tiles_per_frame(cycles, *measured[region][0][VBLANK, routine]) for region, _, cycles in columns]
        cells += [tiles_per_frame(FRAME_LINES[region] * LINE, *measured[region][0][DISPLAY_OFF, routine])
                  for region in ('NTSC', 'PAL')]
        print('| %s | %s |' % (name, ' | '.join(str(cell) for cell in cells)))


def main():
    arguments = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    arguments.add_argument('build')
    arguments.add_argument('sample')
    options = arguments.parse_args()
    with open(options.sample, 'rb') as blob_file:
        blob = blob_file.read()
    rom_path = os.path.join(options.build, 'venk_timing.bin')
    with open(rom_path, 'rb') as rom_file:
        palette = screen.palette_of(rom_file.read(),
                                    screen.symbol_address(os.path.join(options.build, 'venk_timing.elf'), 'palette'))
    measured, problems = {}, []
    with emulator.Emulator() as blastem:
        for region in FRAME_LINES:
            results = read_results(blastem.capture(rom_path, REGION_FLAG[region]), blob, palette)
            measured[region] = analyse(results, region)
            problems += ['%s: %s' % (region, problem) for problem in measured[region][1]]
    report(measured, emulator.version())
    for problem in problems:
        print('timing.py: ' + problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
