// The indexed block search against the plain scan of every even offset: the
// same offsets block by block, and the same streams byte for byte under two
// keys of the index, on seeded inputs full of straddling matches, at every
// limit and with probe chains that wrap around the index.
#include "compressor.hpp"
#include "plain_scan.hpp"

#include "support/colliding_blocks.hpp"
#include "support/test_streams.hpp"
#include "support/tiles.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace venk::test {
namespace {

struct Compressed {
    ResultCode result;
    Bytes stream;
};

// Two keys for the index: the streams must not depend on the key.
constexpr HashKey KEY_A{0x0123456789ABCDEFu, 0x0F1E2D3C4B5A6978u};
constexpr HashKey KEY_B{0xFFFFFFFFFFFFFFFFu, 1};

Compressed compress_with(BlockSearch search, const Bytes& blob, FormatVariant variant) {
    TestInput input(blob);
    TestOutput output;
    const ResultCode result = compress_tiles_with(search, input, output, variant);
    return {result, output.written};
}

Compressed compress_with_key(const HashKey& key, const Bytes& blob, FormatVariant variant) {
    TestInput input(blob);
    TestOutput output;
    const ResultCode result = compress_tiles_with_key(key, find_or_append_block, input, output, variant);
    return {result, output.written};
}

// Compresses with the plain scan and with the index under each key, and
// expects the same outcome from all; returns it.
Compressed expect_same_streams(const Bytes& blob, FormatVariant variant) {
    const Compressed plain = compress_with(plain_scan_find_or_append_block, blob, variant);
    for (const HashKey& key : {KEY_A, KEY_B}) {
        SCOPED_TRACE(testing::Message() << "key " << std::hex << key.k0 << " " << key.k1);
        const Compressed indexed = compress_with_key(key, blob, variant);
        EXPECT_EQ(indexed.result, plain.result);
        EXPECT_TRUE(indexed.stream == plain.stream) << "streams differ";
    }
    return plain;
}

// Tiles of blocks A, B, C that all start their search in the last slot under
// KEY_A: B is found only after a wrap to the first slot, and C is missed
// only after one.
Bytes blob_whose_probes_wrap() {
    const std::vector<BlockBytes> last_slot = blocks_in_slot(KEY_A, Dictionary::SLOT_COUNT - 1, 3);
    const BlockBytes& a = last_slot[0];
    const BlockBytes& b = last_slot[1];
    const BlockBytes& c = last_slot[2];
    Bytes blob;
    append_tile(blob, {a, b, a, b});
    append_tile(blob, {c, b, c, a});
    return blob;
}

// The tables of the index are SipHash-1-3 output: checked against values from
// another implementation (CPython's), since a fault there could leave the
// tables predictable without failing any other test. The rest of the keying
// too: two fresh keys differ, and blocks crowded into one slot under one key
// spread out under another.
TEST(Differential, TheIndexIsKeyedWithAFreshKey) {
    const struct {
        HashKey key;
        std::uint64_t word;
        std::uint64_t hash;
    } cases[] = {
        {{0, 0}, 0x0706050403020100u, 0xEAD411E67EBE2EEAu},
        {{0xAED66CE184BE2329u, 0xEBE9BBF1F1499052u}, 0x0706050403020100u, 0xC0B5739E7E28DD01u},
        {{0x25556DC46DC3DCA0u, 0xFC3EE4DBD06F6C90u}, 0xFFFFFFFFFFFFFFFFu, 0x21DCAD60D2BDBA3Fu},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(siphash13(c.key, c.word), c.hash) << std::hex << c.key.k0 << " " << c.word;
    }
    const HashKey first = random_hash_key();
    const HashKey second = random_hash_key();
    EXPECT_FALSE(first.k0 == second.k0 && first.k1 == second.k1);
    const TabulationHash other(KEY_B);
    std::set<std::size_t> slots;
    for (const BlockBytes& block : blocks_in_slot(KEY_A, 0, 4)) {
        slots.insert(Dictionary::first_slot(other, block));
    }
    EXPECT_GT(slots.size(), 1u);
}

// Feeds the same blocks to both searches, comparing every offset, until the
// dictionary is full or the blocks run out.
TEST(Differential, SameOffsetsBlockByBlockUpToTheCapacity) {
    const struct {
        std::uint32_t seed;
        unsigned symbols;
        std::size_t blocks;
        bool fills_the_dictionary;
    } cases[] = {
        {1, 2, 3000, false}, {2, 3, 3000, false}, {3, 5, 10000, false},
        {4, 8, 10000, false}, {5, 16, 12000, true}, {6, 1, 100, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "seed " << c.seed << ", " << c.symbols << " symbols");
        // Any 8 bytes of such a blob are four rows of the alphabet.
        const Bytes rows = random_blob(c.seed, c.blocks / 4, c.symbols);
        Dictionary indexed;
        Dictionary plain;
        std::size_t straddling_matches = 0;
        for (std::size_t i = 0; i < c.blocks; ++i) {
            Block block{};
            std::copy_n(rows.begin() + static_cast<std::ptrdiff_t>(i * BLOCK_SIZE), BLOCK_SIZE, block.begin());
            std::size_t indexed_offset = 0;
            std::size_t plain_offset = 0;
            const ResultCode result = find_or_append_block(indexed, block, indexed_offset);
            ASSERT_EQ(result, plain_scan_find_or_append_block(plain, block, plain_offset)) << "block " << i;
            if (result == RESULT_TOO_BIG) {
                break;
            }
            ASSERT_EQ(indexed_offset, plain_offset) << "block " << i;
            straddling_matches += indexed_offset % BLOCK_SIZE != 0 ? 1u : 0u;
        }
        EXPECT_TRUE(std::ranges::equal(indexed.bytes(), plain.bytes()));
        EXPECT_EQ(indexed.size() == Dictionary::CAPACITY, c.fills_the_dictionary);
        if (c.symbols > 1) {
            EXPECT_GT(straddling_matches, 0u) << "the input never exercised a straddling match";
        }
    }
}

TEST(Differential, SameStreamsOnSeededBlobs) {
    std::mt19937 random(2024);
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        const unsigned symbols = 2 + seed % 15;
        const std::size_t tiles = 1 + random() % 200;
        const FormatVariant variant = seed % 2 == 0 ? FORMAT_VENK15 : FORMAT_VENK16;
        SCOPED_TRACE(testing::Message() << "seed " << seed << ", " << symbols << " symbols, " << tiles
                                        << " tiles, variant " << int{variant});
        expect_same_streams(random_blob(seed, tiles, symbols), variant);
    }
}

TEST(Differential, SameStreamsAtTheLimits) {
    const Bytes zero_tile(32, 0);
    const struct {
        const char* name;
        Bytes blob;
        FormatVariant variant;
    } cases[] = {
        {"4095 distinct blocks", blob_with_distinct_blocks(4095), FORMAT_VENK15},
        {"4096 distinct blocks", blob_with_distinct_blocks(4096), FORMAT_VENK15},
        {"8191 distinct blocks", blob_with_distinct_blocks(8191), FORMAT_VENK16},
        {"8192 distinct blocks", blob_with_distinct_blocks(8192), FORMAT_VENK16},
        {"65535 zero tiles", repeat(zero_tile, 65535), FORMAT_VENK16},
        {"65536 zero tiles", repeat(zero_tile, 65536), FORMAT_VENK16},
        {"probe chains that wrap from the last slot", blob_whose_probes_wrap(), FORMAT_VENK16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expect_same_streams(c.blob, c.variant);
    }
}

// The number of leading tiles of `blob` that still compress: the dictionary
// only grows with each tile, so a binary search finds the edge.
std::size_t tiles_that_fit(const Bytes& blob, FormatVariant variant) {
    std::size_t fits = 0;
    std::size_t too_big = blob.size() / 32;
    while (too_big - fits > 1) {
        const std::size_t middle = (fits + too_big) / 2;
        const Bytes prefix(blob.begin(), blob.begin() + static_cast<std::ptrdiff_t>(middle * 32));
        (compress_with(find_or_append_block, prefix, variant).result == RESULT_OK ? fits : too_big) = middle;
    }
    return fits;
}

// Random blobs cut just below and just above the dictionary limit, where the
// last tiles fill the dictionary through straddling matches.
TEST(Differential, SameStreamsOnEitherSideOfTheDictionaryLimit) {
    const struct {
        std::uint32_t seed;
        FormatVariant variant;
    } cases[] = {{11, FORMAT_VENK15}, {12, FORMAT_VENK16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "seed " << c.seed << ", variant " << int{c.variant});
        const Bytes blob = random_blob(c.seed, 4000, 16);
        ASSERT_EQ(compress_with(find_or_append_block, blob, c.variant).result, RESULT_TOO_BIG);
        const std::size_t fits = tiles_that_fit(blob, c.variant);
        for (const std::size_t tiles : {fits, fits + 1}) {
            const Bytes prefix(blob.begin(), blob.begin() + static_cast<std::ptrdiff_t>(tiles * 32));
            const Compressed out = expect_same_streams(prefix, c.variant);
            EXPECT_EQ(out.result, tiles == fits ? RESULT_OK : RESULT_TOO_BIG);
            if (out.result == RESULT_OK) {
                // Within one tile (four blocks) of the limit.
                EXPECT_GT(load16(out.stream, 2) + 4 * BLOCK_SIZE, max_dictionary_size(c.variant));
            }
        }
    }
}

}  // namespace
}  // namespace venk::test
