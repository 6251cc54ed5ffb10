#include "memory_streams.hpp"

#include <utility>

namespace venk {
namespace {

template <typename Codec>
ResultCode run_in_memory(Codec codec, std::span<const std::uint8_t> input_bytes, FormatVariant variant,
                         std::vector<std::uint8_t>& output_bytes) {
    // The result is built apart and moved in at the end: the input may be a
    // view of the output vector itself, which must not change while it is read.
    std::vector<std::uint8_t> result_bytes;
    SpanInputStream input(input_bytes);
    VectorOutputStream output(result_bytes);
    const ResultCode result = codec(input, output, variant);
    if (result == RESULT_OK) {
        output_bytes = std::move(result_bytes);
    } else {
        output_bytes.clear();
    }
    return result;
}

}  // namespace

ResultCode compress_memory(std::span<const std::uint8_t> blob, FormatVariant variant,
                           std::vector<std::uint8_t>& stream) {
    return compress_memory_at_level(blob, variant, stream, LEVEL_DEFAULT);
}

ResultCode compress_memory_at_level(std::span<const std::uint8_t> blob, FormatVariant variant,
                                    std::vector<std::uint8_t>& stream, CompressionLevel level, StreamStats* stats) {
    const auto compress_at_level = [level, stats](InputStream& input, OutputStream& output, FormatVariant chosen) {
        return compress_tiles_at_level(input, output, chosen, level, stats);
    };
    return run_in_memory(compress_at_level, blob, variant, stream);
}

ResultCode decompress_memory(std::span<const std::uint8_t> stream, FormatVariant variant,
                             std::vector<std::uint8_t>& blob) {
    return run_in_memory(decompress_tiles, stream, variant, blob);
}

}  // namespace venk
