#include "support/every_form.hpp"

#include "support/test_streams.hpp"

#include <venk/venk.h>

#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

namespace venk::test {
namespace {

auto fields(const Figures& figures) {
    return std::tuple(figures.tiles, figures.distinct_blocks, figures.dictionary_size, figures.dictionary_limit,
                      figures.stream_size, figures.blob_size, figures.failed_input);
}

// The figures of any form, which have the same names (the compatibility
// layer's have no failed_input).
template <typename Source>
Figures figures_from(const Source& source) {
    Figures figures;
    figures.tiles = source.tiles;
    figures.distinct_blocks = source.distinct_blocks;
    figures.dictionary_size = source.dictionary_size;
    figures.dictionary_limit = source.dictionary_limit;
    figures.stream_size = source.stream_size;
    figures.blob_size = source.blob_size;
    if constexpr (requires { source.failed_input; }) {
        figures.failed_input = source.failed_input;
    }
    return figures;
}

// A caller's figures before a call: none of them 0, so that a failed call
// that touches them shows.
template <typename Source>
Source figures_before(Source figures) {
    figures.tiles = figures.distinct_blocks = figures.dictionary_size = figures.dictionary_limit =
        figures.stream_size = figures.blob_size = 0xA5A5;
    if constexpr (requires { figures.failed_input; }) {
        figures.failed_input = 0xA5A5;
    }
    return figures;
}

// The figures a call left in `given`, which held figures_before: what it
// stored on success. A failure leaves them as they were, but for a pack's
// failure that one of its inputs caused, which stores 0 for every figure
// but that input; the outcome's figures are then 0 but that input.
template <typename Source>
Figures figures_after(ResultCode result, const Source& given, bool pack, const char* name) {
    const Figures figures = figures_from(given);
    if (result == RESULT_OK) {
        return figures;
    }
    Figures expected = figures_from(figures_before(given));
    Figures outcome;
    if (pack && (result == RESULT_BAD_INPUT_SIZE || result == RESULT_NO_TILES || result == RESULT_READ_ERROR ||
                 result == RESULT_TOO_BIG)) {
        expected = outcome;
        expected.failed_input = outcome.failed_input = figures.failed_input;
    }
    EXPECT_EQ(fields(figures), fields(expected)) << name << ": the caller's figures after a failure";
    return outcome;
}

void expect_same(const Outcome& form, const Outcome& memory, const char* name) {
    EXPECT_EQ(form.result, memory.result) << name;
    EXPECT_EQ(form.output, memory.output) << name;
    EXPECT_EQ(fields(form.figures), fields(memory.figures)) << name;
}

Outcome in_memory(Direction direction, const Bytes& input, const Options& options) {
    Figures figures = figures_before(Figures{});
    Outcome out{};
    out.result = direction == Direction::COMPRESS ? compress(input, out.output, options, &figures)
                                                  : decompress(input, out.output, options, &figures);
    out.figures = figures_after(out.result, figures, false, "in memory");
    return out;
}

Outcome over_streams(Direction direction, const Bytes& input, const Options& options) {
    TestInput source(input);
    TestOutput sink;
    Figures figures = figures_before(Figures{});
    Outcome out{};
    out.result = direction == Direction::COMPRESS ? compress(source, sink, options, &figures)
                                                  : decompress(source, sink, options, &figures);
    // A decompression that fails may have written its earlier tiles.
    if (out.result == RESULT_OK) {
        out.output = sink.written;
    }
    out.figures = figures_after(out.result, figures, false, "over streams");
    return out;
}

Outcome through_c(Direction direction, const Bytes& input, const Options& options) {
    const venk_options c_options = {sizeof(venk_options), options.variant, options.level};
    venk_figures c_figures = figures_before(venk_figures VENK_FIGURES_INIT);
    const bool compressing = direction == Direction::COMPRESS;
    Outcome out{};
    out.output.resize(compressing ? venk_compress_bound(input.size())
                                  : venk_decompress_bound(input.data(), input.size()));
    std::size_t size = 1;
    out.result = static_cast<ResultCode>((compressing ? venk_compress : venk_decompress)(
        input.data(), input.size(), out.output.data(), out.output.size(), &size, &c_options, &c_figures));
    out.output.resize(size);
    out.figures = figures_after(out.result, c_figures, false, "through the C interface");
    return out;
}

Outcome pack_over_streams(const std::vector<Bytes>& blobs, const Options& options) {
    std::vector<TestInput> sources(blobs.begin(), blobs.end());
    std::vector<InputStream*> inputs;
    for (TestInput& source : sources) {
        inputs.push_back(&source);
    }
    TestOutput sink;
    Figures figures = figures_before(Figures{});
    Outcome out{};
    out.result = compress(inputs, sink, options, &figures);
    if (out.result == RESULT_OK) {
        out.output = sink.written;
    }
    out.figures = figures_after(out.result, figures, true, "a pack over streams");
    return out;
}

Outcome pack_through_c(const std::vector<Bytes>& blobs, const Options& options) {
    const venk_options c_options = {sizeof(venk_options), options.variant, options.level};
    venk_figures c_figures = figures_before(venk_figures VENK_FIGURES_INIT);
    std::vector<const std::uint8_t*> starts;
    std::vector<std::size_t> sizes;
    for (const Bytes& blob : blobs) {
        starts.push_back(blob.data());
        sizes.push_back(blob.size());
    }
    Outcome out{};
    out.output.resize(venk_compress_bound(std::accumulate(sizes.begin(), sizes.end(), std::size_t{0})));
    std::size_t size = 1;
    out.result = static_cast<ResultCode>(venk_compress_pack(starts.data(), sizes.data(), blobs.size(),
                                                            out.output.data(), out.output.size(), &size,
                                                            &c_options, &c_figures));
    out.output.resize(size);
    out.figures = figures_after(out.result, c_figures, true, "a pack through the C interface");
    return out;
}

}  // namespace

Outcome run_new_forms(Direction direction, const Bytes& input, const Options& options) {
    const Outcome memory = in_memory(direction, input, options);
    expect_same(over_streams(direction, input, options), memory, "over streams");
    expect_same(through_c(direction, input, options), memory, "through the C interface");
    return memory;
}

// The memory form for compression and the stream form for decompression:
// the other old calls wrap these.
Outcome run_old_calls(Direction direction, const Bytes& input, const Options& options) {
    StreamStats stats = figures_before(StreamStats{});
    Outcome out{};
    if (direction == Direction::COMPRESS) {
        out.result = compress_memory_at_level(input, options.variant, out.output, options.level, &stats);
    } else {
        TestInput source(input);
        TestOutput sink;
        out.result = decompress_tiles_with_stats(source, sink, options.variant, &stats);
        out.output = out.result == RESULT_OK ? sink.written : Bytes{};
    }
    out.figures = figures_after(out.result, stats, false, "through the compatibility layer");
    return out;
}

Outcome run_every_form(Direction direction, const Bytes& input, const Options& options) {
    const Outcome memory = run_new_forms(direction, input, options);
    expect_same(run_old_calls(direction, input, options), memory, "through the compatibility layer");
    return memory;
}

Outcome pack_every_form(const std::vector<Bytes>& blobs, const Options& options) {
    const std::vector<std::span<const std::uint8_t>> spans(blobs.begin(), blobs.end());
    Figures figures = figures_before(Figures{});
    Outcome memory{};
    memory.result = compress(spans, memory.output, options, &figures);
    memory.figures = figures_after(memory.result, figures, true, "a pack in memory");
    expect_same(pack_over_streams(blobs, options), memory, "a pack over streams");
    expect_same(pack_through_c(blobs, options), memory, "a pack through the C interface");
    return memory;
}

}  // namespace venk::test
