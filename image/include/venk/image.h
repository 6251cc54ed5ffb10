/* venk image: PNG to tiles and the console's palette, from C and from any
 * language that calls C. The same library as venk/image.hpp, with the same
 * results; C99, and it compiles as C++ too. Every call works on the
 * caller's memory, allocates nothing the caller must free, keeps no state and
 * lets no exception out.
 *
 *     size_t capacity = venk_image_tiles_bound(png, png_size), tiles_size, colours;
 *     uint8_t *tiles = malloc(capacity);
 *     uint16_t palette[VENK_IMAGE_PALETTE_MAX];
 *     venk_image_error error;
 *     int result = venk_image_read_png(png, png_size, 1, 1, tiles, capacity, &tiles_size,
 *                                      palette, VENK_IMAGE_PALETTE_MAX, &colours, &error);
 */
#ifndef VENK_IMAGE_H
#define VENK_IMAGE_H

#include <venk/image_export.hpp>

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The results, with the values and meanings of venk::ImageResult. */
enum {
    VENK_IMAGE_OK = 0,
    VENK_IMAGE_CORRUPT = 1,
    VENK_IMAGE_NOT_INDEXED = 2,
    VENK_IMAGE_BAD_SIZE = 3,
    VENK_IMAGE_TOO_MANY_TILES = 4,
    VENK_IMAGE_MIXED_LINES = 5,
    VENK_IMAGE_INDEX_PAST_PALETTE = 6,
    VENK_IMAGE_BAD_TILES = 7,
    VENK_IMAGE_OUT_OF_MEMORY = 8,
    VENK_IMAGE_INVALID_OPTIONS = 9,
    VENK_IMAGE_BUFFER_TOO_SMALL = 10 /* C only: a buffer has less room than the result needs */
};

/* The most palette words an image gives: 4 lines of 16. */
#define VENK_IMAGE_PALETTE_MAX 64

/* The details of venk::ImageError; fields that do not apply are 0. */
typedef struct venk_image_error {
    uint32_t result;
    uint32_t colour_type, bit_depth;
    uint32_t lines[2];
    uint32_t x, y;
    uint32_t width, height;
    uint64_t tiles;
} venk_image_error;

/* The bytes of tiles that reading this PNG gives when it succeeds: 32 a
 * tile of its declared size (it reads only the header); 0 when the header
 * is unreadable or declares more than 65535 tiles. */
VENK_IMAGE_API size_t venk_image_tiles_bound(const uint8_t *png, size_t png_size);

/* Reads the PNG as venk::read_png does, with a sprite cell of cell_width x
 * cell_height tiles (1 x 1: reading order). The tiles go to `tiles`, which
 * has room for tiles_capacity bytes, and their length to *tiles_size; the
 * palette's words to `palette` (room for palette_capacity words;
 * VENK_IMAGE_PALETTE_MAX is always enough) and their count to
 * *palette_size. `palette` may be NULL when palette_capacity is 0 and the
 * palette is not wanted. With `error`, the details are stored there. On
 * failure the sizes are 0 and the buffers' contents undefined; a buffer too
 * small gives VENK_IMAGE_BUFFER_TOO_SMALL. */
VENK_IMAGE_API int venk_image_read_png(const uint8_t *png, size_t png_size, unsigned cell_width,
                                       unsigned cell_height, uint8_t *tiles, size_t tiles_capacity,
                                       size_t *tiles_size, uint16_t *palette, size_t palette_capacity,
                                       size_t *palette_size, venk_image_error *error);

/* The text of venk::image_result_message (and one for
 * VENK_IMAGE_BUFFER_TOO_SMALL): static, never freed. */
VENK_IMAGE_API const char *venk_image_result_message(int result);

#ifdef __cplusplus
}
#endif

#endif
