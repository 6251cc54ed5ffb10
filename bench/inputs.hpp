// The blobs the benchmarks run on, all of 65535 tiles (2 MiB less one tile),
// the most one stream can hold.
#pragma once

#include "support/colliding_blocks.hpp"
#include "support/tiles.hpp"

#include <algorithm>
#include <random>
#include <string_view>

namespace venk::bench {

using test::Bytes;

inline constexpr std::size_t BENCH_TILES = 65535;

// The key of venk-fixed-key and of the benchmarks' fixed-key runs: the index
// as it would be if its key never changed, and so were known.
inline constexpr HashKey FIXED_KEY{0x243F6A8885A308D3u, 0x13198A2E03707344u};

// The given blocks, four to a tile, then the last of them again and again up
// to BENCH_TILES tiles. With all blocks different, the dictionary holds every
// one of them and every later block repeats its last one.
inline Bytes blocks_then_last_repeated(const std::vector<test::BlockBytes>& blocks) {
    Bytes blob;
    blob.reserve(BENCH_TILES * 32);
    for (std::size_t first = 0; first < BENCH_TILES * 4; first += 4) {
        std::array<test::BlockBytes, 4> tile{};
        for (std::size_t q = 0; q < 4; ++q) {
            tile[q] = blocks[std::min(first + q, blocks.size() - 1)];
        }
        test::append_tile(blob, tile);
    }
    return blob;
}

// A full VENK16 dictionary of 8191 different blocks.
constexpr unsigned FULL_DICTIONARY_BLOCKS = 8191;

// The plain scan's worst case: each repeated block is found only after a
// scan of the whole dictionary.
inline Bytes worst_case_blob() {
    std::vector<test::BlockBytes> blocks;
    for (unsigned id = 0; id < FULL_DICTIONARY_BLOCKS; ++id) {
        blocks.push_back(test::distinct_block(id));
    }
    return blocks_then_last_repeated(blocks);
}

// A flood aimed at the index keyed with FIXED_KEY, as anyone who reads the
// code could build against a key that never changes: shaped like the worst
// case, but every one of its blocks starts its search in the same slot
// under that key, so there each repeated block walks past nearly all of
// them. Finding them takes about 8191 * 65536 tries of the hash (seconds).
inline Bytes flood_blob() {
    const std::size_t slot = Dictionary::SLOT_COUNT / 2;
    return blocks_then_last_repeated(test::blocks_in_slot(FIXED_KEY, slot, FULL_DICTIONARY_BLOCKS));
}

inline Bytes zero_blob() {
    return Bytes(BENCH_TILES * 32, 0);
}

// Random bytes: the dictionary overflows after about 2048 tiles, and the rest
// is only read.
inline Bytes random_bytes_blob() {
    std::mt19937 random(1);
    Bytes blob(BENCH_TILES * 32);
    for (std::uint8_t& byte : blob) {
        byte = static_cast<std::uint8_t>(random());
    }
    return blob;
}

// Tiles from eight 2-byte rows: about half of all blocks are found
// straddling two stored blocks.
inline Bytes straddle_heavy_blob() {
    return test::random_blob(1, BENCH_TILES, 8);
}

struct NamedInput {
    std::string_view name;
    Bytes (*make)();
};

inline constexpr NamedInput INPUTS[] = {
    {"worst", worst_case_blob},
    {"flood", flood_blob},
    {"zero", zero_blob},
    {"straddle", straddle_heavy_blob},
    {"random", random_bytes_blob},
};

}  // namespace venk::bench
