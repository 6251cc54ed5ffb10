#include "best_layout.hpp"

#include "block_links.hpp"
#include "distinct_blocks.hpp"
#include "sort_by_key.hpp"

#include <algorithm>
#include <numeric>
#include <utility>

namespace venk {
namespace {

// The lowest even offset of each value in the dictionary. Every even
// position is sorted by the 8 bytes it starts; the sort is stable, so the
// lowest position of a value comes first among its equals.
std::vector<std::uint16_t> lowest_offsets(std::span<const std::uint8_t> dictionary,
                                          std::span<const std::uint64_t> values) {
    const auto value_at = [&](std::uint32_t position) { return block_value(&dictionary[position * ROW_SIZE]); };
    std::vector<std::uint32_t> positions((dictionary.size() - BLOCK_SIZE) / ROW_SIZE + 1);
    std::iota(positions.begin(), positions.end(), 0u);
    stable_sort_by_key<64>(positions, value_at);

    std::vector<std::uint16_t> offsets;
    offsets.reserve(values.size());
    for (const std::uint64_t value : values) {
        const auto first = std::ranges::lower_bound(positions, value, {}, value_at);
        offsets.push_back(static_cast<std::uint16_t>(*first * ROW_SIZE));
    }
    return offsets;
}

}  // namespace

BlockLinks shortest_links(std::span<const std::uint64_t> values) {
    BlockLinks shortest;
    for (const TieOrder order : {TieOrder{false, false}, TieOrder{true, false}, TieOrder{false, true},
                                 TieOrder{true, true}}) {
        BlockLinks links = link_blocks(values, LinkShape::CHAINS, order);
        if (shortest.successor.empty() || linked_size(links) < linked_size(shortest)) {
            shortest = std::move(links);
        }
    }
    return shortest;
}

bool lay_out_stream(std::span<const std::uint64_t> blocks, std::size_t limit, LaidOutStream& stream) {
    const DistinctBlocks distinct = find_distinct_blocks(blocks);
    const std::size_t most_blocks = limit < BLOCK_SIZE ? 0 : (limit - BLOCK_SIZE) / ROW_SIZE + 1;
    if (distinct.values.empty() || distinct.values.size() > most_blocks) {
        return false;
    }
    const BlockLinks links = shortest_links(distinct.values);
    if (linked_size(links) > limit) {
        return false;
    }
    stream.dictionary = lay_out_chains(distinct.values, links);
    const std::vector<std::uint16_t> offsets = lowest_offsets(stream.dictionary, distinct.values);
    stream.tile_map.resize(distinct.ids.size() * 2);
    for (std::size_t block = 0; block < distinct.ids.size(); ++block) {
        store_be16(&stream.tile_map[block * 2], offsets[distinct.ids[block]]);
    }
    return true;
}

}  // namespace venk
