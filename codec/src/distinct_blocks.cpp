#include "distinct_blocks.hpp"

#include "sort_by_key.hpp"

#include <numeric>

namespace venk {

DistinctBlocks find_distinct_blocks(std::span<const std::uint64_t> blocks) {
    constexpr std::uint32_t UNNAMED = 0xFFFFFFFF;
    // Sorting brings equal values together, the first appearance first: the
    // sort is stable. A hash table would do the same with less work, but its
    // speed would depend on the values, which the input chooses.
    std::vector<std::uint32_t> order(blocks.size());
    std::iota(order.begin(), order.end(), 0u);
    stable_sort_by_key<64>(order, [&](std::uint32_t index) { return blocks[index]; });

    // Number the runs of equal values in sorted order.
    DistinctBlocks distinct;
    std::vector<std::uint32_t>& run_of_block = distinct.ids;
    run_of_block.resize(blocks.size());
    std::uint32_t runs = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && blocks[order[i]] != blocks[order[i - 1]]) {
            ++runs;
        }
        run_of_block[order[i]] = runs;
    }
    order = {};

    // Renumber the runs by first appearance, so that the numbering follows
    // the input and not the values.
    std::vector<std::uint32_t> id_of_run(blocks.empty() ? 0 : runs + 1, UNNAMED);
    distinct.values.reserve(id_of_run.size());
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        std::uint32_t& id = id_of_run[run_of_block[i]];
        if (id == UNNAMED) {
            id = static_cast<std::uint32_t>(distinct.values.size());
            distinct.values.push_back(blocks[i]);
        }
        run_of_block[i] = id;
    }
    return distinct;
}

}  // namespace venk
