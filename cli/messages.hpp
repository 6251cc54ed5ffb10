// Every text the tool prints, in one place; the texts of codec results come
// from the library (venk::result_message), which shares them with programs
// that embed it. Each error line starts with "Error: " and ends with a line
// feed; %s marks where a name is inserted.
#pragma once

#include <string_view>

namespace venk::cli {

inline constexpr std::string_view VERSION_TEXT = "1.2\n";

inline constexpr const char* HELP_FORMAT =
    "Usage:\n"
    "  %s [-c | -d] [options] <infile> <outfile>\n"
    "  %s -p [options] <infile>... <outfile>\n"
    "<infile> and <outfile> may be - for standard input and output.\n"
    "\n"
    "Options:\n"
    "  -c or --compress ..... Compress a blob into VENK\n"
    "  -d or --decompress ... Decompress VENK into a blob\n"
    "  -16 or --venk16 ...... Use VENK16 format (8192 limit)\n"
    "  -15 or --venk15 ...... Use VENK15 format (4096 limit)\n"
    "  -b or --best ......... Compress to the smallest stream (slower)\n"
    "  -s or --stats ........ Print the sizes of the stream and its limit\n"
    "  -a or --c-array ...... Write C source and a header instead of binary\n"
    "  -g or --gas .......... Write GNU as source for m68k instead of binary\n"
    "  -m or --mri .......... Write Motorola (MRI) assembler source instead\n"
    "  -n or --name <name> .. Name the array (default: from <outfile>)\n"
    "  -p or --pack ......... Pack <infile>... into one stream with one dictionary\n"
    "  -i or --index <file> . Also write the constants to <file> (C, -g or -m)\n"
    "  -h or --help ......... Show this help\n"
    "  -v or --version ...... Show tool version\n"
    "\n"
    "If no option is specified, compression is done by default.\n"
    "If no format is specified, VENK16 is used by default.\n";

inline constexpr const char* UNKNOWN_OPTION_FORMAT = "Error: unknown option \"%s\"\n";
inline constexpr const char* CANT_OPEN_INPUT_FORMAT = "Error: can't open input file \"%s\"\n";
inline constexpr const char* CANT_OPEN_OUTPUT_FORMAT = "Error: can't open output file \"%s\"\n";
// Filled with venk::result_message, the library's text for a codec result.
inline constexpr const char* RESULT_FORMAT = "Error: %s\n";
// After a failure, when the output (or its temporary file) cannot be deleted.
inline constexpr const char* CANT_DELETE_OUTPUT_FORMAT = "Error: can't delete output file \"%s\"\n";

inline constexpr std::string_view TOO_MANY_ACTIONS = "Error: can't specify more than one action\n";
inline constexpr std::string_view INPUT_NAME_MISSING = "Error: input filename missing\n";
inline constexpr std::string_view OUTPUT_NAME_MISSING = "Error: output filename missing\n";
inline constexpr std::string_view TOO_MANY_NAMES = "Error: too many filenames specified\n";
inline constexpr std::string_view TOO_MANY_FORMATS = "Error: too many formats specified\n";
inline constexpr std::string_view SAME_FILE = "Error: input and output are the same file\n";
inline constexpr std::string_view TOO_MANY_SOURCE_FORMS = "Error: too many source forms specified\n";
inline constexpr std::string_view TOO_MANY_SYMBOLS = "Error: can't specify more than one name\n";
inline constexpr const char* SYMBOL_MISSING_FORMAT = "Error: option \"%s\" needs a name after it\n";
inline constexpr const char* BAD_SYMBOL_FORMAT = "Error: can't use \"%s\" as a name\n";
inline constexpr const char* C_SOURCE_NAMED_AS_HEADER_FORMAT = "Error: C source output \"%s\" can't end in .h\n";
inline constexpr const char* HEADER_CANT_BE_INCLUDED_FORMAT =
    "Error: C source output \"%s\" gives a header name that #include can't hold\n";
inline constexpr std::string_view CANT_WRITE_STANDARD_OUTPUT = "Error: can't write to standard output\n";

// Standard input and output, named "-".
inline constexpr std::string_view STANDARD_STREAM_NAME = "-";
inline constexpr const char* C_SOURCE_NOT_A_FILE_FORMAT =
    "Error: C source output \"%s\" must be a regular file, for its header to go beside it\n";
inline constexpr std::string_view STANDARD_OUTPUT_NEEDS_SYMBOL =
    "Error: standard output has no name to take a symbol from: give one with -n\n";

// Packs and index files.
inline constexpr std::string_view PACK_WHEN_DECOMPRESSING = "Error: can't pack when decompressing\n";
inline constexpr std::string_view STANDARD_INPUT_IN_PACK =
    "Error: can't pack standard input: each input needs a file name for the index\n";
inline constexpr const char* SAME_INDEX_NAME_FORMAT =
    "Error: input files \"%s\" and \"%s\" both give the name %s in the index\n";
inline constexpr std::string_view TOO_MANY_INDEX_FILES = "Error: can't specify more than one index file\n";
inline constexpr std::string_view INDEX_TO_STANDARD_OUTPUT = "Error: the index file can't be standard output\n";
// Two files of one run, such as "index file" and "output", or "header".
inline constexpr const char* SAME_OUTPUT_FORMAT = "Error: %s and %s are the same file\n";
// The library's text for a failure, and the pack's input it came from.
inline constexpr const char* PACK_INPUT_RESULT_FORMAT = "Error: %s: \"%s\"\n";
inline constexpr const char* PACK_TOO_BIG_FORMAT = "Error: output file is too big for VENK once \"%s\" is added\n";

}  // namespace venk::cli
