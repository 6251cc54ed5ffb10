// Any bytes as a PNG: the first byte picks the sprite cell (bits 0-1 its
// width - 1, bits 2-3 its height - 1), the rest is the file. The reader must
// answer with a code and never crash; what it reads must be whole tiles with
// a line each and a palette of the lines used, the C interface must give the
// same, and a picture of the tiles must read back the same. Its tile map
// must draw every cell from a stored tile, turned as its bits say.
#include "fuzz_check.hpp"

#include <venk/image.h>
#include <venk/image.hpp>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

unsigned colour_at(const std::uint8_t* tile, unsigned x, unsigned y) {
    return x % 2 == 0 ? tile[y * 4 + x / 2] >> 4 : tile[y * 4 + x / 2] & 15U;
}

void check_tile_map(const venk::TileImage& image) {
    venk::TileMap map;
    const venk::ImageResult result = venk::make_tile_map(image, map);
    FUZZ_CHECK(result == venk::IMAGE_OK || result == venk::IMAGE_TOO_MANY_DISTINCT_TILES);
    if (result != venk::IMAGE_OK) {
        FUZZ_CHECK(map.cells.empty() && map.tiles.empty());
        return;
    }
    FUZZ_CHECK(map.cells.size() == image.tile_lines.size() && map.tiles.size() % 32 == 0);
    for (std::size_t i = 0; i < map.cells.size(); ++i) {
        const unsigned word = map.cells[i], index = word & 0x7FF;
        FUZZ_CHECK(word >> 13 == image.tile_lines[i] && index < map.tiles.size() / 32);
        for (unsigned y = 0; y < 8; ++y) {
            for (unsigned x = 0; x < 8; ++x) {
                FUZZ_CHECK(colour_at(&image.tiles[i * 32], x, y) ==
                           colour_at(&map.tiles[index * 32], word & 0x800 ? 7 - x : x, word & 0x1000 ? 7 - y : y));
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    venk::ImageOptions options;
    options.cell_width = static_cast<std::uint8_t>((data[0] & 3) + 1);
    options.cell_height = static_cast<std::uint8_t>((data[0] >> 2 & 3) + 1);
    const std::span<const std::uint8_t> png(data + 1, size - 1);

    venk::TileImage image;
    venk::ImageError error;
    const venk::ImageResult result = venk::read_png(png, image, options, &error);
    FUZZ_CHECK(result <= venk::IMAGE_OUT_OF_MEMORY && result != venk::IMAGE_BAD_TILES);

    std::vector<std::uint8_t> c_tiles(venk_image_tiles_bound(png.data(), png.size()));
    std::uint16_t c_palette[VENK_IMAGE_PALETTE_MAX];
    std::size_t c_tiles_size = 0;
    std::size_t c_palette_size = 0;
    FUZZ_CHECK(venk_image_read_png(png.data(), png.size(), options.cell_width, options.cell_height, c_tiles.data(),
                                   c_tiles.size(), &c_tiles_size, c_palette, VENK_IMAGE_PALETTE_MAX, &c_palette_size,
                                   nullptr) == result);
    FUZZ_CHECK(std::equal(image.tiles.begin(), image.tiles.end(), c_tiles.begin(), c_tiles.begin() +
                          static_cast<std::ptrdiff_t>(c_tiles_size)));
    FUZZ_CHECK(std::equal(image.palette.begin(), image.palette.end(), c_palette, c_palette + c_palette_size));
    if (result != venk::IMAGE_OK) {
        FUZZ_CHECK(image.tiles.empty() && image.palette.empty());
        return 0;
    }

    const std::size_t tiles = std::size_t{image.width / 8} * (image.height / 8);
    FUZZ_CHECK(tiles >= 1 && tiles <= venk::IMAGE_MAX_TILES);
    FUZZ_CHECK(image.tiles.size() == 32 * tiles && image.tile_lines.size() == tiles);
    const std::uint8_t highest = *std::max_element(image.tile_lines.begin(), image.tile_lines.end());
    FUZZ_CHECK(highest < venk::PALETTE_MAX_LINES && image.palette.size() == 16 * (highest + std::size_t{1}));

    if (options.cell_width == 1 && options.cell_height == 1) {
        std::vector<std::uint8_t> picture;
        FUZZ_CHECK(venk::write_png(image.tiles, picture, {image.width / 8, image.palette, image.tile_lines}) ==
                   venk::IMAGE_OK);
        venk::TileImage again;
        FUZZ_CHECK(venk::read_png(picture, again) == venk::IMAGE_OK);
        FUZZ_CHECK(again.tiles == image.tiles && again.tile_lines == image.tile_lines &&
                   again.palette == image.palette);
        check_tile_map(image);
    }
    return 0;
}
