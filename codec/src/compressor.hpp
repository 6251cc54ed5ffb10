// The compressor with the block search passed in. compress uses the
// index of find_or_append_block; tests and benchmarks pass the plain scan,
// which must give the same stream byte for byte, or fix the index's key.
#pragma once

#include "dictionary.hpp"

namespace venk {

using BlockSearch = ResultCode (*)(Dictionary& dictionary, const Block& block, std::size_t& offset);

// The dictionary's index gets a fresh random key, as in compress. After a
// failure, `figures`, if given, names in failed_input the input that caused
// it (0 if none did), and its other figures are untouched.
ResultCode compress_tiles_with(BlockSearch search, InputStream& input, OutputStream& output, FormatVariant variant,
                               CompressionLevel level = LEVEL_DEFAULT, Figures* figures = nullptr);

// The same for a pack of several inputs.
ResultCode compress_tiles_with(BlockSearch search, std::span<InputStream* const> inputs, OutputStream& output,
                               FormatVariant variant, CompressionLevel level = LEVEL_DEFAULT,
                               Figures* figures = nullptr);

// The index keyed with `key`: for tests and benchmarks only, since a known
// key lets a crafted input flood the index. The stream is the same whatever
// the key.
ResultCode compress_tiles_with_key(const HashKey& key, BlockSearch search, InputStream& input,
                                   OutputStream& output, FormatVariant variant);

}  // namespace venk
