// Parsing of the argument vector into what the user asked for.
#pragma once

#include <venk/venk.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace venk::cli {

enum Action : std::uint8_t {
    ACTION_COMPRESS = 1,
    ACTION_DECOMPRESS = 2,
};

// While parsing, an action or a variant is unset, chosen, or in conflict
// because it was given more than once, even the same one twice.
enum class ActionChoice : std::uint8_t { NONE, COMPRESS, DECOMPRESS, CONFLICT };
enum class VariantChoice : std::uint8_t { NONE, VENK16, VENK15, CONFLICT };
// Source output instead of the binary stream: C, GNU as, MRI assembler.
enum class SourceChoice : std::uint8_t { NONE, C, GNU_AS, MRI, CONFLICT };

// An option followed by its value, such as -n NAME: the value, the option
// itself if no argument followed it, and whether it was given more than once.
struct ValuedOption {
    std::optional<std::string> value;
    std::optional<std::string> without_value;
    bool given_twice = false;
};

struct CommandLine {
    ActionChoice action = ActionChoice::NONE;
    VariantChoice variant = VariantChoice::NONE;
    bool help_requested = false;
    bool version_requested = false;
    bool best_requested = false;  // also harmless with -d, as in other compressors
    bool stats_requested = false;
    bool pack_requested = false;  // every file name but the last is an input
    // Every file name, in order: the input, then the output, unless -p
    // makes all but the last inputs.
    std::vector<std::string> names;
    SourceChoice source = SourceChoice::NONE;
    ValuedOption symbol;  // -n: the name the source output gives its array
    ValuedOption index;   // -i: the index file of a binary output
    // Images: the sprite cell (--sprite WxH), the palette file (--palette),
    // and for a picture of a stream its tiles a row (--columns) and the
    // palette it is drawn with (--colours).
    ValuedOption sprite;
    ValuedOption palette;
    ValuedOption columns;
    ValuedOption colours;
    // A background: its tile map's file (--map), the first tile's index in
    // the map's words (--base), and whether flipped copies are kept (--no-flip).
    ValuedOption map;
    ValuedOption base;
    bool no_flip_requested = false;
    bool error_seen = false;
};

// Reads arguments 1 to count - 1. Unknown options are reported on standard
// error as they are met; every other problem is left for the caller to report
// in its fixed order.
CommandLine parse_command_line(int count, const char* const* arguments);

}  // namespace venk::cli
