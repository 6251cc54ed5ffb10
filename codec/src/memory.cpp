#include "memory_streams.hpp"

#include <new>
#include <utility>

namespace venk {
namespace {

// Runs `codec(output)` into one vector.
template <typename Codec>
ResultCode run_in_memory(Codec codec, std::vector<std::uint8_t>& output_bytes) {
    // The result is built apart and moved in at the end: the input may be a
    // view of the output vector itself, which must not change while it is read.
    std::vector<std::uint8_t> result_bytes;
    VectorOutputStream output(result_bytes);
    const ResultCode result = codec(output);
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
    SpanInputStream input(blob);
    return run_in_memory([&](OutputStream& output) { return compress(input, output, options, figures); }, stream);
}

ResultCode compress(std::span<const std::span<const std::uint8_t>> blobs, std::vector<std::uint8_t>& stream,
                    const Options& options, Figures* figures) {
    try {
        std::vector<SpanInputStream> sources(blobs.begin(), blobs.end());
        std::vector<InputStream*> inputs;
        for (SpanInputStream& source : sources) {
            inputs.push_back(&source);
        }
        return run_in_memory([&](OutputStream& output) { return compress(inputs, output, options, figures); },
                             stream);
    } catch (const std::bad_alloc&) {
        stream.clear();
        return RESULT_OUT_OF_MEMORY;
    }
}

ResultCode decompress(std::span<const std::uint8_t> stream, std::vector<std::uint8_t>& blob, const Options& options,
                      Figures* figures) {
    SpanInputStream input(stream);
    return run_in_memory([&](OutputStream& output) { return decompress(input, output, options, figures); }, blob);
}

}  // namespace venk
