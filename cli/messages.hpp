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
    "<infile> and <outfile> may be - for standard input and output;\n"
    "an <infile> ending in .png is read as an image.\n"
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
    "  -i or --index <file> . Also write the constants to <file> (.h: C, else asm)\n"
    "  --sprite <W>x<H> ..... Cut images into sprites of WxH tiles, column by column\n"
    "  --palette <file> ..... Also write the image's palette to <file>\n"
    "  --columns <n> ........ Draw <n> tiles a row in a picture (-d to a .png)\n"
    "  --colours <file> ..... Draw a picture in the palette of <file>\n"
    "  --map <file> ......... Keep the image's distinct tiles; its tile map to <file>\n"
    "  --no-flip ............ With --map, store flipped copies of tiles again\n"
    "  --base <n> ........... With --map, number the stored tiles from <n>\n"
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

// Images, each named by its file.
inline constexpr const char* IMAGE_RESULT_FORMAT = "Error: \"%s\": %s\n";
inline constexpr const char* IMAGE_NOT_INDEXED_FORMAT =
    "Error: \"%s\": the image has no palette (PNG colour type %u, %u bits): save it as an indexed image\n";
inline constexpr const char* IMAGE_BAD_SIZE_FORMAT =
    "Error: \"%s\": the image is %u x %u pixels, not a multiple of %u x %u\n";
inline constexpr const char* IMAGE_TOO_MANY_TILES_FORMAT =
    "Error: \"%s\": the image holds %llu tiles, more than a stream's 65535\n";
inline constexpr const char* IMAGE_MIXED_LINES_FORMAT =
    "Error: \"%s\": the tile at x %u, y %u mixes palette lines %u and %u\n";
inline constexpr const char* IMAGE_INDEX_PAST_PALETTE_FORMAT =
    "Error: \"%s\": the pixel at x %u, y %u has an index past the image's palette\n";
inline constexpr const char* IMAGE_FILE_TOO_BIG_FORMAT =
    "Error: \"%s\": the file is too big for an image of at most 65535 tiles\n";
// The options for images and pictures.
inline constexpr const char* OPTION_GIVEN_TWICE_FORMAT = "Error: can't specify \"%s\" more than once\n";
inline constexpr const char* OPTION_NEEDS_VALUE_FORMAT = "Error: option \"%s\" needs a value after it\n";
inline constexpr const char* BAD_SPRITE_FORMAT =
    "Error: can't use \"%s\" as a sprite size: give WxH in tiles, each from 1 to 4\n";
inline constexpr const char* BAD_COLUMNS_FORMAT =
    "Error: can't use \"%s\" as a number of columns: give 1 to 65535\n";
inline constexpr const char* NEEDS_IMAGE_INPUT_FORMAT =
    "Error: option \"%s\" needs an image input (a name ending in .png)\n";
inline constexpr const char* PALETTE_OF_SEVERAL_IMAGES_FORMAT =
    "Error: option \"%s\" writes the palette of one image, and the pack has several\n";
inline constexpr std::string_view PALETTE_TO_STANDARD_OUTPUT = "Error: the palette file can't be standard output\n";
inline constexpr const char* NEEDS_PICTURE_OUTPUT_FORMAT =
    "Error: option \"%s\" needs a picture output: -d to a name ending in .png\n";
inline constexpr const char* DECOMPRESSING_AN_IMAGE_FORMAT =
    "Error: -d reads a VENK stream, not an image: \"%s\"\n";
inline constexpr const char* PICTURE_NEEDS_DECOMPRESSION_FORMAT =
    "Error: output \"%s\" ends in .png, but only -d writes a picture\n";
inline constexpr const char* PICTURE_AS_SOURCE_FORMAT =
    "Error: the picture \"%s\" can't be written as source or with an index\n";
inline constexpr const char* BAD_COLOURS_FILE_FORMAT =
    "Error: \"%s\": a file of colours holds 1 to 64 big-endian colour words, or is a PNG\n";
// Backgrounds: an image's distinct tiles and its tile map.
inline constexpr std::string_view MAP_TO_STANDARD_OUTPUT = "Error: the map file can't be standard output\n";
inline constexpr const char* OPTION_WHEN_DECOMPRESSING_FORMAT = "Error: can't use option \"%s\" when decompressing\n";
inline constexpr const char* MAP_OF_A_PACK_FORMAT =
    "Error: option \"%s\" maps one image, not a pack: give the image alone\n";
inline constexpr const char* MAP_OF_SPRITES_FORMAT =
    "Error: option \"%s\" maps the tiles in reading order, so it can't be used with --sprite\n";
inline constexpr const char* BAD_BASE_FORMAT = "Error: can't use \"%s\" as the first tile's index: give 0 to 2047\n";
inline constexpr const char* NEEDS_MAP_FORMAT = "Error: option \"%s\" needs a tile map: give --map <file>\n";
inline constexpr const char* MAP_ARRAY_CLASH_FORMAT =
    "Error: the tile map's array and the output's are both named \"%s\": rename the map file, or give -n\n";
inline constexpr const char* MAP_TOO_MANY_TILES_FORMAT =
    "Error: \"%s\": the image has %llu distinct tiles, and a tile map from tile %u indexes only %u\n";
inline constexpr const char* IMAGE_SUPPORT_MISSING_FORMAT =
    "Error: \"%s\": this venk was built without PNG support\n";

}  // namespace venk::cli
