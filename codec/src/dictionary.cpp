#include "dictionary.hpp"

#include <algorithm>
#include <new>

namespace venk {

ResultCode find_or_append_block(Dictionary& dictionary, const Block& block, std::size_t& offset) {
    const std::vector<std::uint8_t>& bytes = dictionary.bytes;
    for (std::size_t o = 0; o + BLOCK_SIZE <= bytes.size(); o += 2) {
        if (std::equal(block.begin(), block.end(), bytes.begin() + static_cast<std::ptrdiff_t>(o))) {
            offset = o;
            return RESULT_OK;
        }
    }
    try {
        offset = bytes.size();
        dictionary.bytes.insert(dictionary.bytes.end(), block.begin(), block.end());
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
    return RESULT_OK;
}

}  // namespace venk
