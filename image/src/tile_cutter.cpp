// From decoded pixels to tiles: the colour of a pixel is its index mod 16 (or
// its grey level), and in an 8-bit image index / 16 is its palette line.
#include "decoded_png.hpp"

#include <algorithm>
#include <array>

namespace venk::image_detail {
namespace {

constexpr std::size_t TILE_SIZE = 32;
constexpr std::uint32_t TILE_PIXELS = 8;
constexpr unsigned NO_LINE = 0xFF;

// The indices of the 8 pixels from pixel `left` of one row, which starts a
// byte since `left` is a multiple of 8.
void row_indices(const DecodedPng& decoded, std::uint32_t left, std::uint32_t y, std::uint8_t indices[TILE_PIXELS]) {
    const unsigned depth = decoded.bit_depth;
    const std::uint8_t* bytes = decoded.pixels.data() + std::size_t{y} * decoded.row_bytes() + std::size_t{left} * depth / 8;
    if (depth == 8) {
        std::copy_n(bytes, TILE_PIXELS, indices);
        return;
    }
    if (depth == 4) {
        for (unsigned x = 0; x < TILE_PIXELS; x += 2) {
            indices[x] = static_cast<std::uint8_t>(bytes[x / 2] >> 4);
            indices[x + 1] = static_cast<std::uint8_t>(bytes[x / 2] & 15U);
        }
        return;
    }
    // One or two bits a pixel: the 8 pixels are the high bits of one or two bytes onward.
    const unsigned bits = depth == 1 ? unsigned{bytes[0]} << 8 : unsigned{bytes[0]} << 8 | bytes[1];
    const unsigned mask = (1U << depth) - 1;
    for (unsigned x = 0; x < TILE_PIXELS; ++x) {
        indices[x] = static_cast<std::uint8_t>(bits >> (16 - depth * (x + 1)) & mask);
    }
}

// Finds the first pixel, in reading order, whose index has no palette entry.
bool find_index_past_palette(const DecodedPng& decoded, ImageError& error) {
    const std::size_t entries = decoded.palette_rgba.size() / 4;
    if (decoded.colour_type != PNG_INDEXED || entries >= (std::size_t{1} << decoded.bit_depth)) {
        return false;
    }
    // Every byte below the palette's size: no index of 8 bits past it.
    if (decoded.bit_depth == 8 && *std::max_element(decoded.pixels.begin(), decoded.pixels.end()) < entries) {
        return false;
    }
    std::uint8_t indices[TILE_PIXELS];
    for (std::uint32_t y = 0; y < decoded.height; ++y) {
        for (std::uint32_t left = 0; left < decoded.width; left += TILE_PIXELS) {
            row_indices(decoded, left, y, indices);
            for (std::uint32_t x = 0; x < TILE_PIXELS; ++x) {
                if (indices[x] >= entries) {
                    error.result = IMAGE_INDEX_PAST_PALETTE;
                    error.x = left + x;
                    error.y = y;
                    return true;
                }
            }
        }
    }
    return false;
}

// Writes the tile whose top-left pixel is (left, top) to `tile` and returns
// its line, or reports a tile that mixes two lines in `error`.
bool cut_tile(const DecodedPng& decoded, std::uint32_t left, std::uint32_t top, std::uint8_t* tile,
              std::uint8_t& tile_line, ImageError& error) {
    // Four bits a pixel, left one high: a row of the image is a row of tiles.
    if (decoded.bit_depth == 4) {
        for (std::uint32_t y = 0; y < TILE_PIXELS; ++y) {
            std::copy_n(decoded.pixels.data() + std::size_t{top + y} * decoded.row_bytes() + left / 2, 4, tile + y * 4);
        }
        tile_line = 0;
        return true;
    }
    unsigned line = NO_LINE;
    std::uint8_t indices[TILE_PIXELS];
    for (std::uint32_t y = 0; y < TILE_PIXELS; ++y) {
        row_indices(decoded, left, top + y, indices);
        for (std::uint32_t x = 0; x < TILE_PIXELS; ++x) {
            const unsigned colour = indices[x] & 15U;
            const unsigned pixel_line = indices[x] >> 4;  // 0 below 8 bits
            if (colour != 0 && pixel_line != line) {
                if (line != NO_LINE) {
                    error.result = IMAGE_MIXED_LINES;
                    error.x = left;
                    error.y = top;
                    error.lines[0] = static_cast<std::uint8_t>(std::min(line, pixel_line));
                    error.lines[1] = static_cast<std::uint8_t>(std::max(line, pixel_line));
                    return false;
                }
                line = pixel_line;
            }
        }
        for (std::uint32_t x = 0; x < TILE_PIXELS; x += 2) {
            tile[y * 4 + x / 2] = static_cast<std::uint8_t>((indices[x] & 15U) << 4 | (indices[x + 1] & 15U));
        }
    }
    tile_line = static_cast<std::uint8_t>(line == NO_LINE ? 0 : line);
    return true;
}

// The palette words of lines 0 to line_count - 1.
std::vector<std::uint16_t> palette_words(const DecodedPng& decoded, std::size_t line_count) {
    std::vector<std::uint16_t> words(line_count * PALETTE_LINE_COLOURS, 0);
    if (decoded.colour_type == PNG_GREY) {
        const unsigned top_level = (1U << decoded.bit_depth) - 1;
        for (unsigned level = 0; level <= top_level; ++level) {
            const unsigned intensity = level * 255 / top_level;
            words[level] = colour_word(intensity, intensity, intensity);
        }
        return words;
    }
    const std::size_t entries = std::min(words.size(), decoded.palette_rgba.size() / 4);
    for (std::size_t entry = 0; entry < entries; ++entry) {
        const std::uint8_t* rgba = &decoded.palette_rgba[entry * 4];
        words[entry] = colour_word(rgba[0], rgba[1], rgba[2]);
    }
    return words;
}

}  // namespace

ImageResult cut_tiles(const DecodedPng& decoded, const ImageOptions& options, TileImage& image, ImageError& error) {
    if (find_index_past_palette(decoded, error)) {
        return error.result;
    }
    const std::uint32_t tiles_wide = decoded.width / TILE_PIXELS;
    const std::uint32_t tiles_high = decoded.height / TILE_PIXELS;
    const std::size_t count = std::size_t{tiles_wide} * tiles_high;
    std::vector<std::uint8_t> tiles(count * TILE_SIZE);
    std::vector<std::uint8_t> lines(count);
    // Tiles in reading order first, so that the tile reported for mixed
    // lines is the first in reading order whatever the cell.
    for (std::uint32_t row = 0; row < tiles_high; ++row) {
        for (std::uint32_t column = 0; column < tiles_wide; ++column) {
            const std::size_t tile = std::size_t{row} * tiles_wide + column;
            if (!cut_tile(decoded, column * TILE_PIXELS, row * TILE_PIXELS, &tiles[tile * TILE_SIZE], lines[tile],
                          error)) {
                return error.result;
            }
        }
    }
    const std::size_t line_count = *std::max_element(lines.begin(), lines.end()) + std::size_t{1};
    image.palette = palette_words(decoded, line_count);

    if (options.cell_width == 1 && options.cell_height == 1) {
        image.tiles = std::move(tiles);
        image.tile_lines = std::move(lines);
        return IMAGE_OK;
    }
    // Cells in reading order, each cell's tiles column by column.
    image.tiles.resize(tiles.size());
    image.tile_lines.resize(lines.size());
    std::size_t placed = 0;
    for (std::uint32_t cell_top = 0; cell_top < tiles_high; cell_top += options.cell_height) {
        for (std::uint32_t cell_left = 0; cell_left < tiles_wide; cell_left += options.cell_width) {
            for (std::uint32_t column = cell_left; column < cell_left + options.cell_width; ++column) {
                for (std::uint32_t row = cell_top; row < cell_top + options.cell_height; ++row) {
                    const std::size_t tile = std::size_t{row} * tiles_wide + column;
                    std::copy_n(&tiles[tile * TILE_SIZE], TILE_SIZE, &image.tiles[placed * TILE_SIZE]);
                    image.tile_lines[placed++] = lines[tile];
                }
            }
        }
    }
    return IMAGE_OK;
}

}  // namespace venk::image_detail
