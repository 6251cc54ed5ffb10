// The dictionary laid out for the fewest bytes: each distinct block once,
// overlapping its neighbours wherever their rows allow.
#pragma once

#include "block_links.hpp"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace venk {

struct LaidOutStream {
    std::vector<std::uint8_t> dictionary;
    std::vector<std::uint8_t> tile_map;
};

// The CHAINS links of the distinct blocks that share the most rows: the
// shortest of those of every tie order, the first of them on a tie.
BlockLinks shortest_links(std::span<const std::uint64_t> values);

// Lays out the blocks of a blob's tiles (block_value numbers, four per tile,
// in tile order) and maps each to the lowest even offset that holds it.
// False, with nothing laid out, when the dictionary would be longer than
// `limit` bytes (at most 65535); with too many distinct blocks even for
// three rows shared between every two neighbours, that is known at once.
bool lay_out_stream(std::span<const std::uint64_t> blocks, std::size_t limit, LaidOutStream& stream);

}  // namespace venk
