// A stable sort of indices by an integer key, for the layout's tables.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace venk {

// Sorts `indices` by key_of(index), ascending, keeping indices with equal
// keys in the order they had. Only the low `key_bits` bits of a key count.
//
// A least-significant-digit radix sort over 8- or 16-bit digits: its time depends
// on the number of indices and the key's width alone, never on the keys, so
// no input, however it was crafted, can make it slow, as it could a hash
// table with a known hash. A digit that every key shares costs one counting
// pass and no moves, which tile data, with its few colours, makes common.
template <typename KeyOf>
void stable_sort_by_key(std::vector<std::uint32_t>& indices, KeyOf key_of, unsigned key_bits) {
    // Wide digits take fewer passes, narrow ones less clearing and summing of
    // counts: a list far shorter than 2^16 is sorted by bytes.
    const unsigned digit_bits = indices.size() >= (std::size_t{1} << 14) ? 16 : 8;
    const std::size_t digit_values = std::size_t{1} << digit_bits;
    std::vector<std::uint32_t> counts(digit_values);
    std::vector<std::uint32_t> sorted(indices.size());
    for (unsigned shift = 0; shift < key_bits; shift += digit_bits) {
        const auto digit_of = [&](std::uint32_t index) {
            return static_cast<std::size_t>((static_cast<std::uint64_t>(key_of(index)) >> shift) & (digit_values - 1));
        };
        std::ranges::fill(counts, 0u);
        for (const std::uint32_t index : indices) {
            ++counts[digit_of(index)];
        }
        if (!indices.empty() && counts[digit_of(indices.front())] == indices.size()) {
            continue;
        }
        std::uint32_t start = 0;
        for (std::uint32_t& count : counts) {
            const std::uint32_t next = start + count;
            count = start;
            start = next;
        }
        for (const std::uint32_t index : indices) {
            sorted[counts[digit_of(index)]++] = index;
        }
        indices.swap(sorted);
    }
}

}  // namespace venk
