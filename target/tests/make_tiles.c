/* SPDX-License-Identifier: 0BSD */
/*
 * Writes a blob of tiles for the decoder checks to standard output, the same
 * bytes for the same arguments on every machine.
 *
 *   make_tiles SEED TILES KIND
 *
 * KIND rows:   each half row from a few 2-byte values, so that many blocks
 *              are found straddling two stored ones;
 *      random: random bytes, up to dictionaries past 32 KiB;
 *      repeat: a few random tiles, repeated.
 */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static uint32_t state;

static uint32_t next(void) { /* xorshift32 */
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

int main(int argc, char **argv) {
    unsigned long tiles, tile;
    uint8_t halves[8][2], pool[8][32], out[32];
    unsigned i, palette;
    if (argc != 4) {
        fprintf(stderr, "usage: make_tiles SEED TILES rows|random|repeat\n");
        return 2;
    }
    state = (uint32_t)strtoul(argv[1], NULL, 10) * 2654435761u + 1;
    tiles = strtoul(argv[2], NULL, 10);
    palette = 2 + next() % 6;
    for (i = 0; i < 8 * 2; ++i) {
        halves[i / 2][i % 2] = (uint8_t)next();
    }
    for (i = 0; i < 8 * 32; ++i) {
        pool[i / 32][i % 32] = (uint8_t)next();
    }
    for (tile = 0; tile < tiles; ++tile) {
        for (i = 0; i < 32; i += 2) {
            if (strcmp(argv[3], "rows") == 0) {
                memcpy(&out[i], halves[next() % palette], 2);
            } else {
                out[i] = (uint8_t)next();
                out[i + 1] = (uint8_t)next();
            }
        }
        fwrite(strcmp(argv[3], "repeat") == 0 ? pool[next() % palette] : out, 1, 32, stdout);
    }
    return 0;
}
