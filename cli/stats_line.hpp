// The one line that -s prints after a successful run.
#pragma once

#include "command_line.hpp"
#include "image_input.hpp"

#include <venk/venk.hpp>

#include <string>

namespace venk::cli {

// For compression, for example
//   tiles.bin -> tiles.venk: 561 tiles, 365 distinct blocks, dictionary 1824 of 65535 bytes (2.8%), stream 6316 bytes (35.2% of 17952)
// and for decompression
//   tiles.venk -> tiles.bin: 561 tiles, dictionary 1824 bytes, stream 6316 bytes, blob 17952 bytes
// ending with a line feed. Percentages are rounded to one decimal, half up.
std::string stats_line(Action action, const std::string& input_name,
                       const std::string& output_name, const Figures& stats);

// The line that follows it for each input of a pack, such as
//   "  font.bin: first tile 0, 96 tiles"
std::string pack_input_line(const std::string& input_name, std::size_t first_tile, std::size_t tiles);

// The line that follows it for a tile map, such as
//   "  title.map: 1120 cells, 214 distinct tiles, 63 with flips"
std::string map_stats_line(const std::string& map_name, const CellMap& map);

}  // namespace venk::cli
