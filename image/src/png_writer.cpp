// Drawing tiles into an indexed PNG, which LodePNG encodes.
#include "decoded_png.hpp"

#include <lodepng.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>

namespace venk {
namespace image_detail {
namespace {

constexpr std::size_t TILE_SIZE = 32;
constexpr std::uint32_t MAX_COLUMNS = 65535;
constexpr std::size_t MAX_PALETTE_WORDS = PALETTE_LINE_COLOURS * PALETTE_MAX_LINES;
constexpr unsigned LODEPNG_ALLOCATION_FAILED = 83;

bool options_fit(std::size_t tile_count, const PictureOptions& options) {
    return options.columns >= 1 && options.columns <= MAX_COLUMNS && options.palette.size() <= MAX_PALETTE_WORDS &&
           (options.tile_lines.empty() || options.tile_lines.size() == tile_count) &&
           std::all_of(options.tile_lines.begin(), options.tile_lines.end(),
                       [](std::uint8_t line) { return line < PALETTE_MAX_LINES; });
}

// The picture's indices, one byte a pixel: the tiles in reading order,
// `columns` a row, and colour 0 after the last tile.
std::vector<std::uint8_t> draw_tiles(std::span<const std::uint8_t> tiles, const PictureOptions& options,
                                     std::size_t width, std::size_t height) {
    std::vector<std::uint8_t> pixels(width * height, 0);
    const std::size_t tile_count = tiles.size() / TILE_SIZE;
    for (std::size_t tile = 0; tile < tile_count; ++tile) {
        const unsigned line = options.tile_lines.empty() ? 0 : options.tile_lines[tile];
        const std::size_t left = tile % options.columns * 8;
        const std::size_t top = tile / options.columns * 8;
        for (std::size_t y = 0; y < 8; ++y) {
            for (std::size_t x = 0; x < 8; ++x) {
                const unsigned byte = tiles[tile * TILE_SIZE + y * 4 + x / 2];
                const unsigned colour = x % 2 == 0 ? byte >> 4 : byte & 15;
                pixels[(top + y) * width + left + x] = static_cast<std::uint8_t>(line << 4 | colour);
            }
        }
    }
    return pixels;
}

// Two pixels a byte, the left one in the high nibble, as a 4-bit PNG stores
// them (the width is a multiple of 8, so rows need no padding).
void pack_nibbles(std::vector<std::uint8_t>& pixels) {
    for (std::size_t pair = 0; pair < pixels.size() / 2; ++pair) {
        pixels[pair] = static_cast<std::uint8_t>(pixels[2 * pair] << 4 | pixels[2 * pair + 1]);
    }
    pixels.resize(pixels.size() / 2);
}

ImageResult encode(std::span<const std::uint8_t> tiles, std::vector<std::uint8_t>& png,
                   const PictureOptions& options) {
    const std::size_t tile_count = tiles.size() / TILE_SIZE;
    const std::size_t rows = (tile_count + options.columns - 1) / options.columns;
    const std::size_t width = std::size_t{options.columns} * 8;
    const std::size_t height = rows * 8;
    const unsigned highest_line =
        options.tile_lines.empty() ? 0 : *std::max_element(options.tile_lines.begin(), options.tile_lines.end());
    std::vector<std::uint8_t> pixels = draw_tiles(tiles, options, width, height);
    if (highest_line == 0) {
        pack_nibbles(pixels);
    }

    LodePNGState state;
    lodepng_state_init(&state);
    const std::unique_ptr<LodePNGState, void (*)(LodePNGState*)> cleanup(&state, lodepng_state_cleanup);
    // The same palette and depth for the pixels given and the file, so that
    // LodePNG stores the indices as they are.
    state.encoder.auto_convert = 0;
    for (LodePNGColorMode* mode : {&state.info_raw, &state.info_png.color}) {
        mode->colortype = LCT_PALETTE;
        mode->bitdepth = highest_line == 0 ? 4 : 8;
        for (std::size_t entry = 0; entry < (highest_line + 1) * PALETTE_LINE_COLOURS; ++entry) {
            std::uint8_t rgb[3];
            if (options.palette.empty()) {
                rgb[0] = rgb[1] = rgb[2] = static_cast<std::uint8_t>(entry % PALETTE_LINE_COLOURS * 17);
            } else {
                word_colour(entry < options.palette.size() ? options.palette[entry] : 0, rgb);
            }
            if (const unsigned failure = lodepng_palette_add(mode, rgb[0], rgb[1], rgb[2], 255)) {
                return failure == LODEPNG_ALLOCATION_FAILED ? IMAGE_OUT_OF_MEMORY : IMAGE_INVALID_OPTIONS;
            }
        }
    }
    unsigned char* encoded = nullptr;
    std::size_t encoded_size = 0;
    const unsigned failure = lodepng_encode(&encoded, &encoded_size, pixels.data(), static_cast<unsigned>(width),
                                            static_cast<unsigned>(height), &state);
    const std::unique_ptr<unsigned char, void (*)(void*)> owned(encoded, std::free);
    if (failure != 0) {
        // Every input was checked, so only memory can run out.
        return IMAGE_OUT_OF_MEMORY;
    }
    png.assign(encoded, encoded + encoded_size);
    return IMAGE_OK;
}

}  // namespace
}  // namespace image_detail

ImageResult write_png(std::span<const std::uint8_t> tiles, std::vector<std::uint8_t>& png,
                      const PictureOptions& options) {
    png.clear();
    if (tiles.empty() || tiles.size() % image_detail::TILE_SIZE != 0) {
        return IMAGE_BAD_TILES;
    }
    if (!image_detail::options_fit(tiles.size() / image_detail::TILE_SIZE, options)) {
        return IMAGE_INVALID_OPTIONS;
    }
    try {
        const ImageResult result = image_detail::encode(tiles, png, options);
        if (result != IMAGE_OK) {
            png.clear();
        }
        return result;
    } catch (const std::bad_alloc&) {
        png.clear();
        return IMAGE_OUT_OF_MEMORY;
    }
}

}  // namespace venk
