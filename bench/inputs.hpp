// The blobs the benchmarks run on, all of 65535 tiles (2 MiB less one tile),
// the most one stream can hold.
#pragma once

#include "support/tiles.hpp"

#include <random>
#include <string_view>

namespace venk::bench {

using test::Bytes;

inline constexpr std::size_t BENCH_TILES = 65535;

// The plain scan's worst case: the first 8191 blocks all differ (a full
// VENK16 dictionary), and every later block repeats the last of them, so
// each one is found only after a scan of the whole dictionary.
inline Bytes worst_case_blob() {
    Bytes blob;
    blob.reserve(BENCH_TILES * 32);
    constexpr unsigned DISTINCT = 8191;
    for (unsigned first = 0; first < BENCH_TILES * 4; first += 4) {
        std::array<test::BlockBytes, 4> blocks{};
        for (unsigned q = 0; q < 4; ++q) {
            blocks[q] = test::distinct_block(std::min(first + q, DISTINCT - 1));
        }
        test::append_tile(blob, blocks);
    }
    return blob;
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
    {"zero", zero_blob},
    {"straddle", straddle_heavy_blob},
    {"random", random_bytes_blob},
};

}  // namespace venk::bench
