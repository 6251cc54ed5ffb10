#include "plain_scan.hpp"

#include <cstring>

namespace venk {

ResultCode plain_scan_find_or_append_block(Dictionary& dictionary, const Block& block, std::size_t& offset) {
    const std::span<const std::uint8_t> bytes = dictionary.bytes();
    for (std::size_t o = 0; o + BLOCK_SIZE <= bytes.size(); o += 2) {
        if (std::memcmp(&bytes[o], block.data(), BLOCK_SIZE) == 0) {
            offset = o;
            return RESULT_OK;
        }
    }
    return dictionary.append(block, offset);
}

}  // namespace venk
