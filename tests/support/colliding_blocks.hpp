// Blocks that all start their search in one slot of the compressor's index
// under a known key: what anyone who reads the code could build against an
// index whose key is fixed. Tests use a few to make probe chains wrap; the
// benchmarks use thousands to flood the index.
#pragma once

#include "dictionary.hpp"
#include "support/tiles.hpp"

#include <vector>

namespace venk::test {

// The first `count` tagged blocks, by increasing id, whose search in an index
// keyed with `key` starts at `slot`. Each takes about SLOT_COUNT tries.
inline std::vector<BlockBytes> blocks_in_slot(const HashKey& key, std::size_t slot, std::size_t count) {
    const TabulationHash hash(key);
    std::vector<BlockBytes> blocks;
    blocks.reserve(count);
    for (std::uint64_t id = 0; blocks.size() < count; ++id) {
        const BlockBytes block = tagged_block(id);
        if (Dictionary::first_slot(hash, block) == slot) {
            blocks.push_back(block);
        }
    }
    return blocks;
}

}  // namespace venk::test
