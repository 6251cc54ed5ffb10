// venk image: from the artist's PNG to tiles and the console's palette, and
// from tiles back to a PNG to look at.
//
// A part of its own beside the codec (the library venk_image, the CMake
// target venk::image), which the codec does not need: it works on bytes in
// memory only, never opens a file and never prints. The PNG decoding and
// encoding are LodePNG's.
//
//     venk::TileImage image;
//     venk::ImageError error;
//     if (venk::read_png(png_bytes, image, {}, &error) == venk::IMAGE_OK)
//         venk::compress(image.tiles, stream);
//
// Tiles are those of the codec: 32 bytes for 8x8 pixels of 4 bits, rows top
// to bottom, two pixels a byte with the left one in the high nibble.
//
// Every call reports its outcome as an ImageResult and never throws. C uses
// venk/image.h, the same library behind a C interface.
#pragma once

#include <venk/image_export.hpp>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace venk {

// The outcome of every call of the image part. The values are fixed and may
// be stored.
enum ImageResult : std::uint8_t {
    IMAGE_OK = 0,
    IMAGE_CORRUPT = 1,             // not a PNG, truncated, or corrupt (a bad checksum, bad compressed
                                   // data, an unknown critical chunk, a palette image without a palette)
    IMAGE_NOT_INDEXED = 2,         // RGB, grey with alpha, RGBA, or grey of 8 or 16 bits: only indexed
                                   // images and grey of 1, 2 or 4 bits hold tile colours
    IMAGE_BAD_SIZE = 3,            // the width or height is not a multiple of the cell (8 pixels, or
                                   // the sprite cell's width or height in pixels)
    IMAGE_TOO_MANY_TILES = 4,      // the image holds more tiles than a stream (65535)
    IMAGE_MIXED_LINES = 5,         // a tile's colours other than 0 come from two palette lines
    IMAGE_INDEX_PAST_PALETTE = 6,  // a pixel's index has no entry in the image's palette
    IMAGE_BAD_TILES = 7,           // the tiles to draw are not whole 32-byte tiles, or there are none
    IMAGE_OUT_OF_MEMORY = 8,       // a working buffer could not be allocated
    IMAGE_INVALID_OPTIONS = 9,     // an option is out of its range (see the options)
    // 10 is the C interface's own (a buffer too small).
    IMAGE_TOO_MANY_DISTINCT_TILES = 11,  // a tile map's distinct tiles and base pass the 2048 indices
};

// What a failure is about, for a message that points at the right place.
// Fields that do not apply to the result are 0.
struct ImageError {
    ImageResult result = IMAGE_OK;
    std::uint8_t colour_type = 0;  // the PNG's colour type and bit depth, once its header is read
    std::uint8_t bit_depth = 0;
    std::uint8_t lines[2] = {};    // IMAGE_MIXED_LINES: the two palette lines, the lower first
    std::uint32_t x = 0;           // IMAGE_MIXED_LINES: the tile's top-left pixel;
    std::uint32_t y = 0;           // IMAGE_INDEX_PAST_PALETTE: the pixel
    std::uint32_t width = 0;       // the image's size in pixels, once its header is read
    std::uint32_t height = 0;
    std::uint64_t tiles = 0;       // IMAGE_TOO_MANY_TILES: the tiles the header declares;
                                   // IMAGE_TOO_MANY_DISTINCT_TILES: the distinct tiles
};

// A short text for a result, such as "the image is not a valid PNG" for
// IMAGE_CORRUPT: one line without a final full stop, static, never freed. A
// caller with an ImageError can say more (the tile, the lines).
VENK_IMAGE_API const char* image_result_message(ImageResult result);

// The most tiles an image may hold: a stream's tile count is a 16-bit word.
inline constexpr std::size_t IMAGE_MAX_TILES = 65535;

// Colours a palette line holds, and the lines an image can use.
inline constexpr std::size_t PALETTE_LINE_COLOURS = 16;
inline constexpr std::size_t PALETTE_MAX_LINES = 4;

// How an image is cut into tiles.
struct ImageOptions {
    // The sprite cell, in tiles (1 to 4 each): the image is cut into cells
    // of cell_width x cell_height tiles in reading order, and each cell's
    // tiles are given column by column, the order the console's sprites
    // use. The width and height must be multiples of the cell. A 1x1 cell,
    // the default, gives the tiles in reading order.
    std::uint8_t cell_width = 1;
    std::uint8_t cell_height = 1;
};

// An image read as tiles.
struct TileImage {
    // 32 bytes a tile, in the order of the options' cells. A pixel's colour
    // is its palette index mod 16, or its grey level.
    std::vector<std::uint8_t> tiles;
    // Each tile's palette line (0 to 3), in the same order: the line of its
    // colours other than 0 (index / 16 in an 8-bit image), 0 for a tile of
    // colour 0 only and in every image of fewer bits.
    std::vector<std::uint8_t> tile_lines;
    // The palette of the lines the image uses, as the console's colour words
    // 0000BBB0GGG0RRR0 (each channel's top three bits): 16 words a line, for
    // lines 0 to the highest line of any tile, so 16 to 64 words; entries
    // that the PNG's palette does not have are 0. A grey image has no
    // palette: its words are its grey levels (level v of n-bit grey is the
    // intensity v * 255 / (2^n - 1)), one line.
    std::vector<std::uint16_t> palette;
    // The image's size in pixels.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Reads the PNG in `png` into `image` (whose old contents are replaced; on
// failure it is left empty). Indexed images of 1, 2, 4 and 8 bits and grey
// images of 1, 2 and 4 bits are read; interlaced ones too. Ancillary chunks
// are skipped (none changes an index or a grey level), as the PNG standard
// lets a decoder do, so a damaged one does not matter; a damaged critical
// chunk is IMAGE_CORRUPT. In an 8-bit image, index / 16 is the palette line:
// within one tile every pixel whose colour (index mod 16) is not 0 must
// share one line, while colour 0 (transparent) may come from any line.
//   IMAGE_OK                 every tile was read
//   IMAGE_CORRUPT            see the enum
//   IMAGE_NOT_INDEXED        the colour type or depth holds no tile colours
//   IMAGE_BAD_SIZE           the size is not a multiple of the cell
//   IMAGE_TOO_MANY_TILES     more than IMAGE_MAX_TILES tiles
//   IMAGE_MIXED_LINES        a tile mixes lines: the first in reading order
//   IMAGE_INDEX_PAST_PALETTE a pixel's index has no palette entry: the first
//                            in reading order of pixels
//   IMAGE_OUT_OF_MEMORY      a buffer could not be allocated
//   IMAGE_INVALID_OPTIONS    the cell is outside 1 to 4 tiles either way
// IMAGE_NOT_INDEXED, IMAGE_BAD_SIZE and IMAGE_TOO_MANY_TILES are decided
// from the header alone, before any pixel data is decompressed, and the
// decompressed data may not outgrow the pixels the header declares, so no
// PNG makes the reader allocate more than a few MiB beyond its input and
// the tiles it declares. With `error`, the details are stored there
// on any result (IMAGE_OK clears them).
VENK_IMAGE_API ImageResult read_png(std::span<const std::uint8_t> png, TileImage& image,
                                    const ImageOptions& options = {}, ImageError* error = nullptr);

// How tiles are drawn into a picture.
struct PictureOptions {
    // Tiles a row, from 1 to 65535. The last row is filled with colour 0.
    std::uint32_t columns = 16;
    // The colour words of the picture's palette (0000BBB0GGG0RRR0, as
    // TileImage::palette), up to 64: 16 a line. Empty: a grey ramp from
    // black (colour 0) to white (colour 15).
    std::span<const std::uint16_t> palette = {};
    // Each tile's palette line (0 to 3), one byte a tile, as
    // TileImage::tile_lines. Empty: every tile is in line 0.
    std::span<const std::uint8_t> tile_lines = {};
};

// Draws the tiles, in reading order, into an indexed PNG in `png` (whose old
// contents are replaced; on failure it is left empty). A pixel's index is
// its tile's line * 16 + its colour. The PNG has 4-bit indices when every
// tile is in line 0, 8-bit ones otherwise; its palette has 16 entries for
// each line up to the highest used, black past the words given. Reading it
// back gives the same tiles, lines and palette (of the lines used).
//   IMAGE_OK, IMAGE_BAD_TILES, IMAGE_OUT_OF_MEMORY, and
//   IMAGE_INVALID_OPTIONS    columns out of range, more than 64 palette
//                            words, or tile lines that are not one per tile
//                            or not 0 to 3
VENK_IMAGE_API ImageResult write_png(std::span<const std::uint8_t> tiles, std::vector<std::uint8_t>& png,
                                     const PictureOptions& options = {});

// A background as the console draws it: each distinct tile once, and a map
// of name-table words that say which stored tile each cell shows, flipped
// or not, in which palette line.
//
// The most tiles a map word can index (its bits 10 to 0).
inline constexpr std::size_t TILE_MAP_MAX_TILES = 2048;

// The bits of a map word besides the tile's index; bit 15, the priority,
// is left 0.
inline constexpr std::uint16_t TILE_MAP_HORIZONTAL_FLIP = 0x0800;
inline constexpr std::uint16_t TILE_MAP_VERTICAL_FLIP = 0x1000;
inline constexpr unsigned TILE_MAP_LINE_SHIFT = 13;  // bits 14 and 13: the palette line
inline constexpr std::uint16_t TILE_MAP_INDEX_MASK = 0x07FF;

struct TileMapOptions {
    // Whether a tile equal to a stored one flipped horizontally, vertically
    // or both is drawn from it instead of being stored again.
    bool match_flips = true;
    // Added to each stored tile's index in the map words: where the tiles
    // start in video memory, in tiles (0 to 2047).
    std::uint16_t base = 0;
};

struct TileMap {
    // Each distinct tile once, 32 bytes a tile, in order of first appearance
    // in reading order; a tile's colours are compared, not its line, so the
    // same tile in two palette lines is stored once.
    std::vector<std::uint8_t> tiles;
    // One word a cell, in reading order: bits 14-13 the cell's palette line,
    // bit 12 vertical and bit 11 horizontal flip, bits 10-0 the stored
    // tile's index plus the base.
    std::vector<std::uint16_t> cells;
    // The map's size in cells.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // The cells drawn from a flipped stored tile.
    std::size_t flipped_cells = 0;
};

// Makes the tile map of an image read with 1x1 cells (its tiles in reading
// order), into `map` (replaced; left empty on failure). A cell takes the
// earliest stored tile that matches it, and of that tile's forms the first
// of: as is, flipped horizontally, vertically, both. Takes time linear in
// the tiles.
//   IMAGE_OK
//   IMAGE_BAD_TILES          the tiles are not whole tiles, not one line
//                            each, or not as many as the image's size holds
//   IMAGE_TOO_MANY_DISTINCT_TILES  base + distinct tiles > 2048; with
//                            `error`, its `tiles` is the distinct count
//   IMAGE_INVALID_OPTIONS    the base is past 2047
//   IMAGE_OUT_OF_MEMORY
VENK_IMAGE_API ImageResult make_tile_map(const TileImage& image, TileMap& map, const TileMapOptions& options = {},
                                         ImageError* error = nullptr);

}  // namespace venk
