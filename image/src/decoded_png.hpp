// The pixels of a PNG as LodePNG decodes them, before they become tiles.
#pragma once

#include <venk/image.hpp>

#include <cstddef>
#include <cstdint>
#include <span>

namespace venk::image_detail {

inline constexpr std::uint8_t PNG_GREY = 0;
inline constexpr std::uint8_t PNG_INDEXED = 3;

// A decoded indexed or grey image: rows of width * bit_depth / 8 bytes
// (whole bytes, since the width is a multiple of 8), pixels packed from the
// high bits down, as in the PNG.
struct DecodedPng {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint8_t colour_type = 0;
    std::uint8_t bit_depth = 0;
    std::span<const std::uint8_t> pixels;
    // The PLTE entries as red, green, blue, alpha; empty for grey.
    std::span<const std::uint8_t> palette_rgba;

    std::size_t row_bytes() const { return std::size_t{width} * bit_depth / 8; }
    unsigned pixel(std::uint32_t x, std::uint32_t y) const {
        const std::size_t bit = std::size_t{x} * bit_depth;
        const unsigned byte = pixels[std::size_t{y} * row_bytes() + bit / 8];
        return (byte >> (8 - bit_depth - bit % 8)) & ((1U << bit_depth) - 1);
    }
};

// Cuts the decoded image into `image`'s tiles, lines and palette, in the
// options' cell order; on a failure it stores the details in `error`.
ImageResult cut_tiles(const DecodedPng& decoded, const ImageOptions& options, TileImage& image, ImageError& error);

// A colour as the console's word 0000BBB0GGG0RRR0, and back (each 3-bit
// channel spread over 0 to 255).
std::uint16_t colour_word(unsigned red, unsigned green, unsigned blue);
void word_colour(std::uint16_t word, std::uint8_t rgb[3]);

}  // namespace venk::image_detail
