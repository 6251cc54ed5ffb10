// The compressor's dictionary: the raw bytes of every block stored so far.
#pragma once

#include "format.hpp"

#include <cstddef>
#include <vector>

namespace venk {

struct Dictionary {
    std::vector<std::uint8_t> bytes;  // always a whole number of blocks
};

// Finds the lowest even offset o with o + 8 <= size at which the dictionary
// holds `block`; if there is none, appends the block and returns its offset.
// A match may straddle two stored blocks. The lowest offset must win because
// that choice fixes the output bytes. RESULT_OUT_OF_MEMORY if it cannot grow.
ResultCode find_or_append_block(Dictionary& dictionary, const Block& block, std::size_t& offset);

}  // namespace venk
