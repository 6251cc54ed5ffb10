#include "dictionary.hpp"

#include <algorithm>
#include <cstring>

namespace venk {
namespace {

// Every even position that can start a run in a full dictionary.
constexpr std::size_t MAX_POSITIONS = (Dictionary::CAPACITY - BLOCK_SIZE) / 2 + 1;
// At least twice MAX_POSITIONS keeps probe chains short; the hash gives a
// slot number directly.
constexpr std::size_t SLOT_COUNT = Dictionary::SLOT_COUNT;
static_assert(SLOT_COUNT >= 2 * MAX_POSITIONS && SLOT_COUNT == 1 << 16);
static_assert(MAX_POSITIONS < 0xFFFF, "a slot must hold position / 2 + 1");

// The 8 bytes as one word, in the machine's byte order: only equality and
// the hash use it, and neither changes the output.
std::uint64_t load_value(const std::uint8_t* bytes) {
    std::uint64_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

}  // namespace

Dictionary::Dictionary() : Dictionary(random_hash_key()) {}

Dictionary::Dictionary(const HashKey& key)
    : bytes_(std::make_unique_for_overwrite<std::uint8_t[]>(CAPACITY)), hash_(key), slots_(SLOT_COUNT, 0) {}

std::size_t Dictionary::first_slot(const TabulationHash& hash, const Block& block) {
    return hash(load_value(block.data()));
}

std::uint64_t Dictionary::value_at(std::size_t position) const {
    return load_value(bytes_.get() + position);
}

std::size_t Dictionary::find(const Block& block) const {
    const std::uint64_t value = load_value(block.data());
    for (std::size_t slot = hash_(value);; slot = (slot + 1) % SLOT_COUNT) {
        if (slots_[slot] == 0) {
            return NOT_FOUND;
        }
        const std::size_t position = (std::size_t{slots_[slot]} - 1) * 2;
        if (value_at(position) == value) {
            return position;
        }
    }
}

// Positions are indexed in increasing order, and a value already present
// keeps its slot, so each slot holds the lowest position with its value.
void Dictionary::index_position(std::size_t position) {
    const std::uint64_t value = value_at(position);
    std::size_t slot = hash_(value);
    for (; slots_[slot] != 0; slot = (slot + 1) % SLOT_COUNT) {
        if (value_at((std::size_t{slots_[slot]} - 1) * 2) == value) {
            return;
        }
    }
    slots_[slot] = static_cast<std::uint16_t>(position / 2 + 1);
}

std::size_t Dictionary::longest_probe_run() const {
    // Counted from an empty slot, so that a run that wraps from the last slot
    // to the first is counted whole. At most half the slots are ever used.
    const auto empty = static_cast<std::size_t>(std::ranges::find(slots_, 0) - slots_.begin());
    std::size_t longest = 0;
    std::size_t run = 0;
    for (std::size_t step = 1; step <= SLOT_COUNT; ++step) {
        run = slots_[(empty + step) % SLOT_COUNT] != 0 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

ResultCode Dictionary::append(const Block& block, std::size_t& offset) {
    if (size_ + BLOCK_SIZE > CAPACITY) {
        return RESULT_TOO_BIG;
    }
    offset = size_;
    std::memcpy(bytes_.get() + offset, block.data(), BLOCK_SIZE);
    size_ += BLOCK_SIZE;
    // The new block makes four even positions valid: the three that straddle
    // the previous block and its own start.
    const std::size_t first = offset >= BLOCK_SIZE ? offset - (BLOCK_SIZE - 2) : 0;
    for (std::size_t position = first; position <= offset; position += 2) {
        index_position(position);
    }
    return RESULT_OK;
}

ResultCode find_or_append_block(Dictionary& dictionary, const Block& block, std::size_t& offset) {
    const std::size_t found = dictionary.find(block);
    if (found == Dictionary::NOT_FOUND) {
        return dictionary.append(block, offset);
    }
    offset = found;
    return RESULT_OK;
}

}  // namespace venk
