// An input that is an image: a PNG file, read whole and cut into tiles
// before the run touches any output, so that a bad image leaves every
// output as it was.
#pragma once

#include "file_streams.hpp"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace venk::cli {

// How images are cut: sprite cells of this many tiles across and down.
struct ImageCells {
    std::uint8_t width = 1;
    std::uint8_t height = 1;
};

// A background: the image's tiles are its distinct tiles, and its map says
// which each cell shows.
struct MapOptions {
    bool match_flips = true;  // a flipped copy of a stored tile is not stored again
    std::uint16_t base = 0;   // added to each stored tile's index in the map's words
};

// How an image input is read: cut into cells, and perhaps made a background.
struct ImageReading {
    ImageCells cells;
    std::optional<MapOptions> map;
};

// An image's tile map: one name-table word a cell, in reading order.
struct CellMap {
    std::vector<std::uint16_t> words;
    std::uint32_t width = 0;  // in cells
    std::uint32_t height = 0;
    std::size_t distinct_tiles = 0;
    std::size_t flipped_cells = 0;
};

// Whether an input's name makes it an image: it ends in ".png", in any case.
bool is_image_name(std::string_view name);

class ImageInput final : public Input {
public:
    // Reads the PNG from the open `file` to its end and cuts it into tiles.
    // False after saying why on standard error, naming the image by `name`.
    // Made a background, the tiles are the distinct ones, and map() its map.
    bool read(std::FILE* file, const std::string& name, const ImageReading& reading);

    std::size_t read(std::span<std::uint8_t> buffer) override;
    bool at_end() const override { return at_end_; }
    bool has_error() const override;
    std::size_t bytes_read() const override { return position_; }
    std::span<const std::uint16_t> palette() const override { return palette_; }
    const CellMap* map() const override { return map_.words.empty() ? nullptr : &map_; }

private:
    std::vector<std::uint8_t> tiles_;
    std::vector<std::uint16_t> palette_;
    CellMap map_;
    std::size_t position_ = 0;
    bool at_end_ = false;
};

}  // namespace venk::cli
