/* A C program that reads a PNG through the installed image library: an
 * 8x8 image of 2-bit indices 0, 1, 2, 0, 1, 2, 0, 1 in every row, with a red,
 * a green and a blue palette entry. Exits non-zero on any difference. */
#include <venk/image.h>

#include <stdio.h>
#include <string.h>

static const uint8_t png[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x08, 0x02, 0x03, 0x00, 0x00, 0x00, 0xb9, 0x61, 0x56,
    0x18, 0x00, 0x00, 0x00, 0x09, 0x50, 0x4c, 0x54, 0x45, 0xff, 0x00, 0x00, 0x00, 0xff, 0x00, 0x00,
    0x00, 0xff, 0x2d, 0x4a, 0xcd, 0x8a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda,
    0x63, 0x90, 0x48, 0x64, 0xc0, 0x86, 0x00, 0x2c, 0x54, 0x03, 0xc9, 0x61, 0xcd, 0x9c, 0x63, 0x00,
    0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

int main(void) {
    uint8_t tiles[32], expected_tiles[32];
    uint16_t palette[VENK_IMAGE_PALETTE_MAX];
    const uint16_t expected_palette[16] = {0x000E, 0x00E0, 0x0E00};
    size_t tiles_size = 0, palette_size = 0, row;
    int result;
    for (row = 0; row < 8; ++row) {
        memcpy(expected_tiles + 4 * row, "\x01\x20\x12\x01", 4);
    }
    if (venk_image_tiles_bound(png, sizeof png) != sizeof tiles) {
        fprintf(stderr, "image consumer: the bound is not one tile\n");
        return 1;
    }
    result = venk_image_read_png(png, sizeof png, 1, 1, tiles, sizeof tiles, &tiles_size, palette,
                                 VENK_IMAGE_PALETTE_MAX, &palette_size, NULL);
    if (result != VENK_IMAGE_OK || tiles_size != 32 || memcmp(tiles, expected_tiles, 32) != 0 ||
        palette_size != 16 || memcmp(palette, expected_palette, sizeof expected_palette) != 0) {
        fprintf(stderr, "image consumer: %s\n", venk_image_result_message(result));
        return 1;
    }
    puts("image consumer: one tile and its palette read");
    return 0;
}
