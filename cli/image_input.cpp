#include "image_input.hpp"

#include "messages.hpp"

#include <algorithm>
#include <cstring>

#ifdef VENK_CLI_IMAGES
#include <venk/image.hpp>
#endif

namespace venk::cli {
namespace {

// Far more than any PNG of at most 65535 tiles needs, ancillary chunks and
// all; a longer file, such as a device, is not read on without end.
constexpr std::size_t MOST_IMAGE_FILE_BYTES = std::size_t{64} << 20;
constexpr std::size_t TILE_BYTES = 32;

// The whole file, or false if it cannot be read or is longer than any image.
bool read_whole_file(std::FILE* file, const std::string& name, std::vector<std::uint8_t>& bytes) {
    std::uint8_t chunk[65536];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
        if (bytes.size() + got > MOST_IMAGE_FILE_BYTES) {
            std::fprintf(stderr, IMAGE_FILE_TOO_BIG_FORMAT, name.c_str());
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk) {
            break;
        }
    }
    if (std::ferror(file) != 0) {
        std::fprintf(stderr, PACK_INPUT_RESULT_FORMAT, venk::result_message(RESULT_READ_ERROR), name.c_str());
        return false;
    }
    return true;
}

#ifdef VENK_CLI_IMAGES
void report_image_error(const std::string& name, const ImageError& error, const ImageCells& cells) {
    const char* file = name.c_str();
    switch (error.result) {
    case IMAGE_NOT_INDEXED:
        std::fprintf(stderr, IMAGE_NOT_INDEXED_FORMAT, file, unsigned{error.colour_type}, unsigned{error.bit_depth});
        break;
    case IMAGE_BAD_SIZE:
        std::fprintf(stderr, IMAGE_BAD_SIZE_FORMAT, file, unsigned{error.width}, unsigned{error.height},
                     8U * cells.width, 8U * cells.height);
        break;
    case IMAGE_TOO_MANY_TILES:
        std::fprintf(stderr, IMAGE_TOO_MANY_TILES_FORMAT, file, static_cast<unsigned long long>(error.tiles));
        break;
    case IMAGE_MIXED_LINES:
        std::fprintf(stderr, IMAGE_MIXED_LINES_FORMAT, file, unsigned{error.x}, unsigned{error.y},
                     unsigned{error.lines[0]}, unsigned{error.lines[1]});
        break;
    case IMAGE_INDEX_PAST_PALETTE:
        std::fprintf(stderr, IMAGE_INDEX_PAST_PALETTE_FORMAT, file, unsigned{error.x}, unsigned{error.y});
        break;
    default:
        std::fprintf(stderr, IMAGE_RESULT_FORMAT, file, image_result_message(error.result));
    }
}
#endif

}  // namespace

bool is_image_name(std::string_view name) {
    constexpr std::string_view EXTENSION = ".png";
    return name.size() > EXTENSION.size() &&
           std::ranges::equal(name.substr(name.size() - EXTENSION.size()), EXTENSION,
                              [](char a, char b) { return (a | 0x20) == b; });
}

bool ImageInput::read(std::FILE* file, const std::string& name, const ImageReading& reading) {
    const ImageCells& cells = reading.cells;
#ifdef VENK_CLI_IMAGES
    std::vector<std::uint8_t> png;
    if (!read_whole_file(file, name, png)) {
        return false;
    }
    TileImage image;
    ImageError error;
    if (read_png(png, image, {cells.width, cells.height}, &error) != IMAGE_OK) {
        report_image_error(name, error, cells);
        return false;
    }
    palette_ = std::move(image.palette);
    if (!reading.map) {
        tiles_ = std::move(image.tiles);
        return true;
    }
    TileMap map;
    const TileMapOptions options{reading.map->match_flips, reading.map->base};
    if (make_tile_map(image, map, options, &error) != IMAGE_OK) {
        if (error.result == IMAGE_TOO_MANY_DISTINCT_TILES) {
            std::fprintf(stderr, MAP_TOO_MANY_TILES_FORMAT, name.c_str(), static_cast<unsigned long long>(error.tiles),
                         unsigned{options.base}, static_cast<unsigned>(TILE_MAP_MAX_TILES - options.base));
        } else {
            report_image_error(name, error, cells);
        }
        return false;
    }
    tiles_ = std::move(map.tiles);
    map_ = {std::move(map.cells), map.width, map.height, tiles_.size() / TILE_BYTES, map.flipped_cells};
    return true;
#else
    static_cast<void>(file);
    static_cast<void>(cells);
    std::fprintf(stderr, IMAGE_SUPPORT_MISSING_FORMAT, name.c_str());
    return false;
#endif
}

std::size_t ImageInput::read(std::span<std::uint8_t> buffer) {
    const std::size_t count = std::min(buffer.size(), tiles_.size() - position_);
    if (count > 0) {
        std::memcpy(buffer.data(), tiles_.data() + position_, count);
    }
    position_ += count;
    at_end_ = count < buffer.size();
    return count;
}

// A request to stop fails the next read, as for any input.
bool ImageInput::has_error() const {
    return stop_requested();
}

}  // namespace venk::cli
