/* SPDX-License-Identifier: 0BSD */
/*
 * VENK decoder for the machine the tiles are for: freestanding C99, no
 * library calls, no allocation, no global state. Works with a 16- or 32-bit
 * int and on big- and little-endian CPUs; it reads the stream a byte at a
 * time, so the stream may sit at any address.
 *
 * A stream is a 4-byte header (tile count and dictionary size D, big-endian
 * 16-bit words), D bytes of dictionary, then one 8-byte map entry per tile:
 * four big-endian offsets into the dictionary, for the top left, top right,
 * bottom left and bottom right quadrant. A tile is 8 rows of 4 bytes;
 * quadrant q covers rows (q / 2) * 4 to + 3, bytes (q % 2) * 2 and + 1 of
 * each, and is copied from the 8 dictionary bytes at its offset, two per row.
 *
 * Use venk_check_stream once, in a build tool or a debug build, on every
 * stream the game carries. The decode functions trust the stream: they do no
 * checking at all, so on a stream that was not checked, or a tile range past
 * its end, they read and write out of bounds.
 *
 * Every argument is a pointer or a long (at least 32 bits), and so is the
 * result, so the calls are the same whatever the width of int: on m68k, code
 * built with and without -mshort may call each other. (Not uint32_t: GCC
 * with -mshort makes it 16 bits wide.) GCC with -mshort also adds to
 * pointers in 16 signed bits, so this file built that way handles streams
 * of up to 32767 bytes; GCC 12 needs -fno-ivopts to build it so.
 */
#ifndef VENK_DECODE_H
#define VENK_DECODE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The two variants, as the venk tool's -16 and -15 options. */
#define VENK_VARIANT_16 16uL
#define VENK_VARIANT_15 15uL

/* Results of venk_check_stream below zero: why the stream was rejected. */
#define VENK_ERROR_NO_HEADER (-1L)        /* shorter than the 4-byte header */
#define VENK_ERROR_DICTIONARY_SIZE (-2L)  /* D odd, below 8, or above the variant's largest */
#define VENK_ERROR_NO_DICTIONARY (-3L)    /* the stream ends inside the dictionary */
#define VENK_ERROR_PARTIAL_ENTRY (-4L)    /* the map is not a whole number of entries */
#define VENK_ERROR_OFFSET (-5L)           /* an offset is odd or above D - 8 */
#define VENK_ERROR_VARIANT (-6L)          /* variant is neither VENK_VARIANT_16 nor VENK_VARIANT_15 */

/*
 * Checks the whole stream of `length` bytes once, with every rule that
 * `venk -d` applies in this variant. Returns the number of tiles (the
 * number of map entries, which decides over the count in the header; it
 * may be 0) or a negative VENK_ERROR_ value.
 */
long venk_check_stream(const uint8_t *stream, unsigned long length, unsigned long variant);

/*
 * Decodes tiles [first, first + count) of a checked stream into `tiles`,
 * 32 bytes per tile. count may be 0. Trusts the stream and the range.
 */
void venk_decode_tiles(const uint8_t *stream, unsigned long first, unsigned long count, uint8_t *tiles);

/*
 * The same tiles written to a 16-bit data port, such as a video chip's:
 * each tile as 16 words, in the order of its bytes, every word to the same
 * address, the first byte of each pair in the word's high half. Trusts the
 * stream and the range.
 */
void venk_decode_tiles_to_port(const uint8_t *stream, unsigned long first, unsigned long count, volatile uint16_t *port);

#ifdef __cplusplus
}
#endif

#endif
