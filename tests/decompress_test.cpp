// The decompressor's failures that golden streams cannot show: a source that
// fails and a sink that stops accepting bytes, at every step.
#include "support/test_streams.hpp"
#include "support/tiles.hpp"

#include <gtest/gtest.h>

namespace venk::test {
namespace {

// Header (N = 3, D = 16), dictionary 00..0F, and three map entries.
const Bytes STREAM = {
    0x00, 0x03, 0x00, 0x10,                                                          // header
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,                            // dictionary
    0x00, 0x00, 0x00, 0x02, 0x00, 0x04, 0x00, 0x08,                                  // tile 0
    0x00, 0x08, 0x00, 0x08, 0x00, 0x08, 0x00, 0x08,                                  // tile 1
    0x00, 0x06, 0x00, 0x04, 0x00, 0x02, 0x00, 0x00,                                  // tile 2
};

TEST(Decompress, ReadErrorAtEveryStep) {
    const struct {
        const char* step;
        std::size_t fail_after;
    } cases[] = {
        {"tile count", 0}, {"inside the tile count", 1}, {"dictionary size", 2}, {"inside the dictionary size", 3},
        {"dictionary", 4}, {"inside the dictionary", 12}, {"last dictionary byte", 19}, {"first entry", 20},
        {"inside the first entry", 21}, {"entry boundary", 28}, {"inside an entry", 29},
        {"last entry", 36}, {"inside the last entry", 43}, {"last entry boundary", 44},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        TestInput input(STREAM, c.fail_after);
        TestOutput output;
        EXPECT_EQ(decompress_tiles(input, output, FORMAT_VENK16), RESULT_READ_ERROR);
        // Each whole entry read before the failure was written out.
        const std::size_t entries_before = c.fail_after > 20 ? (c.fail_after - 20) / 8 : 0;
        EXPECT_EQ(output.written.size(), 32 * entries_before);
    }
}

TEST(Decompress, ShortWriteOnAnyTile) {
    for (const std::size_t limit : {0u, 31u, 32u, 48u, 64u, 95u}) {
        SCOPED_TRACE(testing::Message() << "output accepts " << limit << " bytes");
        TestInput input(STREAM);
        TestOutput output(limit);
        EXPECT_EQ(decompress_tiles(input, output, FORMAT_VENK16), RESULT_WRITE_ERROR);
    }
}

// Tiles before a rejected entry still go out first, so a sink that fails on
// them decides the result, as it would with one write per tile.
TEST(Decompress, EarlierTilesAreWrittenBeforeARejectedEntry) {
    Bytes stream = STREAM;
    stream[stream.size() - 1] = 0x09;  // the last entry's quadrant 3 is odd
    const struct {
        std::size_t accept_limit;
        ResultCode result;
        std::size_t written;
    } cases[] = {{NEVER, RESULT_INVALID_STREAM, 64}, {64, RESULT_INVALID_STREAM, 64}, {40, RESULT_WRITE_ERROR, 40}};
    for (const auto& c : cases) {
        TestInput input(stream);
        TestOutput output(c.accept_limit);
        EXPECT_EQ(decompress_tiles(input, output, FORMAT_VENK16), c.result);
        EXPECT_EQ(output.written.size(), c.written);
    }
}

TEST(Decompress, ManyTilesCrossBatches) {
    const Bytes blob = blob_with_distinct_blocks(8191);
    const Bytes repeated = repeat(blob, 8);  // 16384 tiles, 65535 is the limit
    Bytes stream;
    ASSERT_EQ(compress_memory(repeated, FORMAT_VENK16, stream), RESULT_OK);
    Bytes back;
    EXPECT_EQ(decompress_memory(stream, FORMAT_VENK16, back), RESULT_OK);
    EXPECT_EQ(back, repeated);
}

}  // namespace
}  // namespace venk::test
