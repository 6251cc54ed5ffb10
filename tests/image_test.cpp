// The image part on one table of PNGs, each made here with LodePNG's encoder:
// what reading it gives (tiles, lines, palette) or why it is refused, through
// the C++ and the C interface; every image read is drawn back into a PNG that
// reads the same.
#include <venk/image.h>
#include <venk/image.hpp>

#include <gtest/gtest.h>
#include <lodepng.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Pixels = std::function<unsigned(unsigned x, unsigned y)>;

enum class Damage { none, text_chunk, bad_ancillary_chunk, unknown_critical_chunk, truncated, bad_data_crc, huge };

struct PngRecipe {
    unsigned width, height;
    LodePNGColorType type;
    unsigned depth;
    Pixels pixels;
    unsigned palette_entries = 0;  // entry i is red (i & 7) * 32, green (i >> 3 & 7) * 32, blue (i >> 6) * 64
    bool interlaced = false;
    Damage damage = Damage::none;
};

unsigned char* chunk_in(Bytes& png, const char* type) {
    return lodepng_chunk_find(png.data() + 8, png.data() + png.size(), type);
}

void insert_chunk_before_iend(Bytes& png, const char* type, const char* data) {
    unsigned char* chunk = nullptr;
    std::size_t size = 0;
    ASSERT_EQ(lodepng_chunk_create(&chunk, &size, static_cast<unsigned>(std::strlen(data)), type,
                                   reinterpret_cast<const unsigned char*>(data)), 0U);
    png.insert(png.end() - 12, chunk, chunk + size);
    std::free(chunk);
}

Bytes make_png(const PngRecipe& recipe) {
    // Rows of whole bytes: every width in the table times its depth is.
    const unsigned samples = recipe.type == LCT_RGB ? 3 : 1;
    Bytes raw(std::size_t{recipe.width} * samples * recipe.depth / 8 * recipe.height);
    for (std::size_t sample = 0; sample < raw.size() * 8 / recipe.depth; ++sample) {
        const std::size_t bit = sample * recipe.depth;
        const unsigned value = recipe.pixels(static_cast<unsigned>(sample / samples % recipe.width),
                                           static_cast<unsigned>(sample / samples / recipe.width));
        raw[bit / 8] |= static_cast<std::uint8_t>(value << (8 - recipe.depth - bit % 8));
    }
    LodePNGState state;
    lodepng_state_init(&state);
    state.encoder.auto_convert = 0;
    state.info_png.interlace_method = recipe.interlaced ? 1 : 0;
    for (LodePNGColorMode* mode : {&state.info_raw, &state.info_png.color}) {
        mode->colortype = recipe.type;
        mode->bitdepth = recipe.depth;
        for (unsigned i = 0; i < recipe.palette_entries; ++i) {
            lodepng_palette_add(mode, static_cast<unsigned char>((i & 7) * 32), static_cast<unsigned char>((i >> 3 & 7) * 32),
                                static_cast<unsigned char>((i >> 6) * 64), 255);
        }
    }
    if (recipe.damage == Damage::text_chunk || recipe.damage == Damage::bad_ancillary_chunk) {
        lodepng_add_text(&state.info_png, "Software", "a paint program");
        state.encoder.text_compression = 0;
    }
    unsigned char* encoded = nullptr;
    std::size_t size = 0;
    const unsigned failure = lodepng_encode(&encoded, &size, raw.data(), recipe.width, recipe.height, &state);
    lodepng_state_cleanup(&state);
    EXPECT_EQ(failure, 0U) << lodepng_error_text(failure);
    Bytes png(encoded, encoded + size);
    std::free(encoded);
    switch (recipe.damage) {
    case Damage::bad_ancillary_chunk: chunk_in(png, "tEXt")[9] ^= 1; break;
    case Damage::unknown_critical_chunk: insert_chunk_before_iend(png, "VNKX", "x"); break;
    case Damage::truncated: png.resize(png.size() / 2); break;
    case Damage::bad_data_crc: chunk_in(png, "IDAT")[9] ^= 1; break;
    case Damage::huge:
        png[16 + 2] = png[20 + 2] = 0xEA;  // 60000 x 60000 (0xEA60)
        png[16 + 3] = png[20 + 3] = 0x60;
        lodepng_chunk_generate_crc(png.data() + 8);
        break;
    default: break;
    }
    return png;
}

// The 32 bytes of the tile at (column, row) of the pixels, colour index mod 16.
Bytes reference_tile(const Pixels& pixels, unsigned column, unsigned row) {
    Bytes tile(32);
    for (unsigned y = 0; y < 8; ++y) {
        for (unsigned x = 0; x < 8; ++x) {
            tile[y * 4 + x / 2] |= static_cast<std::uint8_t>((pixels(column * 8 + x, row * 8 + y) & 15) << (x % 2 ? 0 : 4));
        }
    }
    return tile;
}

struct Expected {
    venk::ImageResult result = venk::IMAGE_OK;
    std::vector<unsigned> order = {};          // reading-order tile numbers as given; empty: reading order
    std::vector<std::uint8_t> lines = {};      // empty: all 0
    std::vector<std::uint16_t> palette = {};   // the first words; the rest of the palette is 0
    std::size_t palette_lines = 1;
    unsigned x = 0, y = 0;                     // the error's place
    std::uint8_t mixed[2] = {};
    std::uint64_t tiles = 0;                   // IMAGE_TOO_MANY_TILES
};

struct Case {
    const char* name;
    PngRecipe png;
    venk::ImageOptions options;
    Expected expected;
};

unsigned stripes(unsigned x, unsigned y) { return (x + 3 * y) % 16; }
// 8-bit: tile n of each row in line n % 4, and colour 0 from other lines.
unsigned lined(unsigned x, unsigned y) {
    const unsigned colour = (x + y) % 16;
    return (colour == 0 ? (x / 8 + 1) % 4 : x / 8 % 4) * 16 + colour;
}
unsigned mixed_at_40_16(unsigned x, unsigned y) { return x == 43 && y == 17 ? 16 + 5 : 2 * 16 + 1; }
// Real art: the bundled sample, 16 tiles a row.
unsigned sample_pixel(unsigned x, unsigned y) {
    static const std::string sample(
        (std::istreambuf_iterator<char>(std::ifstream(VENK_SAMPLE_TILES, std::ios::binary).rdbuf())), {});
    const std::size_t tile = y / 8 * 16 + x / 8;
    const auto byte = static_cast<unsigned char>(sample.at(tile * 32 + y % 8 * 4 + x % 8 / 2));
    return x % 2 == 0 ? byte >> 4 : byte & 15U;
}
// 8-bit: cell n shows one of two patterns or a blank, turned n / 3 % 4 ways
// (bit 0 mirrored left to right, bit 1 upside down), in line n % 4; a blank's
// colour 0 comes from that line too.
unsigned flipped_tiles(unsigned x, unsigned y) {
    const unsigned n = y / 8 * 6 + x / 8, turn = n / 3 % 4;
    const unsigned px = turn & 1 ? 7 - x % 8 : x % 8, py = turn & 2 ? 7 - y % 8 : y % 8;
    const unsigned colour = n % 3 == 2 ? 0 : (px + 2 * py * py + n % 3 * px * py + 1) % 16;
    return n % 4 * 16 + colour;
}

const Case CASES[] = {
    {"Indexed4Bit", {16, 8, LCT_PALETTE, 4, stripes, 16}, {},
     {.palette = {0x0000, 0x0002, 0x0004, 0x0006, 0x0008, 0x000A, 0x000C, 0x000E, 0x0020, 0x0022}}},
    {"Indexed1Bit", {8, 16, LCT_PALETTE, 1, [](unsigned x, unsigned y) { return (x ^ y) & 1; }, 2}, {},
     {.palette = {0x0000, 0x0002}}},
    {"Indexed2BitShortPalette", {8, 8, LCT_PALETTE, 2, [](unsigned x, unsigned) { return x % 3; }, 3}, {},
     {.palette = {0x0000, 0x0002, 0x0004, 0x0000}}},
    {"Indexed8BitLines", {32, 16, LCT_PALETTE, 8, lined, 256}, {},
     {.lines = {0, 1, 2, 3, 0, 1, 2, 3}, .palette_lines = 4}},
    {"Indexed8BitLineOneOnly", {8, 8, LCT_PALETTE, 8, [](unsigned x, unsigned) { return x == 0 ? 0 : 16 + x; }, 32},
     {}, {.lines = {1}, .palette_lines = 2}},
    {"Grey1Bit", {8, 8, LCT_GREY, 1, [](unsigned x, unsigned) { return x & 1; }}, {}, {.palette = {0x0000, 0x0EEE}}},
    {"Grey2Bit", {8, 8, LCT_GREY, 2, [](unsigned x, unsigned) { return x & 3; }}, {},
     {.palette = {0x0000, 0x0444, 0x0AAA, 0x0EEE}}},
    {"Grey4BitInterlaced", {24, 16, LCT_GREY, 4, stripes, 0, true}, {}, {.palette = {0x0000, 0x0000, 0x0222}}},
    {"Indexed8BitInterlaced", {32, 16, LCT_PALETTE, 8, lined, 256, true}, {},
     {.lines = {0, 1, 2, 3, 0, 1, 2, 3}, .palette_lines = 4}},
    {"TextChunkSkipped", {8, 8, LCT_PALETTE, 4, stripes, 16, false, Damage::text_chunk}, {}, {}},
    {"DamagedAncillaryChunkSkipped", {8, 8, LCT_PALETTE, 4, stripes, 16, false, Damage::bad_ancillary_chunk}, {}, {}},
    {"SpriteCells2x2", {32, 16, LCT_PALETTE, 4, stripes, 16}, {2, 2}, {.order = {0, 4, 1, 5, 2, 6, 3, 7}}},
    {"SpriteCells1x2", {16, 16, LCT_PALETTE, 4, stripes, 16}, {1, 2}, {.order = {0, 2, 1, 3}}},
    {"SampleArt", {128, 280, LCT_PALETTE, 4, sample_pixel, 16}, {}, {}},
    {"FlippedTilesInLines", {48, 32, LCT_PALETTE, 8, flipped_tiles, 256}, {},
     {.lines = {0, 1, 0, 3, 0, 0, 2, 3, 0, 1, 2, 0, 0, 1, 0, 3, 0, 0, 2, 3, 0, 1, 2, 0}, .palette_lines = 4}},
    {"SpriteCells4x1", {32, 8, LCT_PALETTE, 4, stripes, 16}, {4, 1}, {.order = {0, 1, 2, 3}}},
    // Refused.
    {"MixedLines", {48, 24, LCT_PALETTE, 8, mixed_at_40_16, 48}, {},
     {.result = venk::IMAGE_MIXED_LINES, .x = 40, .y = 16, .mixed = {1, 2}}},
    {"IndexPastPalette", {8, 8, LCT_PALETTE, 4, [](unsigned x, unsigned y) { return x == 3 && y == 2 ? 9 : 1; }, 5},
     {}, {.result = venk::IMAGE_INDEX_PAST_PALETTE, .x = 3, .y = 2}},
    {"Rgb", {8, 8, LCT_RGB, 8, stripes}, {}, {.result = venk::IMAGE_NOT_INDEXED}},
    {"Grey8Bit", {8, 8, LCT_GREY, 8, stripes}, {}, {.result = venk::IMAGE_NOT_INDEXED}},
    {"WidthNotTiles", {12, 8, LCT_PALETTE, 4, stripes, 16}, {}, {.result = venk::IMAGE_BAD_SIZE}},
    {"HeightNotCells", {16, 8, LCT_PALETTE, 4, stripes, 16}, {2, 2}, {.result = venk::IMAGE_BAD_SIZE}},
    {"CellTooWide", {40, 8, LCT_PALETTE, 4, stripes, 16}, {5, 1}, {.result = venk::IMAGE_INVALID_OPTIONS}},
    {"HugeHeader", {8, 8, LCT_PALETTE, 4, stripes, 16, false, Damage::huge}, {},
     {.result = venk::IMAGE_TOO_MANY_TILES, .tiles = 7500ULL * 7500}},
    {"Truncated", {64, 64, LCT_PALETTE, 4, stripes, 16, false, Damage::truncated}, {}, {.result = venk::IMAGE_CORRUPT}},
    {"BadDataChecksum", {8, 8, LCT_PALETTE, 4, stripes, 16, false, Damage::bad_data_crc}, {},
     {.result = venk::IMAGE_CORRUPT}},
    {"UnknownCriticalChunk", {8, 8, LCT_PALETTE, 4, stripes, 16, false, Damage::unknown_critical_chunk}, {},
     {.result = venk::IMAGE_CORRUPT}},
};

void PrintTo(const Case& test, std::ostream* out) { *out << test.name; }

unsigned colour_at(const std::uint8_t* tile, unsigned x, unsigned y) {
    const std::uint8_t byte = tile[y * 4 + x / 2];
    return x % 2 == 0 ? byte >> 4 : byte & 15U;
}

// Whether tile `a` is tile `b` mirrored as `turn` says (bit 0 left to
// right, bit 1 upside down), pixel by pixel.
bool is_turned(const std::uint8_t* a, const std::uint8_t* b, unsigned turn) {
    for (unsigned y = 0; y < 8; ++y) {
        for (unsigned x = 0; x < 8; ++x) {
            if (colour_at(a, x, y) != colour_at(b, turn & 1 ? 7 - x : x, turn & 2 ? 7 - y : y)) return false;
        }
    }
    return true;
}

// The image's tile map, with flips and without: the cells and the stored
// tiles give back every pixel and line, the stored tiles are as many as a
// plain comparison of each tile with every earlier one finds, and the base
// moves the indices up to the last one a map word holds.
void check_tile_maps(const venk::TileImage& image) {
    const std::size_t count = image.tiles.size() / 32;
    for (const bool flips : {true, false}) {
        SCOPED_TRACE(flips ? "with flips" : "without flips");
        std::vector<const std::uint8_t*> distinct;
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* tile = &image.tiles[i * 32];
            if (std::none_of(distinct.begin(), distinct.end(), [&](const std::uint8_t* earlier) {
                    for (unsigned turn = 0; turn < (flips ? 4U : 1U); ++turn)
                        if (is_turned(tile, earlier, turn)) return true;
                    return false;
                })) {
                distinct.push_back(tile);
            }
        }
        const std::uint16_t base = static_cast<std::uint16_t>(std::min<std::size_t>(2048 - distinct.size(), 100));
        venk::TileMap map;
        ASSERT_EQ(venk::make_tile_map(image, map, {flips, base}), venk::IMAGE_OK);
        ASSERT_EQ(map.tiles.size(), distinct.size() * 32);
        ASSERT_EQ(map.cells.size(), count);
        EXPECT_EQ(map.width * 8, image.width);
        std::size_t flipped = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned word = map.cells[i], turn = (word >> 11 & 1) | (word >> 11 & 2);
            ASSERT_LT((word & 0x7FF) - base, distinct.size());
            EXPECT_TRUE(is_turned(&image.tiles[i * 32], &map.tiles[((word & 0x7FF) - base) * 32], turn)) << "cell " << i;
            EXPECT_EQ(word >> 13, image.tile_lines[i]) << "cell " << i;
            flipped += turn != 0 ? 1 : 0;
        }
        EXPECT_EQ(map.flipped_cells, flipped);
        venk::ImageError error;
        const auto past = static_cast<std::uint16_t>(2049 - distinct.size());
        if (past < 2048) {
            EXPECT_EQ(venk::make_tile_map(image, map, {flips, past}, &error), venk::IMAGE_TOO_MANY_DISTINCT_TILES);
            EXPECT_EQ(error.tiles, distinct.size());
            EXPECT_TRUE(map.cells.empty());
        }
    }
    venk::TileMap map;
    EXPECT_EQ(venk::make_tile_map(image, map, {true, 2048}), venk::IMAGE_INVALID_OPTIONS);
}

class ImageRead : public testing::TestWithParam<Case> {};

TEST_P(ImageRead, GivesTheTilesOrTheError) {
    const Case& test = GetParam();
    const Bytes png = make_png(test.png);
    venk::TileImage image;
    venk::ImageError error;
    const venk::ImageResult result = venk::read_png(png, image, test.options, &error);
    ASSERT_EQ(result, test.expected.result) << venk::image_result_message(result);

    // The C interface gives the same.
    Bytes c_tiles(venk_image_tiles_bound(png.data(), png.size()));
    std::uint16_t c_palette[VENK_IMAGE_PALETTE_MAX];
    std::size_t c_tiles_size = 1, c_palette_size = 1;
    venk_image_error c_error;
    EXPECT_EQ(venk_image_read_png(png.data(), png.size(), test.options.cell_width, test.options.cell_height,
                                  c_tiles.data(), c_tiles.size(), &c_tiles_size, c_palette, VENK_IMAGE_PALETTE_MAX,
                                  &c_palette_size, &c_error),
              result);
    EXPECT_EQ(c_tiles_size, image.tiles.size());
    EXPECT_EQ(Bytes(c_tiles.begin(), c_tiles.begin() + static_cast<std::ptrdiff_t>(c_tiles_size)), image.tiles);
    EXPECT_EQ(std::vector<std::uint16_t>(c_palette, c_palette + c_palette_size), image.palette);
    EXPECT_EQ(c_error.x, error.x);
    EXPECT_EQ(c_error.lines[1], error.lines[1]);

    if (result != venk::IMAGE_OK) {
        EXPECT_TRUE(image.tiles.empty());
        EXPECT_EQ(error.x, test.expected.x);
        EXPECT_EQ(error.y, test.expected.y);
        EXPECT_EQ(error.lines[0], test.expected.mixed[0]);
        EXPECT_EQ(error.lines[1], test.expected.mixed[1]);
        EXPECT_EQ(error.tiles, test.expected.tiles);
        return;
    }
    const unsigned columns = test.png.width / 8;
    const std::size_t count = std::size_t{columns} * (test.png.height / 8);
    Bytes tiles;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned tile = test.expected.order.empty() ? static_cast<unsigned>(i) : test.expected.order[i];
        const Bytes expected = reference_tile(test.png.pixels, tile % columns, tile / columns);
        tiles.insert(tiles.end(), expected.begin(), expected.end());
    }
    EXPECT_EQ(image.tiles, tiles);
    EXPECT_EQ(image.tile_lines, test.expected.lines.empty() ? Bytes(count, 0) : test.expected.lines);
    ASSERT_EQ(image.palette.size(), 16 * test.expected.palette_lines);
    for (std::size_t i = 0; i < test.expected.palette.size(); ++i) {
        EXPECT_EQ(image.palette[i], test.expected.palette[i]) << "palette word " << i;
    }
    EXPECT_EQ(image.width, test.png.width);

    // Drawn into a picture as wide as the image, the tiles read back the
    // same, with their lines and palette.
    if (test.options.cell_width == 1 && test.options.cell_height == 1) {
        Bytes picture;
        ASSERT_EQ(venk::write_png(image.tiles, picture, {columns, image.palette, image.tile_lines}), venk::IMAGE_OK);
        venk::TileImage again;
        ASSERT_EQ(venk::read_png(picture, again), venk::IMAGE_OK);
        EXPECT_EQ(again.tiles, image.tiles);
        EXPECT_EQ(again.tile_lines, image.tile_lines);
        EXPECT_EQ(again.palette, image.palette);
        check_tile_maps(image);
    }
}

INSTANTIATE_TEST_SUITE_P(Images, ImageRead, testing::ValuesIn(CASES),
                         [](const testing::TestParamInfo<Case>& row) { return std::string(row.param.name); });

// Pictures: the layout, the filler and the palette, and the refusals.
TEST(ImageWrite, DrawsTilesInRowsOrRefuses) {
    Bytes three_tiles(3 * 32, 0x11);
    Bytes picture;
    ASSERT_EQ(venk::write_png(three_tiles, picture, {.columns = 2}), venk::IMAGE_OK);
    unsigned char* pixels = nullptr;
    unsigned width = 0, height = 0;
    LodePNGState state;
    lodepng_state_init(&state);
    state.decoder.color_convert = 0;
    ASSERT_EQ(lodepng_decode(&pixels, &width, &height, &state, picture.data(), picture.size()), 0U);
    EXPECT_EQ(width, 16U);
    EXPECT_EQ(height, 16U);
    EXPECT_EQ(state.info_png.color.colortype, LCT_PALETTE);
    EXPECT_EQ(state.info_png.color.bitdepth, 4U);
    EXPECT_EQ(pixels[8 * 8 + 3], 0x11);  // the third tile, left of the second row
    EXPECT_EQ(pixels[8 * 8 + 4], 0x00);  // the filler beside it
    ASSERT_EQ(state.info_png.color.palettesize, 16U);
    EXPECT_EQ(state.info_png.color.palette[15 * 4], 255);  // grey ramp up to white
    std::free(pixels);
    lodepng_state_cleanup(&state);

    const std::uint8_t bad_line[] = {4, 0, 0};
    EXPECT_EQ(venk::write_png(Bytes(33), picture), venk::IMAGE_BAD_TILES);
    EXPECT_EQ(venk::write_png({}, picture), venk::IMAGE_BAD_TILES);
    EXPECT_EQ(venk::write_png(three_tiles, picture, {.columns = 0}), venk::IMAGE_INVALID_OPTIONS);
    EXPECT_EQ(venk::write_png(three_tiles, picture, {.tile_lines = bad_line}), venk::IMAGE_INVALID_OPTIONS);
    EXPECT_EQ(venk::write_png(three_tiles, picture, {.tile_lines = {bad_line, 2}}), venk::IMAGE_INVALID_OPTIONS);
    EXPECT_TRUE(picture.empty());
}

}  // namespace
