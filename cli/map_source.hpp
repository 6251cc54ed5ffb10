// A background's tile map as source for the game's build: the array
// NAME_map of name-table words and its size in cells, NAME_MAP_WIDTH and
// NAME_MAP_HEIGHT, where NAME comes from the map file's name as a symbol
// does from an output's.
#pragma once

#include "image_input.hpp"
#include "source_output.hpp"

#include <string>
#include <string_view>

namespace venk::cli {

// The map file in `form`; a C file includes its header by the name
// `header_file_name`.
std::string map_source_text(SourceForm form, const std::string& name, const CellMap& map,
                            std::string_view header_file_name);

// The header of a C map file, written under `file_name`.
std::string map_c_header(const std::string& name, const CellMap& map, std::string_view file_name);

}  // namespace venk::cli
