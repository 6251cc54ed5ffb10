// The compressor with the block search passed in. compress_tiles uses the
// index of find_or_append_block; tests and benchmarks pass the plain scan,
// which must give the same stream byte for byte.
#pragma once

#include "dictionary.hpp"

namespace venk {

using BlockSearch = ResultCode (*)(Dictionary& dictionary, const Block& block, std::size_t& offset);

ResultCode compress_tiles_with(BlockSearch search, InputStream& input, OutputStream& output, FormatVariant variant,
                               CompressionLevel level = LEVEL_DEFAULT, StreamStats* stats = nullptr);

}  // namespace venk
