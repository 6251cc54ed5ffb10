// The compressor: known answers, the limits of both variants, and every way
// it can fail.
#include "support/test_streams.hpp"
#include "support/tiles.hpp"

#include <gtest/gtest.h>

namespace venk::test {
namespace {

struct Compressed {
    ResultCode result;
    Bytes stream;
};

Compressed compress(const Bytes& blob, FormatVariant variant = FORMAT_VENK16) {
    TestInput input(blob);
    TestOutput output;
    const ResultCode result = compress_tiles(input, output, variant);
    return {result, output.written};
}

// The tile with rows 11 11 55 55 / 22 22 66 66 / 33 33 77 77 / 44 44 88 88 /
// 33 33 22 22 / 44 44 33 33 / 55 55 44 44 / 66 66 55 55: its lower quadrants
// straddle the two blocks stored for the upper ones.
const Bytes STRADDLING_TILE = {
    0x11, 0x11, 0x55, 0x55, 0x22, 0x22, 0x66, 0x66, 0x33, 0x33, 0x77, 0x77, 0x44, 0x44, 0x88, 0x88,
    0x33, 0x33, 0x22, 0x22, 0x44, 0x44, 0x33, 0x33, 0x55, 0x55, 0x44, 0x44, 0x66, 0x66, 0x55, 0x55,
};
const Bytes STRADDLING_DICTIONARY = {0x11, 0x11, 0x22, 0x22, 0x33, 0x33, 0x44, 0x44,
                                     0x55, 0x55, 0x66, 0x66, 0x77, 0x77, 0x88, 0x88};

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

TEST(Compress, KnownAnswers) {
    const Bytes straddling_entry = {0x00, 0x00, 0x00, 0x08, 0x00, 0x04, 0x00, 0x02};
    const struct {
        const char* name;
        Bytes blob;
        Bytes stream;
    } cases[] = {
        {"one zero tile", Bytes(32, 0), concat({{0, 1, 0, 8}, Bytes(8, 0), Bytes(8, 0)})},
        {"straddling tile", STRADDLING_TILE, concat({{0, 1, 0, 16}, STRADDLING_DICTIONARY, straddling_entry})},
        {"straddling tile twice", repeat(STRADDLING_TILE, 2),
         concat({{0, 2, 0, 16}, STRADDLING_DICTIONARY, straddling_entry, straddling_entry})},
    };
    for (const auto& c : cases) {
        for (const FormatVariant variant : {FORMAT_VENK15, FORMAT_VENK16}) {
            SCOPED_TRACE(testing::Message() << c.name << ", variant " << int{variant});
            const Compressed out = compress(c.blob, variant);
            EXPECT_EQ(out.result, RESULT_OK);
            EXPECT_EQ(out.stream, c.stream);
        }
    }
}

// A second tile whose quadrant 0 block is a run of the first tile's
// dictionary (00 01 .. 0F): found at the given offset, or appended at 16.
TEST(Compress, FindsTheLowestEvenOffsetAcrossStoredBlocks) {
    const struct {
        std::uint8_t first_byte;
        std::uint16_t expected_offset;
    } cases[] = {{0, 0}, {2, 2}, {4, 4}, {6, 6}, {8, 8}, {1, 16}, {3, 16}};
    Bytes first_tile;
    append_tile(first_tile, {{{0, 1, 2, 3, 4, 5, 6, 7}, {8, 9, 10, 11, 12, 13, 14, 15},
                              {0, 1, 2, 3, 4, 5, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7}}});
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "block starting at byte " << int{c.first_byte});
        BlockBytes run{};
        for (std::uint8_t i = 0; i < 8; ++i) {
            run[i] = static_cast<std::uint8_t>(c.first_byte + i);
        }
        Bytes blob = first_tile;
        append_tile(blob, {run, run, run, run});
        const Compressed out = compress(blob);
        ASSERT_EQ(out.result, RESULT_OK);
        const std::size_t dictionary_size = load16(out.stream, 2);
        EXPECT_EQ(dictionary_size, c.expected_offset == 16 ? 24u : 16u);
        const std::size_t second_entry = 4 + dictionary_size + 8;
        for (std::size_t q = 0; q < 4; ++q) {
            EXPECT_EQ(load16(out.stream, second_entry + 2 * q), c.expected_offset);
        }
    }
}

TEST(Compress, DictionaryAndTileLimits) {
    const Bytes zero_tile(32, 0);
    const struct {
        const char* name;
        Bytes blob;
        FormatVariant variant;
        ResultCode result;
        std::size_t dictionary_size;
    } cases[] = {
        {"4095 blocks, VENK15", blob_with_distinct_blocks(4095), FORMAT_VENK15, RESULT_OK, 32760},
        {"4096 blocks, VENK15", blob_with_distinct_blocks(4096), FORMAT_VENK15, RESULT_TOO_BIG, 0},
        {"4096 blocks, VENK16", blob_with_distinct_blocks(4096), FORMAT_VENK16, RESULT_OK, 32768},
        {"8191 blocks, VENK16", blob_with_distinct_blocks(8191), FORMAT_VENK16, RESULT_OK, 65528},
        {"8192 blocks, VENK16", blob_with_distinct_blocks(8192), FORMAT_VENK16, RESULT_TOO_BIG, 0},
        {"4096 blocks, another value as VENK15", blob_with_distinct_blocks(4096), static_cast<FormatVariant>(7),
         RESULT_TOO_BIG, 0},
        {"65535 zero tiles", repeat(zero_tile, 65535), FORMAT_VENK15, RESULT_OK, 8},
        {"65536 zero tiles", repeat(zero_tile, 65536), FORMAT_VENK16, RESULT_TOO_BIG, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Compressed out = compress(c.blob, c.variant);
        EXPECT_EQ(out.result, c.result);
        if (c.result != RESULT_OK) {
            EXPECT_TRUE(out.stream.empty());
            continue;
        }
        const std::size_t tiles = c.blob.size() / 32;
        ASSERT_EQ(out.stream.size(), 4 + c.dictionary_size + 8 * tiles);
        EXPECT_EQ(load16(out.stream, 0), tiles);
        EXPECT_EQ(load16(out.stream, 2), c.dictionary_size);
    }
}

// Failures that stop the compressor before it writes a byte.
TEST(Compress, RejectedInputsWriteNothing) {
    const Bytes too_big = blob_with_distinct_blocks(8192);
    const struct {
        const char* name;
        Bytes blob;
        std::size_t fail_after;
        ResultCode result;
    } cases[] = {
        {"empty", {}, NEVER, RESULT_NO_TILES},
        {"31 bytes", Bytes(31, 0), NEVER, RESULT_BAD_INPUT_SIZE},
        {"33 bytes", Bytes(33, 0), NEVER, RESULT_BAD_INPUT_SIZE},
        {"too big and a partial tile", concat({too_big, Bytes(5, 1)}), NEVER, RESULT_BAD_INPUT_SIZE},
        {"read error at once", Bytes(64, 0), 0, RESULT_READ_ERROR},
        {"read error inside a tile", Bytes(64, 0), 40, RESULT_READ_ERROR},
        {"read error on a tile boundary", Bytes(64, 0), 32, RESULT_READ_ERROR},
        {"read error after a whole chunk", Bytes(200000, 0), 65536, RESULT_READ_ERROR},
        {"read error once too big", concat({too_big, Bytes(4096, 0)}), too_big.size() + 64, RESULT_READ_ERROR},
        {"read error on a partial tile", Bytes(33, 0), 33, RESULT_READ_ERROR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestInput input(c.blob, c.fail_after);
        TestOutput output;
        EXPECT_EQ(compress_tiles(input, output, FORMAT_VENK16), c.result);
        EXPECT_TRUE(output.written.empty());
    }
}

// A source that fails at the start of, inside, or at the end of each tile:
// the whole input is read before anything is written, so nothing is.
TEST(Compress, ReadErrorInEveryTile) {
    const Bytes blob = repeat(STRADDLING_TILE, 3);
    for (const std::size_t fail_after : {1u, 31u, 33u, 63u, 64u, 65u, 95u, 96u}) {
        SCOPED_TRACE(testing::Message() << "input fails after " << fail_after << " bytes");
        TestInput input(blob, fail_after);
        TestOutput output;
        EXPECT_EQ(compress_tiles(input, output, FORMAT_VENK15), RESULT_READ_ERROR);
        EXPECT_TRUE(output.written.empty());
    }
}

// A short write at every step of the output: both header words, the
// dictionary and the tile map.
TEST(Compress, ShortWriteAtEveryStep) {
    const Bytes blob = repeat(STRADDLING_TILE, 3);
    const std::size_t stream_size = 4 + 16 + 3 * 8;
    for (const std::size_t limit : {0u, 1u, 2u, 3u, 4u, 19u, 20u, 43u}) {
        SCOPED_TRACE(testing::Message() << "output accepts " << limit << " bytes");
        TestInput input(blob);
        TestOutput output(limit);
        EXPECT_EQ(compress_tiles(input, output, FORMAT_VENK16), RESULT_WRITE_ERROR);
        EXPECT_LE(output.written.size(), limit);
    }
    // A sink that is short once and then accepts again.
    for (const std::size_t call : {0u, 1u, 2u, 3u}) {
        SCOPED_TRACE(testing::Message() << "write call " << call << " is short");
        TestInput input(blob);
        TestOutput output;
        output.short_write_call = call;
        EXPECT_EQ(compress_tiles(input, output, FORMAT_VENK16), RESULT_WRITE_ERROR);
    }
    TestInput input(blob);
    TestOutput output(stream_size);
    EXPECT_EQ(compress_tiles(input, output, FORMAT_VENK16), RESULT_OK);
}

}  // namespace
}  // namespace venk::test
