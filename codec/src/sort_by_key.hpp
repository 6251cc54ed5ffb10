// A stable sort of indices by an integer key, for the layout's tables.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <vector>

namespace venk {

// Sorts `indices` by key_of(index), ascending, keeping indices with equal
// keys in the order they had. Only the low KEY_BITS bits of a key count. The
// compiler holds the width to the key's type, an unsigned integer of at most
// 64 bits: a wider one would shift keys by 64 bits or more, which C++ leaves
// undefined, and a signed one would sort negative keys last.
//
// A least-significant-digit radix sort over 8- or 16-bit digits: its time depends
// on the number of indices and the key's width alone, never on the keys, so
// no input, however it was crafted, can make it slow, as it could a hash
// table with a known hash. A digit that every key shares costs one counting
// pass and no moves, which tile data, with its few colours, makes common.
template <unsigned KEY_BITS, typename KeyOf>
void stable_sort_by_key(std::vector<std::uint32_t>& indices, KeyOf key_of) {
    using Key = std::invoke_result_t<KeyOf&, std::uint32_t>;
    static_assert(std::is_unsigned_v<Key> && std::numeric_limits<Key>::digits <= 64,
                  "keys are unsigned integers of at most 64 bits");
    static_assert(KEY_BITS >= 1 && KEY_BITS <= std::numeric_limits<Key>::digits,
                  "the key width is more than the key's type holds");
    // Wide digits take fewer passes, narrow ones less clearing and summing of
    // counts: a list far shorter than 2^16 is sorted by bytes.
    const unsigned digit_bits = indices.size() >= (std::size_t{1} << 14) ? 16 : 8;
    const std::size_t digit_values = std::size_t{1} << digit_bits;
    std::vector<std::uint32_t> counts(digit_values);
    std::vector<std::uint32_t> sorted(indices.size());
    for (unsigned shift = 0; shift < KEY_BITS; shift += digit_bits) {
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
