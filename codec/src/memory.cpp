#include "memory_streams.hpp"

#include <utility>

namespace venk {
namespace {

// Runs `codec(input, output)` from one span into one vector.
template <typename Codec>
ResultCode run_in_memory(Codec codec, std::span<const std::uint8_t> input_bytes,
                         std::vector<std::uint8_t>& output_bytes) {
    // The result is built apart and moved in at the end: the input may be a
    // view of the output vector itself, which must not change while it is read.
    std::vector<std::uint8_t> result_bytes;
    SpanInputStream input(input_bytes);
    VectorOutputStream output(result_bytes);
    const ResultCode result = codec(input, output);
    if (result == RESULT_OK) {
        output_bytes = std::move(result_bytes);
    } else {
        output_bytes.clear();
    }
    return result;
}

}  // namespace

ResultCode compress(std::span<const std::uint8_t> blob, std::vector<std::uint8_t>& stream, const Options& options,
                    Figures* figures) {
    const auto codec = [&](InputStream& input, OutputStream& output) {
        return compress(input, output, options, figures);
    };
    return run_in_memory(codec, blob, stream);
}

ResultCode decompress(std::span<const std::uint8_t> stream, std::vector<std::uint8_t>& blob, const Options& options,
                      Figures* figures) {
    const auto codec = [&](InputStream& input, OutputStream& output) {
        return decompress(input, output, options, figures);
    };
    return run_in_memory(codec, stream, blob);
}

}  // namespace venk
