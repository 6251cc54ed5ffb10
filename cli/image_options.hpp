// The options for images in and pictures out: checked with the rest of the
// command line, then read into what the run needs.
#pragma once

#include "command_line.hpp"
#include "image_input.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace venk::cli {

struct ImageRequest {
    ImageCells cells;                         // --sprite
    std::optional<std::string> palette_name;  // --palette: the image's palette, written to this file
    bool picture = false;                     // -d to a name ending in .png
    std::uint32_t columns = 16;               // --columns: the picture's tiles a row
    std::optional<std::string> colours_name;  // --colours: the picture's palette, from this file
    std::optional<std::string> map_name;      // --map: the image's distinct tiles, and its tile map to this file
    MapOptions map;                           // --no-flip, --base
};

// Whether the run's output is a picture of the tiles: -d to a name ending
// in .png.
bool writes_picture(const CommandLine& line);

// Reports the problems of the image options on standard error, and sets
// line.error_seen for each. Called once the file names are known sound.
void report_image_usage_errors(CommandLine& line);

// What the image options of a sound command line ask for.
ImageRequest image_request(const CommandLine& line);

}  // namespace venk::cli
