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

// The figures of the C interface or of the compatibility layer, which have
// the same names.
template <typename Source>
Figures figures_from(const Source& source) {
    Figures figures;
    figures.tiles = source.tiles;
    figures.distinct_blocks = source.distinct_blocks;
    figures.dictionary_size = source.dictionary_size;
    figures.dictionary_limit = source.dictionary_limit;
    figures.stream_size = source.stream_size;
    figures.blob_size = source.blob_size;
    return figures;
}

void expect_same(const Outcome& form, const Outcome& memory, const char* name) {
    EXPECT_EQ(form.result, memory.result) << name;
    EXPECT_EQ(form.output, memory.output) << name;
    EXPECT_EQ(fields(form.figures), fields(memory.figures)) << name;
}

Outcome over_streams(Direction direction, const Bytes& input, const Options& options) {
    TestInput source(input);
    TestOutput sink;
    Outcome out{};
    out.result = direction == Direction::COMPRESS ? compress(source, sink, options, &out.figures)
                                                  : decompress(source, sink, options, &out.figures);
    // A decompression that fails may have written its earlier tiles.
    if (out.result == RESULT_OK) {
        out.output = sink.written;
    }
    return out;
}

Outcome through_c(Direction direction, const Bytes& input, const Options& options) {
    const venk_options c_options = {sizeof(venk_options), options.variant, options.level};
    venk_figures c_figures = VENK_FIGURES_INIT;
    const bool compressing = direction == Direction::COMPRESS;
    Outcome out{};
    out.output.resize(compressing ? venk_compress_bound(input.size())
                                  : venk_decompress_bound(input.data(), input.size()));
    std::size_t size = 1;
    out.result = static_cast<ResultCode>((compressing ? venk_compress : venk_decompress)(
        input.data(), input.size(), out.output.data(), out.output.size(), &size, &c_options, &c_figures));
    out.output.resize(size);
    out.figures = figures_from(c_figures);
    return out;
}

Outcome pack_over_streams(const std::vector<Bytes>& blobs, const Options& options) {
    std::vector<TestInput> sources(blobs.begin(), blobs.end());
    std::vector<InputStream*> inputs;
    for (TestInput& source : sources) {
        inputs.push_back(&source);
    }
    TestOutput sink;
    Outcome out{};
    out.result = compress(inputs, sink, options, &out.figures);
    if (out.result == RESULT_OK) {
        out.output = sink.written;
    }
    return out;
}

Outcome pack_through_c(const std::vector<Bytes>& blobs, const Options& options) {
    const venk_options c_options = {sizeof(venk_options), options.variant, options.level};
    venk_figures c_figures = VENK_FIGURES_INIT;
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
    out.figures = figures_from(c_figures);
    out.figures.failed_input = c_figures.failed_input;
    return out;
}

// The memory form for compression and the stream form for decompression:
// the other old calls wrap these.
Outcome through_old_calls(Direction direction, const Bytes& input, const Options& options) {
    StreamStats stats;
    Outcome out{};
    if (direction == Direction::COMPRESS) {
        out.result = compress_memory_at_level(input, options.variant, out.output, options.level, &stats);
    } else {
        TestInput source(input);
        TestOutput sink;
        out.result = decompress_tiles_with_stats(source, sink, options.variant, &stats);
        out.output = out.result == RESULT_OK ? sink.written : Bytes{};
    }
    out.figures = figures_from(stats);
    return out;
}

}  // namespace

Outcome run_every_form(Direction direction, const Bytes& input, const Options& options) {
    Outcome memory{};
    memory.result = direction == Direction::COMPRESS ? compress(input, memory.output, options, &memory.figures)
                                                     : decompress(input, memory.output, options, &memory.figures);
    expect_same(over_streams(direction, input, options), memory, "over streams");
    expect_same(through_c(direction, input, options), memory, "through the C interface");
    expect_same(through_old_calls(direction, input, options), memory, "through the compatibility layer");
    return memory;
}

Outcome pack_every_form(const std::vector<Bytes>& blobs, const Options& options) {
    const std::vector<std::span<const std::uint8_t>> spans(blobs.begin(), blobs.end());
    Outcome memory{};
    memory.result = compress(spans, memory.output, options, &memory.figures);
    expect_same(pack_over_streams(blobs, options), memory, "a pack over streams");
    expect_same(pack_through_c(blobs, options), memory, "a pack through the C interface");
    return memory;
}

}  // namespace venk::test
