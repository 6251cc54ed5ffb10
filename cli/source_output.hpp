// Source code that carries a stream (or, after decompression, a blob of
// tiles) into a game's build, so that no declaration or constant is written
// by hand: a C file with its header, GNU as source for m68k, or source for
// assemblers in Motorola syntax (MRI). Each puts the bytes at an even address
// under one symbol, and gives their size, their tile count and each range of
// the index as named constants:
//   SYMBOL_SIZE, SYMBOL_TILES          for the whole data
//   SYMBOL_NAME_FIRST, SYMBOL_NAME_TILES for each index entry NAME
// with the symbol and the entry's name upper-cased.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace venk::cli {

enum class SourceForm : std::uint8_t { C, GNU_AS, MRI };

// A named range of tiles, such as one sheet of several packed into a stream.
struct IndexEntry {
    std::string name;  // an identifier; names that differ only in case collide
    std::size_t first_tile = 0;
    std::size_t tile_count = 0;
};

struct SourceContent {
    std::span<const std::uint8_t> bytes;  // at least one, but none in an index
    std::string symbol;                   // usable as is_usable_symbol says
    std::size_t tiles = 0;
    std::string description;  // for the opening comment, such as "VENK16 stream of 561 tiles"
    std::vector<IndexEntry> index;
};

// A symbol or an index entry's name as it is spelt in constant names.
std::string upper_case(std::string_view name);

// The text of the output file in `form`. A C file includes its header by the
// name `header_file_name`, which other forms ignore.
std::string source_text(SourceForm form, const SourceContent& content, std::string_view header_file_name);

// The header of a C file, written under `file_name`: the constants and the
// array's declaration, for C and C++.
std::string c_header(const SourceContent& content, std::string_view file_name);

// The index of an output whose data is `size` bytes, which `content` need
// not hold: its constants alone, for the game's build to include: a C header
// of macros, or for GNU as or an MRI assembler a file of equates that
// defines no storage and exports nothing, so that several source files can
// include it. When `declares_array`, as for an output in source form, a C
// header also declares the array, so that C code can use data that
// assembler source defines. A C header's guard comes from its `file_name`.
std::string index_text(SourceForm form, const SourceContent& content, std::size_t size, bool declares_array,
                       std::string_view file_name);

}  // namespace venk::cli
