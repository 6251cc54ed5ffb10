// Parsing of the argument vector into what the user asked for.
#pragma once

#include <venk/venk.hpp>

#include <cstdint>
#include <optional>
#include <string>

namespace venk::cli {

enum Action : std::uint8_t {
    ACTION_COMPRESS = 1,
    ACTION_DECOMPRESS = 2,
};

// While parsing, an action or a variant is unset (0), chosen, or in conflict
// because it was given more than once (3).
inline constexpr std::uint8_t CHOICE_NONE = 0;
inline constexpr std::uint8_t CHOICE_CONFLICT = 3;

struct CommandLine {
    std::uint8_t action = CHOICE_NONE;
    std::uint8_t variant = CHOICE_NONE;
    bool help_requested = false;
    bool version_requested = false;
    bool best_requested = false;  // also harmless with -d, as in other compressors
    bool stats_requested = false;
    std::optional<std::string> input_name;
    std::optional<std::string> output_name;
    bool too_many_names = false;
    bool error_seen = false;
};

// Reads arguments 1 to count - 1. Unknown options are reported on standard
// error as they are met; every other problem is left for the caller to report
// in its fixed order.
CommandLine parse_command_line(int count, const char* const* arguments);

}  // namespace venk::cli
