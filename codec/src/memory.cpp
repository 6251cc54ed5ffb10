#include "memory_streams.hpp"

namespace venk {
namespace {

template <typename Codec>
ResultCode run_in_memory(Codec codec, std::span<const std::uint8_t> input_bytes, FormatVariant variant,
                         std::vector<std::uint8_t>& output_bytes) {
    output_bytes.clear();
    SpanInputStream input(input_bytes);
    VectorOutputStream output(output_bytes);
    const ResultCode result = codec(input, output, variant);
    if (result != RESULT_OK) {
        output_bytes.clear();
    }
    return result;
}

}  // namespace

ResultCode compress_memory(std::span<const std::uint8_t> blob, FormatVariant variant,
                           std::vector<std::uint8_t>& stream) {
    return run_in_memory(compress_tiles, blob, variant, stream);
}

ResultCode decompress_memory(std::span<const std::uint8_t> stream, FormatVariant variant,
                             std::vector<std::uint8_t>& blob) {
    return run_in_memory(decompress_tiles, stream, variant, blob);
}

}  // namespace venk
