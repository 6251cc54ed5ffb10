// venk/image.h: the C interface, over the image part's C++ calls.
#include <venk/image.h>
#include <venk/image.hpp>

#include "reading_state.hpp"

#include <algorithm>

namespace {

constexpr std::size_t TILE_SIZE = 32;

void store_error(const venk::ImageError& error, int result, venk_image_error* c_error) {
    if (c_error == nullptr) {
        return;
    }
    *c_error = {static_cast<std::uint32_t>(result), error.colour_type, error.bit_depth, {error.lines[0], error.lines[1]},
                error.x, error.y, error.width, error.height, error.tiles};
}

}  // namespace

size_t venk_image_tiles_bound(const uint8_t* png, size_t png_size) {
    venk::image_detail::ReadingState lodepng;
    unsigned width = 0;
    unsigned height = 0;
    const unsigned failure = lodepng_inspect(&width, &height, &lodepng.state, png, png_size);
    const std::uint64_t tiles = std::uint64_t{width / 8} * (height / 8);
    return failure != 0 || tiles > venk::IMAGE_MAX_TILES ? 0 : static_cast<size_t>(tiles) * TILE_SIZE;
}

int venk_image_read_png(const uint8_t* png, size_t png_size, unsigned cell_width, unsigned cell_height,
                        uint8_t* tiles, size_t tiles_capacity, size_t* tiles_size, uint16_t* palette,
                        size_t palette_capacity, size_t* palette_size, venk_image_error* c_error) {
    for (size_t* size : {tiles_size, palette_size}) {
        if (size != nullptr) {
            *size = 0;
        }
    }
    venk::ImageError error;
    int result = venk::IMAGE_INVALID_OPTIONS;
    try {
        venk::ImageOptions options;
        options.cell_width = static_cast<std::uint8_t>(std::min(cell_width, 255U));
        options.cell_height = static_cast<std::uint8_t>(std::min(cell_height, 255U));
        venk::TileImage image;
        result = venk::read_png({png, png_size}, image, options, &error);
        if (result == venk::IMAGE_OK) {
            const bool palette_wanted = palette != nullptr;
            if (image.tiles.size() > tiles_capacity || (palette_wanted && image.palette.size() > palette_capacity)) {
                result = VENK_IMAGE_BUFFER_TOO_SMALL;
            } else {
                std::copy(image.tiles.begin(), image.tiles.end(), tiles);
                if (palette_wanted) {
                    std::copy(image.palette.begin(), image.palette.end(), palette);
                }
                if (tiles_size != nullptr) {
                    *tiles_size = image.tiles.size();
                }
                if (palette_size != nullptr && palette_wanted) {
                    *palette_size = image.palette.size();
                }
            }
        }
    } catch (...) {
        // Only allocation can fail here, and nothing may reach C.
        result = venk::IMAGE_OUT_OF_MEMORY;
    }
    store_error(error, result, c_error);
    return result;
}

const char* venk_image_result_message(int result) {
    if (result == VENK_IMAGE_BUFFER_TOO_SMALL) {
        return "a buffer is too small for the image";
    }
    return result >= 0 && result <= 255 ? venk::image_result_message(static_cast<venk::ImageResult>(result))
                                        : "unknown error";
}
