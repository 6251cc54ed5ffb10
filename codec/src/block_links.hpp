// Links between distinct blocks through the 2-byte rows they can share: when
// the last rows of one block equal the first rows of another, a dictionary
// that holds the second right after the first stores those rows once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace venk {

inline constexpr std::size_t ROWS_PER_BLOCK = 4;
inline constexpr std::size_t ROW_SIZE = 2;
inline constexpr std::uint32_t NO_BLOCK = 0xFFFFFFFF;

struct BlockLinks {
    // The block laid out after block i, or NO_BLOCK, and how many of its
    // first rows it shares with the last rows of block i.
    std::vector<std::uint32_t> successor;
    std::vector<std::uint8_t> overlap;
};

enum class LinkShape : std::uint8_t {
    // No cycles: the links form chains, and each chain lays out as one run
    // of rows in which every block appears whole.
    CHAINS,
    // Cycles allowed, a block linked to itself among them. No layout comes
    // from these; their shared rows bound what any layout can share.
    CYCLES,
};

// Which blocks are linked when several share the same rows: those that come
// first in the order given, or those that come last. Each order is as good
// a guess as the other, but on a given input one often shares a few more
// rows, so the best layout tries them all.
struct TieOrder {
    bool ends_from_last = false;
    bool starts_from_last = false;
};

// Links the blocks (given as block_value numbers) greedily, the most shared
// rows first: for 3, 2 and then 1 rows, each block that has no successor yet
// takes the first block, in the tie order, that has no predecessor, whose
// first rows equal its last rows and, for CHAINS, that does not start its
// own chain.
//
// With CYCLES this finds the most rows that any assignment of one successor
// to each block can share: string overlaps have the Monge property, under
// which taking the longest overlaps first is optimal. Every layout is a
// walk through its blocks, a chain that such an assignment can close into a
// cycle, so the layout of the fewest bytes is at least that long.
BlockLinks link_blocks(std::span<const std::uint64_t> values, LinkShape shape, TieOrder order = {});

// The bytes a layout of these links takes: 8 per block less 2 per shared row.
std::size_t linked_size(const BlockLinks& links);

// Lays out CHAINS links: every chain, in the order of its first block, as the
// rows of that block followed by the rows each next block adds.
std::vector<std::uint8_t> lay_out_chains(std::span<const std::uint64_t> values, const BlockLinks& links);

}  // namespace venk
