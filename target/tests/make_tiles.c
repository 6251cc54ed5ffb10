/* SPDX-License-Identifier: 0BSD */
/*
 * make_tiles SEED TILES ROWS: writes TILES tiles to standard output, the
 * same bytes for the same arguments on every machine. Each half row (2
 * bytes) is one of ROWS values, or any value with ROWS 0: few values make
 * many blocks that straddle two stored ones, any value big dictionaries.
 */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char **argv) {
    uint32_t state, rows, halves;
    if (argc != 4) {
        fprintf(stderr, "usage: make_tiles SEED TILES ROWS\n");
        return 2;
    }
    state = (uint32_t)strtoul(argv[1], NULL, 10) * 2654435761u + 1;
    rows = (uint32_t)strtoul(argv[3], NULL, 10);
    for (halves = (uint32_t)strtoul(argv[2], NULL, 10) * 16; halves != 0; --halves) {
        uint32_t value;
        state ^= state << 13; /* xorshift32 */
        state ^= state >> 17;
        state ^= state << 5;
        /* the values of a small set are spread over all 16 bits */
        value = rows == 0 ? state : (state % rows + 1) * 40503u;
        putchar((int)(value >> 8 & 0xFF));
        putchar((int)(value & 0xFF));
    }
    return 0;
}
