// The short texts of the image part's results.
#include <venk/image.hpp>

namespace venk {

const char* image_result_message(ImageResult result) {
    switch (result) {
    case IMAGE_CORRUPT: return "the image is not a valid PNG, or it is truncated";
    case IMAGE_NOT_INDEXED: return "the image has no palette: save it with a palette (indexed colour)";
    case IMAGE_BAD_SIZE: return "the image's width or height is not a multiple of the tile or sprite cell";
    case IMAGE_TOO_MANY_TILES: return "the image holds more tiles than a stream (65535)";
    case IMAGE_MIXED_LINES: return "a tile mixes palette lines";
    case IMAGE_INDEX_PAST_PALETTE: return "a pixel's colour index is past the image's palette";
    case IMAGE_BAD_TILES: return "the tiles are not whole 32-byte tiles, or there are none";
    case IMAGE_OUT_OF_MEMORY: return "out of memory";
    case IMAGE_INVALID_OPTIONS: return "invalid image options";
    case IMAGE_TOO_MANY_DISTINCT_TILES: return "the image has more distinct tiles than a tile map indexes (2048)";
    case IMAGE_OK: break;
    }
    return "unknown error";
}

}  // namespace venk
