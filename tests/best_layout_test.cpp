// The best layout: every way to ask for it gives the same stream, which
// decodes to the input, maps each block to its lowest even offset and is
// never larger than the default one; and it fits inputs the default cannot.
#include "support/test_streams.hpp"
#include "support/tiles.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace venk::test {
namespace {

struct Compressed {
    ResultCode result;
    Bytes stream;
};

// Quadrant block `index` of the blob (quadrant index % 4 of tile index / 4)
// as one number, first byte highest.
std::uint64_t block_at(const Bytes& blob, std::size_t index) {
    std::uint64_t block = 0;
    for (const int position : QUADRANT_POSITIONS[index % 4]) block = block << 8 | blob[index / 4 * 32 + std::size_t(position)];
    return block;
}

// The figures that describe a stream of these bytes.
void expect_stats(const StreamStats& stats, const Bytes& stream, std::size_t distinct_blocks) {
    EXPECT_EQ(stats.tiles, (stream.size() - 4 - load16(stream, 2)) / 8);
    EXPECT_EQ(stats.distinct_blocks, distinct_blocks);
    EXPECT_EQ(stats.dictionary_size, load16(stream, 2));
    EXPECT_EQ(stats.stream_size, stream.size());
    EXPECT_EQ(stats.blob_size, stats.tiles * 32);
}

// Compresses through both entry points and expects the same outcome from
// each; returns it. A level value other than the two named ones counts as
// LEVEL_DEFAULT.
Compressed compress_best(const Bytes& blob, FormatVariant variant) {
    Compressed in_memory{};
    StreamStats stats;
    in_memory.result = compress_memory_at_level(blob, variant, in_memory.stream, LEVEL_BEST, &stats);
    if (in_memory.result == RESULT_OK) {
        EXPECT_EQ(stats.dictionary_limit, variant == FORMAT_VENK15 ? 32767u : 65535u);
        std::vector<std::uint64_t> blocks;
        for (std::size_t index = 0; index < blob.size() / 8; ++index) blocks.push_back(block_at(blob, index));
        std::ranges::sort(blocks);
        expect_stats(stats, in_memory.stream, static_cast<std::size_t>(std::ranges::unique(blocks).begin() - blocks.begin()));
    }
    TestInput input(blob);
    TestOutput output;
    EXPECT_EQ(compress_tiles_at_level(input, output, variant, LEVEL_BEST), in_memory.result);
    EXPECT_TRUE(output.written == in_memory.stream) << "a second run wrote another stream";
    Bytes other_level;
    Bytes default_level;
    EXPECT_EQ(compress_memory_at_level(blob, variant, other_level, static_cast<CompressionLevel>(9)),
              compress_memory(blob, variant, default_level));
    EXPECT_TRUE(other_level == default_level) << "another level value is not taken as LEVEL_DEFAULT";
    return in_memory;
}

// Every map offset names the lowest even offset whose 8 bytes are the block
// the tile needs there.
void expect_lowest_offsets(const Bytes& blob, const Bytes& stream) {
    const std::size_t size = load16(stream, 2);
    std::map<std::uint64_t, std::size_t> lowest;
    for (std::size_t offset = 0; offset + 8 <= size; offset += 2) {
        std::uint64_t block = 0;
        for (std::size_t i = 0; i < 8; ++i) block = block << 8 | stream[4 + offset + i];
        lowest.try_emplace(block, offset);
    }
    for (std::size_t index = 0; index < blob.size() / 8; ++index) {
        ASSERT_EQ(load16(stream, 4 + size + index * 2), lowest.at(block_at(blob, index))) << "block " << index;
    }
}

BlockBytes rows(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    return {a, a, b, b, c, c, d, d};
}

// One tile of these four blocks.
Bytes tile(const BlockBytes& a, const BlockBytes& b, const BlockBytes& c, const BlockBytes& d) {
    Bytes blob;
    append_tile(blob, {a, b, c, d});
    return blob;
}

TEST(BestLayout, SmallestStreamsThatDecodeToTheInput) {
    Bytes shared_rows;  // blocks 1 2 3 4 and 3 4 5 6 share two rows
    append_tile(shared_rows, {rows(1, 2, 3, 4), rows(3, 4, 5, 6), rows(1, 2, 3, 4), rows(3, 4, 5, 6)});
    // Each of the four tie orders links the blocks of one of these tiles into
    // the shortest dictionary alone: every other order shares fewer rows.
    // Then a tile whose best layout (2 2 1 1 1 1 2 2) is only as short as the
    // default one (1 1 1 1 2 2 1 1, the third block straddling the first two).
    const struct {
        const char* name;
        Bytes blob;
        FormatVariant variant;
        ResultCode default_result;
        ResultCode best_result;
        std::size_t best_dictionary_size;  // 0: not pinned
    } cases[] = {
        {"two rows shared", shared_rows, FORMAT_VENK16, RESULT_OK, RESULT_OK, 0},
        {"one zero tile", Bytes(32, 0), FORMAT_VENK15, RESULT_OK, RESULT_OK, 0},
        {"eight-row alphabet", random_blob(1, 3000, 8), FORMAT_VENK15, RESULT_OK, RESULT_OK, 0},
        {"ascending bytes", random_blob(2, 700, 256), FORMAT_VENK16, RESULT_OK, RESULT_OK, 0},
        {"4095 blocks that share no row", blob_with_distinct_blocks(4095), FORMAT_VENK15, RESULT_OK, RESULT_OK, 0},
        {"4096 blocks that share no row", blob_with_distinct_blocks(4096), FORMAT_VENK15, RESULT_TOO_BIG,
         RESULT_TOO_BIG, 0},
        {"too big for the default, not for the layout", random_blob(3, 20000, 12), FORMAT_VENK16, RESULT_TOO_BIG,
         RESULT_OK, 0},
        {"too big for VENK15 even laid out", random_blob(3, 20000, 12), FORMAT_VENK15, RESULT_TOO_BIG,
         RESULT_TOO_BIG, 0},
        {"65535 zero tiles", Bytes(65535 * 32, 0), FORMAT_VENK16, RESULT_OK, RESULT_OK, 0},
        {"65536 zero tiles", Bytes(65536 * 32, 0), FORMAT_VENK16, RESULT_TOO_BIG, RESULT_TOO_BIG, 0},
        {"no tiles", {}, FORMAT_VENK16, RESULT_NO_TILES, RESULT_NO_TILES, 0},
        {"a partial tile", Bytes(33, 0), FORMAT_VENK16, RESULT_BAD_INPUT_SIZE, RESULT_BAD_INPUT_SIZE, 0},
        {"ends and starts first: 20 bytes, 22 in other orders",
         tile(rows(1, 2, 2, 1), rows(1, 1, 1, 2), rows(2, 1, 1, 2), rows(1, 2, 1, 2)), FORMAT_VENK16, RESULT_OK,
         RESULT_OK, 20},
        {"ends last, starts first: 18 bytes, 22 in other orders",
         tile(rows(2, 1, 2, 2), rows(2, 2, 1, 2), rows(1, 2, 1, 1), rows(1, 2, 1, 2)), FORMAT_VENK16, RESULT_OK,
         RESULT_OK, 18},
        {"ends first, starts last: 18 bytes, 20 in other orders",
         tile(rows(1, 2, 1, 2), rows(2, 2, 1, 2), rows(2, 2, 1, 1), rows(1, 2, 2, 1)), FORMAT_VENK16, RESULT_OK,
         RESULT_OK, 18},
        {"ends and starts last: 18 bytes, 20 in other orders",
         tile(rows(1, 2, 1, 1), rows(1, 2, 1, 2), rows(2, 2, 1, 1), rows(1, 1, 2, 1)), FORMAT_VENK16, RESULT_OK,
         RESULT_OK, 18},
        {"a layout that only ties the default",
         tile(rows(1, 1, 1, 1), rows(2, 2, 1, 1), rows(1, 1, 2, 2), rows(1, 1, 1, 1)), FORMAT_VENK16, RESULT_OK,
         RESULT_OK, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << ", variant " << int{c.variant});
        Bytes plain;
        ASSERT_EQ(compress_memory(c.blob, c.variant, plain), c.default_result);
        const Compressed best = compress_best(c.blob, c.variant);
        ASSERT_EQ(best.result, c.best_result);
        if (best.result != RESULT_OK) {
            EXPECT_TRUE(best.stream.empty());
            continue;
        }
        if (c.best_dictionary_size != 0) {
            EXPECT_EQ(load16(best.stream, 2), c.best_dictionary_size);
        }
        if (c.default_result == RESULT_OK) {
            EXPECT_LE(load16(best.stream, 2), load16(plain, 2));
            // A layout no shorter than the default one is not worth another stream.
            if (load16(best.stream, 2) == load16(plain, 2)) {
                EXPECT_EQ(best.stream, plain);
            }
        }
        TestInput input(best.stream);
        TestOutput back;
        StreamStats stats;
        ASSERT_EQ(decompress_tiles_with_stats(input, back, c.variant, &stats), RESULT_OK);
        EXPECT_EQ(back.written, c.blob);
        expect_stats(stats, best.stream, 0);
        expect_lowest_offsets(c.blob, best.stream);
    }
    // The known answer: 1 2 3 4 5 6, the second block at offset 4.
    const Bytes expected = {0, 1, 0, 12, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 0, 0, 0, 4, 0, 0, 0, 4};
    EXPECT_EQ(compress_best(shared_rows, FORMAT_VENK16).stream, expected);
}

TEST(BestLayout, FailuresOfTheStreams) {
    const Bytes blob = random_blob(4, 100, 8);
    TestInput failing_input(blob, 1000);
    TestOutput output;
    EXPECT_EQ(compress_tiles_at_level(failing_input, output, FORMAT_VENK16, LEVEL_BEST), RESULT_READ_ERROR);
    EXPECT_TRUE(output.written.empty());
    TestInput input(blob);
    TestOutput short_output(100);
    EXPECT_EQ(compress_tiles_at_level(input, short_output, FORMAT_VENK16, LEVEL_BEST), RESULT_WRITE_ERROR);
}

}  // namespace
}  // namespace venk::test
