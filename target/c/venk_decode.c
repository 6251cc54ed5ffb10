/* SPDX-License-Identifier: 0BSD */
/* VENK decoder in freestanding C99: see venk_decode.h for the contract. */
#include "venk_decode.h"

#define HEADER_SIZE 4u
#define BLOCK_SIZE 8u
#define ENTRY_SIZE 8u
#define TILE_SIZE 32u
#define ROWS 8u

/* Every shift is done in unsigned arithmetic: with a 16-bit int, a byte
   shifted into the high half of a signed int would overflow. */
static uint16_t load_be16(const uint8_t *bytes) {
    return (uint16_t)(((unsigned)bytes[0] << 8) | bytes[1]);
}

static const uint8_t *dictionary_of(const uint8_t *stream) {
    return stream + HEADER_SIZE;
}

static const uint8_t *entry_of(const uint8_t *stream, unsigned long tile) {
    return dictionary_of(stream) + load_be16(stream + 2) + tile * ENTRY_SIZE;
}

/* The dictionary bytes of a tile's four quadrants, in map order. */
static void find_blocks(const uint8_t *dictionary, const uint8_t *entry, const uint8_t *blocks[4]) {
    unsigned quadrant;
    for (quadrant = 0; quadrant < 4; ++quadrant) {
        blocks[quadrant] = dictionary + load_be16(entry + quadrant * 2);
    }
}

/* Row r of a tile is row r % 4 of the left and then the right quadrant of
   its half: quadrants 0 and 1 for rows 0 to 3, 2 and 3 for rows 4 to 7. */
static const uint8_t *left_of_row(const uint8_t *const blocks[4], unsigned row) {
    return blocks[(row / 4) * 2] + (row % 4) * 2;
}

static const uint8_t *right_of_row(const uint8_t *const blocks[4], unsigned row) {
    return blocks[(row / 4) * 2 + 1] + (row % 4) * 2;
}

long venk_check_stream(const uint8_t *stream, unsigned long length, unsigned long variant) {
    unsigned long dictionary_size;
    unsigned long map_size;
    unsigned long position;
    if (variant != VENK_VARIANT_16 && variant != VENK_VARIANT_15) {
        return VENK_ERROR_VARIANT;
    }
    if (length < HEADER_SIZE) {
        return VENK_ERROR_NO_HEADER;
    }
    dictionary_size = load_be16(stream + 2);
    if (dictionary_size % 2 != 0 || dictionary_size < BLOCK_SIZE ||
        (variant == VENK_VARIANT_15 && dictionary_size > 0x7FFFu)) {
        return VENK_ERROR_DICTIONARY_SIZE;
    }
    if (length - HEADER_SIZE < dictionary_size) {
        return VENK_ERROR_NO_DICTIONARY;
    }
    /* Problems are reported in stream order: a bad offset before a cut
       entry is the one venk -d stops at. */
    map_size = length - HEADER_SIZE - dictionary_size;
    for (position = 0; position < map_size - map_size % ENTRY_SIZE; position += 2) {
        const uint16_t offset = load_be16(dictionary_of(stream) + dictionary_size + position);
        if (offset % 2 != 0 || offset > dictionary_size - BLOCK_SIZE) {
            return VENK_ERROR_OFFSET;
        }
    }
    if (map_size % ENTRY_SIZE != 0) {
        return VENK_ERROR_PARTIAL_ENTRY;
    }
    return (long)(map_size / ENTRY_SIZE);
}

void venk_decode_tiles(const uint8_t *stream, unsigned long first, unsigned long count, uint8_t *tiles) {
    const uint8_t *entry = entry_of(stream, first);
    const uint8_t *blocks[4];
    unsigned row;
    for (; count != 0; --count, entry += ENTRY_SIZE, tiles += TILE_SIZE) {
        find_blocks(dictionary_of(stream), entry, blocks);
        for (row = 0; row < ROWS; ++row) {
            const uint8_t *left = left_of_row(blocks, row);
            const uint8_t *right = right_of_row(blocks, row);
            tiles[row * 4] = left[0];
            tiles[row * 4 + 1] = left[1];
            tiles[row * 4 + 2] = right[0];
            tiles[row * 4 + 3] = right[1];
        }
    }
}

void venk_decode_tiles_to_port(const uint8_t *stream, unsigned long first, unsigned long count, volatile uint16_t *port) {
    const uint8_t *entry = entry_of(stream, first);
    const uint8_t *blocks[4];
    unsigned row;
    for (; count != 0; --count, entry += ENTRY_SIZE) {
        find_blocks(dictionary_of(stream), entry, blocks);
        for (row = 0; row < ROWS; ++row) {
            *port = load_be16(left_of_row(blocks, row));
            *port = load_be16(right_of_row(blocks, row));
        }
    }
}
