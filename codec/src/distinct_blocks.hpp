// The distinct blocks of a blob, for laying out a dictionary of them.
#pragma once

#include "format.hpp"

#include <cstdint>
#include <span>
#include <vector>

namespace venk {

// A block as one number: its first byte is the most significant, so its
// first 2-byte row is the top 16 bits and its last row the bottom 16.
inline std::uint64_t block_value(const std::uint8_t* bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < BLOCK_SIZE; ++i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

struct DistinctBlocks {
    // Each distinct value once, in the order of its first appearance.
    std::vector<std::uint64_t> values;
    // For each block given, the position of its value in `values`.
    std::vector<std::uint32_t> ids;
};

// Finds the distinct values among `blocks` (at most 2^32 - 1 of them).
DistinctBlocks find_distinct_blocks(std::span<const std::uint64_t> blocks);

}  // namespace venk
