// The compressor's dictionary: the raw bytes of every block stored so far,
// and an index that finds any 8-byte run at an even offset without a scan.
#pragma once

#include "format.hpp"
#include "keyed_hash.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace venk {

class Dictionary {
public:
    // The most the dictionary ever holds: the compressor stops storing as
    // soon as it passes the larger variant's limit, which takes 8192 blocks.
    static constexpr std::size_t CAPACITY = 8192 * BLOCK_SIZE;

    // The number of slots in the index.
    static constexpr std::size_t SLOT_COUNT = 1 << 16;

    // Allocates the index for the whole capacity at once, so it never grows,
    // and keys its hash with a fresh random key (see keyed_hash.hpp). Throws
    // std::bad_alloc if it cannot.
    Dictionary();
    // With a chosen key: only for tests and benchmarks, since a known key
    // lets a crafted input flood the index. The key never changes what find
    // returns, only how long it takes.
    explicit Dictionary(const HashKey& key);

    // The slot where an index with this hash starts looking for `block`.
    static std::size_t first_slot(const TabulationHash& hash, const Block& block);

    std::span<const std::uint8_t> bytes() const { return {bytes_.get(), size_}; }
    std::size_t size() const { return size_; }

    static constexpr std::size_t NOT_FOUND = static_cast<std::size_t>(-1);

    // The lowest even offset o with o + 8 <= size() whose 8 bytes equal the
    // block, or NOT_FOUND.
    std::size_t find(const Block& block) const;

    // Appends the block and returns its offset; RESULT_TOO_BIG past CAPACITY.
    ResultCode append(const Block& block, std::size_t& offset);

    // The longest run of occupied slots in the index, the last slot followed
    // by the first. No search steps over more occupied slots than that, so
    // it bounds the cost of every find and append; with a well-drawn hash it
    // stays near the logarithm of the number of values, whatever the values.
    // Counted when asked, so the searches pay nothing for it.
    std::size_t longest_probe_run() const;

private:
    void index_position(std::size_t position);
    std::uint64_t value_at(std::size_t position) const;

    // Allocated at full capacity, so appending is a plain copy.
    std::unique_ptr<std::uint8_t[]> bytes_;
    std::size_t size_ = 0;
    TabulationHash hash_;
    // Open addressing with linear probing. A slot holds position / 2 + 1 of
    // the lowest even position with its 8-byte value, or 0 when empty; the
    // value itself is read back from bytes_, so a slot costs two bytes.
    std::vector<std::uint16_t> slots_;
};

// Finds the lowest even offset o with o + 8 <= size at which the dictionary
// holds `block`; if there is none, appends the block and returns its offset.
// A match may straddle two stored blocks. The lowest offset must win because
// that choice fixes the output bytes. RESULT_TOO_BIG past the capacity.
ResultCode find_or_append_block(Dictionary& dictionary, const Block& block, std::size_t& offset);

}  // namespace venk
