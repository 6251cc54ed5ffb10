// The block search as first written: a scan of every even offset from the
// start. It is kept out of the tool, as the reference that the index is
// tested and measured against.
#pragma once

#include "dictionary.hpp"

namespace venk {

// The same contract as find_or_append_block, with no index consulted.
ResultCode plain_scan_find_or_append_block(Dictionary& dictionary, const Block& block, std::size_t& offset);

}  // namespace venk
