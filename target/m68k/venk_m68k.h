/* SPDX-License-Identifier: 0BSD */
/*
 * C declarations of the 68000 routines in venk_decode.s (GCC's m68k calling
 * convention, with or without -mshort). They trust the stream: check it once
 * with venk_check_stream (target/c). The stream and the tile buffer must
 * start at even addresses.
 */
#ifndef VENK_M68K_H
#define VENK_M68K_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Decodes tiles [first, first + count) into tiles, 32 bytes each. */
void venk_m68k_decode_tiles(const uint8_t *stream, unsigned long first, unsigned long count, uint8_t *tiles);

/* The same tiles, as 16 words each in the order of their bytes, all written to port. */
void venk_m68k_decode_tiles_to_port(const uint8_t *stream, unsigned long first, unsigned long count, volatile uint16_t *port);

#ifdef __cplusplus
}
#endif

#endif
