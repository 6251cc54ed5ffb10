#include "dictionary.hpp"

#include <cstring>

namespace venk {
namespace {

// Every even position that can start a run in a full dictionary.
constexpr std::size_t MAX_POSITIONS = (Dictionary::CAPACITY - BLOCK_SIZE) / 2 + 1;
// A power of two at least twice MAX_POSITIONS keeps probe chains short.
constexpr std::size_t SLOT_COUNT = 1 << 16;
static_assert(SLOT_COUNT >= 2 * MAX_POSITIONS);
static_assert(MAX_POSITIONS < 0xFFFF, "a slot must hold position / 2 + 1");

std::uint64_t load_key(const std::uint8_t* bytes) {
    std::uint64_t key = 0;
    std::memcpy(&key, bytes, sizeof key);
    return key;
}

}  // namespace

Dictionary::Dictionary()
    : bytes_(std::make_unique_for_overwrite<std::uint8_t[]>(CAPACITY)), slots_(SLOT_COUNT, 0) {}

std::uint64_t Dictionary::key_at(std::size_t position) const {
    return load_key(bytes_.get() + position);
}

std::size_t Dictionary::first_slot(std::uint64_t key) const {
    // Tile data is far from random (runs of equal bytes, few colours), so
    // every key bit is mixed into the top bits, which pick the slot.
    std::uint64_t hash = key * 0x9E3779B97F4A7C15u;
    hash ^= hash >> 29;
    hash *= 0xBF58476D1CE4E5B9u;
    return static_cast<std::size_t>(hash >> 48);
}

std::size_t Dictionary::find(const Block& block) const {
    const std::uint64_t key = load_key(block.data());
    for (std::size_t slot = first_slot(key);; slot = (slot + 1) % SLOT_COUNT) {
        if (slots_[slot] == 0) {
            return NOT_FOUND;
        }
        const std::size_t position = (std::size_t{slots_[slot]} - 1) * 2;
        if (key_at(position) == key) {
            return position;
        }
    }
}

// Positions are indexed in increasing order, and a value already present
// keeps its slot, so each slot holds the lowest position with its value.
void Dictionary::index_position(std::size_t position) {
    const std::uint64_t key = key_at(position);
    std::size_t slot = first_slot(key);
    for (; slots_[slot] != 0; slot = (slot + 1) % SLOT_COUNT) {
        if (key_at((std::size_t{slots_[slot]} - 1) * 2) == key) {
            return;
        }
    }
    slots_[slot] = static_cast<std::uint16_t>(position / 2 + 1);
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
