#include "block_links.hpp"

#include "sort_by_key.hpp"

#include <algorithm>
#include <numeric>
#include <utility>

namespace venk {
namespace {

constexpr unsigned ROW_BITS = 16;

// Positions in a sorted list whose blocks are not yet taken: finds the first
// one at or after a position, skipping taken ones in near-constant time.
class FreePositions {
public:
    explicit FreePositions(std::size_t count) : next_(count + 1) { std::iota(next_.begin(), next_.end(), 0u); }

    std::uint32_t first_from(std::uint32_t position) {
        std::uint32_t free = position;
        while (next_[free] != free) {
            free = next_[free];
        }
        // Point every visited position straight at the answer.
        while (next_[position] != free) {
            position = std::exchange(next_[position], free);
        }
        return free;
    }

    void take(std::uint32_t position) { next_[position] = position + 1; }

private:
    std::vector<std::uint32_t> next_;
};

class Linker {
public:
    Linker(std::span<const std::uint64_t> values, LinkShape shape, TieOrder order)
        : values_(values),
          shape_(shape),
          order_(order),
          links_{std::vector<std::uint32_t>(values.size(), NO_BLOCK), std::vector<std::uint8_t>(values.size(), 0)},
          has_predecessor_(values.size(), false),
          other_end_(values.size()) {
        std::iota(other_end_.begin(), other_end_.end(), 0u);
    }

    // Links every block without a successor whose last ROWS rows equal the
    // first rows of a block without a predecessor.
    template <unsigned ROWS>
    void link_sharing() {
        constexpr unsigned BITS = ROWS * ROW_BITS;
        const auto first_rows = [&](std::uint32_t block) { return values_[block] >> (64 - BITS); };
        const auto last_rows = [&](std::uint32_t block) { return values_[block] & ((std::uint64_t{1} << BITS) - 1); };
        std::vector<std::uint32_t> ends;
        std::vector<std::uint32_t> starts;
        for (std::uint32_t block = 0; block < values_.size(); ++block) {
            if (links_.successor[block] == NO_BLOCK) {
                ends.push_back(block);
            }
            if (!has_predecessor_[block]) {
                starts.push_back(block);
            }
        }
        // Within a group of equal rows the sorts keep this order, which picks
        // the pairs that are linked.
        if (order_.ends_from_last) {
            std::reverse(ends.begin(), ends.end());
        }
        if (order_.starts_from_last) {
            std::reverse(starts.begin(), starts.end());
        }
        stable_sort_by_key<BITS>(ends, last_rows);
        stable_sort_by_key<BITS>(starts, first_rows);

        // Both lists are sorted by the rows compared, so one pass over each
        // meets every pair of a group with equal rows.
        FreePositions free_starts(starts.size());
        std::uint32_t group = 0;
        for (const std::uint32_t end : ends) {
            const std::uint64_t rows_wanted = last_rows(end);
            while (group < starts.size() && first_rows(starts[group]) < rows_wanted) {
                ++group;
            }
            const auto matches = [&](std::uint32_t position) {
                return position < starts.size() && first_rows(starts[position]) == rows_wanted;
            };
            std::uint32_t position = free_starts.first_from(group);
            // At most one start of the group begins this block's own chain.
            if (matches(position) && closes_a_cycle(end, starts[position])) {
                position = free_starts.first_from(position + 1);
            }
            if (matches(position)) {
                link(end, starts[position], ROWS);
                free_starts.take(position);
            }
        }
    }

    BlockLinks take_links() { return std::move(links_); }

private:
    bool closes_a_cycle(std::uint32_t end, std::uint32_t start) const {
        return shape_ == LinkShape::CHAINS && other_end_[end] == start;
    }

    void link(std::uint32_t end, std::uint32_t start, unsigned rows) {
        links_.successor[end] = start;
        links_.overlap[end] = static_cast<std::uint8_t>(rows);
        has_predecessor_[start] = true;
        // The chain that ended at `end` now ends where the chain from
        // `start` ended. (Unused with CYCLES, where it may be stale.)
        const std::uint32_t first = other_end_[end];
        const std::uint32_t last = other_end_[start];
        other_end_[first] = last;
        other_end_[last] = first;
    }

    std::span<const std::uint64_t> values_;
    LinkShape shape_;
    TieOrder order_;
    BlockLinks links_;
    std::vector<bool> has_predecessor_;
    // For the first block of a chain, its last block, and the other way round.
    std::vector<std::uint32_t> other_end_;
};

void append_rows(std::vector<std::uint8_t>& bytes, std::uint64_t value, unsigned first_row) {
    for (unsigned row = first_row; row < ROWS_PER_BLOCK; ++row) {
        const unsigned shift = (static_cast<unsigned>(ROWS_PER_BLOCK) - 1 - row) * ROW_BITS;
        bytes.push_back(static_cast<std::uint8_t>(value >> (shift + 8)));
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

}  // namespace

BlockLinks link_blocks(std::span<const std::uint64_t> values, LinkShape shape, TieOrder order) {
    Linker linker(values, shape, order);
    static_assert(ROWS_PER_BLOCK == 4, "a block shares at most three rows with another");
    linker.link_sharing<3>();
    linker.link_sharing<2>();
    linker.link_sharing<1>();
    return linker.take_links();
}

std::size_t linked_size(const BlockLinks& links) {
    std::size_t shared_rows = 0;
    for (const std::uint8_t rows : links.overlap) {
        shared_rows += rows;
    }
    return (links.overlap.size() * ROWS_PER_BLOCK - shared_rows) * ROW_SIZE;
}

std::vector<std::uint8_t> lay_out_chains(std::span<const std::uint64_t> values, const BlockLinks& links) {
    std::vector<bool> has_predecessor(values.size(), false);
    for (const std::uint32_t successor : links.successor) {
        if (successor != NO_BLOCK) {
            has_predecessor[successor] = true;
        }
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(linked_size(links));
    for (std::uint32_t first = 0; first < values.size(); ++first) {
        if (has_predecessor[first]) {
            continue;
        }
        append_rows(bytes, values[first], 0);
        for (std::uint32_t block = first; links.successor[block] != NO_BLOCK;) {
            const unsigned shared = links.overlap[block];
            block = links.successor[block];
            append_rows(bytes, values[block], shared);
        }
    }
    return bytes;
}

}  // namespace venk
