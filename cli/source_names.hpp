// The names that source output gives the game: the symbol of its array,
// taken from the output file's name unless the user gives one, and the
// header written beside a C file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace venk::cli {

// Whether `name` can name the array in every form of source output: letters,
// digits and single underscores, starting with a letter and not ending in an
// underscore (what C and C++ reserve in every scope starts with an
// underscore or holds two), and neither a C or C++ keyword nor a name that
// a 68000-family assembler in Motorola syntax reads as a register (d0, sp,
// pc, ...; in any case). The array is global, with external linkage, so the
// name is also none that a C or C++ program cannot give one: main, the C++
// namespaces std, std1, ... and posix, and the names of the standard C
// library (printf, free, log, logf, size_t, uint8_t, stdin, atomic_int, ...),
// which C reserves for it and compilers know as built-ins. The prefixes that
// C keeps for its later versions (is, to, str, mem followed by a letter) stay
// usable: tower, items and stream are ordinary names of sprite sheets. Such
// a name also gives reserved-free constant names, SYMBOL_SIZE.
bool is_usable_symbol(std::string_view name);

// The symbol for an output file: its name without directory and extension,
// with every run of characters other than ASCII letters and digits made one
// underscore and underscores at either end dropped; a name that is still
// unusable (empty, a leading digit, a keyword or register) gets the prefix
// "venk_", so that "gfx/1-up.c" gives venk_1_up and "sp.c" venk_sp.
std::string symbol_from_file_name(const std::filesystem::path& output);

// The name a pack's input has in its index, from its file name: the file's
// name without directory and extension, with every run of characters other
// than ASCII letters and digits made one underscore and underscores at
// either end dropped, "venk" if nothing is left. It only ever follows the
// symbol in a constant's name (SYMBOL_NAME_FIRST), so unlike a symbol it may
// start with a digit or be a keyword: "gfx/1-up.bin" gives 1_up.
std::string index_name_from_file_name(const std::filesystem::path& input);

// Whether a header's file name (without its directory) can be named in an
// #include "...", which has no escapes: it may hold no double quote, no
// backslash (whose meaning there differs between compilers) and no control
// character.
bool can_be_included(const std::filesystem::path& header);

// The include guard of a C header or index file of this file name: its
// letters and digits in upper case, with each run of other characters made
// one underscore, and the suffix _FROM_VENK, which no hand-written header
// and no header of the library uses ("sprites.h" gives SPRITES_H_FROM_VENK).
// A name that would start with a digit gets the prefix VENK_.
std::string include_guard(std::string_view file_name);

// The header written beside a C output: its name with the extension ".h".
std::filesystem::path header_beside(const std::filesystem::path& output);

// Whether a C output's own name ends in ".h" (in any case), which would make
// it its own header.
bool is_header_name(const std::filesystem::path& output);

}  // namespace venk::cli
