// Reading a PNG: the header decides, before any pixel data is decompressed,
// whether the image can be tiles at all; then LodePNG decodes the critical
// chunks, and the pixels are cut into tiles.
#include "decoded_png.hpp"
#include "reading_state.hpp"

#include <cstdlib>
#include <memory>
#include <new>

namespace venk {
namespace image_detail {
namespace {

constexpr std::size_t SIGNATURE_SIZE = 8;
constexpr std::size_t HEADER_END = SIGNATURE_SIZE + 25;  // the signature and the whole IHDR chunk
constexpr std::size_t CHUNK_FRAME = 12;                  // length, type and checksum
constexpr std::uint32_t LARGEST_CHUNK = 0x7FFFFFFF;
constexpr unsigned LODEPNG_ALLOCATION_FAILED = 83;

struct FreeWithC {
    void operator()(unsigned char* bytes) const { std::free(bytes); }
};

ImageResult failure_of(unsigned lodepng_error) {
    return lodepng_error == LODEPNG_ALLOCATION_FAILED ? IMAGE_OUT_OF_MEMORY : IMAGE_CORRUPT;
}

std::uint32_t big_endian_word(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 | std::uint32_t{bytes[2]} << 8 | bytes[3];
}

// The PNG with its ancillary chunks left out: none of them changes an index
// or a grey level, and the standard lets a decoder skip them. So neither a
// damaged one nor a huge compressed profile or text can stop or swell the
// reading. Critical chunks, known or not, stay for LodePNG to judge.
// Returns false when the chunks run past the end before IEND.
bool critical_chunks(std::span<const std::uint8_t> png, std::vector<std::uint8_t>& kept) {
    kept.assign(png.begin(), png.begin() + HEADER_END);
    std::size_t position = HEADER_END;
    while (png.size() - position >= CHUNK_FRAME) {
        const std::uint32_t length = big_endian_word(&png[position]);
        if (length > LARGEST_CHUNK || png.size() - position - CHUNK_FRAME < length) {
            return false;
        }
        const std::uint8_t* type = &png[position + 4];
        const std::size_t end = position + CHUNK_FRAME + length;
        const bool ancillary = (type[0] & 0x20) != 0;
        if (!ancillary) {
            kept.insert(kept.end(), png.begin() + static_cast<std::ptrdiff_t>(position),
                        png.begin() + static_cast<std::ptrdiff_t>(end));
            if (type[0] == 'I' && type[1] == 'E' && type[2] == 'N' && type[3] == 'D') {
                return true;
            }
        }
        position = end;
    }
    return false;
}

// Checks what the header declares: a colour type and depth that hold tile
// colours, a size cut into whole cells, and few enough tiles.
ImageResult check_header(const LodePNGColorMode& colour, std::uint32_t width, std::uint32_t height,
                         const ImageOptions& options, ImageError& error) {
    const bool indexed = colour.colortype == LCT_PALETTE;
    const bool small_grey = colour.colortype == LCT_GREY && colour.bitdepth <= 4;
    if (!indexed && !small_grey) {
        return IMAGE_NOT_INDEXED;
    }
    if (width % (8U * options.cell_width) != 0 || height % (8U * options.cell_height) != 0) {
        return IMAGE_BAD_SIZE;
    }
    error.tiles = std::uint64_t{width / 8} * (height / 8);
    if (error.tiles > IMAGE_MAX_TILES) {
        return IMAGE_TOO_MANY_TILES;
    }
    error.tiles = 0;
    return IMAGE_OK;
}

ImageResult read_checked_png(std::span<const std::uint8_t> png, TileImage& image, const ImageOptions& options,
                             ImageError& error) {
    if (options.cell_width < 1 || options.cell_width > 4 || options.cell_height < 1 || options.cell_height > 4) {
        return IMAGE_INVALID_OPTIONS;
    }
    ReadingState lodepng;
    unsigned width = 0;
    unsigned height = 0;
    if (const unsigned failure = lodepng_inspect(&width, &height, &lodepng.state, png.data(), png.size())) {
        return failure_of(failure);
    }
    const LodePNGColorMode& colour = lodepng.state.info_png.color;
    error.colour_type = static_cast<std::uint8_t>(colour.colortype);
    error.bit_depth = static_cast<std::uint8_t>(colour.bitdepth);
    error.width = width;
    error.height = height;
    if (const ImageResult refused = check_header(colour, width, height, options, error)) {
        return refused;
    }

    std::vector<std::uint8_t> kept;
    if (!critical_chunks(png, kept)) {
        return IMAGE_CORRUPT;
    }
    // The pixels as they are stored, and no more decompressed data than
    // they fill (interlacing adds at most as much again): compressed data
    // that would expand further is refused as soon as it does.
    lodepng.state.decoder.color_convert = 0;
    const std::size_t row_bytes = std::size_t{width} * colour.bitdepth / 8 + 1;
    lodepng.state.decoder.zlibsettings.max_output_size = 2 * row_bytes * height + 64;
    unsigned char* decoded_bytes = nullptr;
    const unsigned failure = lodepng_decode(&decoded_bytes, &width, &height, &lodepng.state, kept.data(), kept.size());
    const std::unique_ptr<unsigned char, FreeWithC> owned(decoded_bytes);
    if (failure != 0) {
        return failure_of(failure);
    }
    kept = {};

    const LodePNGColorMode& raw = lodepng.state.info_raw;
    DecodedPng decoded;
    decoded.width = width;
    decoded.height = height;
    decoded.colour_type = static_cast<std::uint8_t>(raw.colortype);
    decoded.bit_depth = static_cast<std::uint8_t>(raw.bitdepth);
    decoded.pixels = {decoded_bytes, decoded.row_bytes() * height};
    if (raw.colortype == LCT_PALETTE) {
        decoded.palette_rgba = {raw.palette, raw.palettesize * 4};
    }
    return cut_tiles(decoded, options, image, error);
}

}  // namespace
}  // namespace image_detail

ImageResult read_png(std::span<const std::uint8_t> png, TileImage& image, const ImageOptions& options,
                     ImageError* error) {
    ImageError details;
    image = {};
    try {
        details.result = image_detail::read_checked_png(png, image, options, details);
    } catch (const std::bad_alloc&) {
        details.result = IMAGE_OUT_OF_MEMORY;
    }
    if (details.result == IMAGE_OK) {
        image.width = details.width;
        image.height = details.height;
        details = {};
    } else {
        image = {};
    }
    if (error != nullptr) {
        *error = details;
    }
    return details.result;
}

}  // namespace venk
