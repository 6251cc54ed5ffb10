// Every text the tool prints, in one place. Each error line starts with
// "Error: " and ends with a line feed; %s marks where a name is inserted.
#pragma once

#include <venk/venk.hpp>

#include <string_view>

namespace venk::cli {

inline constexpr std::string_view VERSION_TEXT = "1.2\n";

inline constexpr const char* HELP_FORMAT =
    "Usage:\n"
    "  %s -c <infile> <outfile>\n"
    "  %s -d <infile> <outfile>\n"
    "\n"
    "Options:\n"
    "  -c or --compress ..... Compress a blob into VENK\n"
    "  -d or --decompress ... Decompress VENK into a blob\n"
    "  -16 or --venk16 ...... Use VENK16 format (8192 limit)\n"
    "  -15 or --venk15 ...... Use VENK15 format (4096 limit)\n"
    "  -b or --best ......... Compress to the smallest stream (slower)\n"
    "  -s or --stats ........ Print the sizes of the stream and its limit\n"
    "  -h or --help ......... Show this help\n"
    "  -v or --version ...... Show tool version\n"
    "\n"
    "If no option is specified, compression is done by default.\n"
    "If no format is specified, VENK16 is used by default.\n";

inline constexpr const char* UNKNOWN_OPTION_FORMAT = "Error: unknown option \"%s\"\n";
inline constexpr const char* CANT_OPEN_INPUT_FORMAT = "Error: can't open input file \"%s\"\n";
inline constexpr const char* CANT_OPEN_OUTPUT_FORMAT = "Error: can't open output file \"%s\"\n";
inline constexpr const char* RESULT_FORMAT = "Error: %s\n";

inline constexpr std::string_view TOO_MANY_ACTIONS = "Error: can't specify more than one action\n";
inline constexpr std::string_view INPUT_NAME_MISSING = "Error: input filename missing\n";
inline constexpr std::string_view OUTPUT_NAME_MISSING = "Error: output filename missing\n";
inline constexpr std::string_view TOO_MANY_NAMES = "Error: too many filenames specified\n";
inline constexpr std::string_view TOO_MANY_FORMATS = "Error: too many formats specified\n";
inline constexpr std::string_view SAME_FILE = "Error: input and output are the same file\n";
inline constexpr std::string_view CANT_WRITE_STANDARD_OUTPUT = "Error: can't write to standard output\n";

// The text put into RESULT_FORMAT for a codec result.
constexpr const char* result_message(ResultCode result) {
    switch (result) {
    case RESULT_READ_ERROR: return "can't read from input file";
    case RESULT_WRITE_ERROR: return "can't write to output file";
    case RESULT_BAD_INPUT_SIZE: return "input file size isn't a multiple of 32 bytes";
    case RESULT_NO_TILES: return "input file needs to have at least one tile";
    case RESULT_TOO_BIG: return "output file is too big for VENK";
    case RESULT_INVALID_STREAM: return "input file isn't valid VENK";
    case RESULT_OUT_OF_MEMORY: return "ran out of memory";
    default: return "unknown error";
    }
}

}  // namespace venk::cli
