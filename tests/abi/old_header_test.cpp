// A program built against the venk 1.2 header (venk-1.2/, first on the
// include path) and linked with this release's library, which the shared
// build makes libvenk.so.1: every call of that header must still link and
// give the same results and bytes on the golden streams.
#include <venk/venk.hpp>

#include "support/golden_rows.hpp"
#include "support/test_streams.hpp"

#include <gtest/gtest.h>

// Fails to compile if the current header, which declares Options, was found
// in place of the old one.
namespace venk {
struct Options {};
}  // namespace venk

namespace venk::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The old calls of one direction, each with the outcome it gave.
struct OldCall {
    const char* name;
    ResultCode result = RESULT_OK;
    Bytes output;
};

template <typename Call>
OldCall in_memory(const char* name, const Bytes& input, Call call) {
    OldCall done{name, RESULT_OK, {}};
    done.result = call(input, done.output);
    return done;
}

template <typename Call>
OldCall over_streams(const char* name, const Bytes& input, Call call) {
    TestInput source(input);
    TestOutput sink;
    return {name, call(source, sink), sink.written};
}

std::vector<OldCall> decompress_with_old_calls(const Bytes& stream, FormatVariant variant, StreamStats& stats) {
    return {
        in_memory("decompress_memory", stream, [&](const Bytes& in, Bytes& out) {
            return decompress_memory(in, variant, out);
        }),
        over_streams("decompress_tiles", stream, [&](InputStream& in, OutputStream& out) {
            return decompress_tiles(in, out, variant);
        }),
        over_streams("decompress_tiles_with_stats", stream, [&](InputStream& in, OutputStream& out) {
            return decompress_tiles_with_stats(in, out, variant, &stats);
        }),
    };
}

// The first call is compress_memory_at_level; those without a level join
// in at LEVEL_DEFAULT.
std::vector<OldCall> compress_with_old_calls(const Bytes& blob, FormatVariant variant, CompressionLevel level,
                                             StreamStats& memory_stats, StreamStats& stream_stats) {
    std::vector<OldCall> calls = {
        in_memory("compress_memory_at_level", blob, [&](const Bytes& in, Bytes& out) {
            return compress_memory_at_level(in, variant, out, level, &memory_stats);
        }),
        over_streams("compress_tiles_at_level", blob, [&](InputStream& in, OutputStream& out) {
            return compress_tiles_at_level(in, out, variant, level, &stream_stats);
        }),
    };
    if (level == LEVEL_DEFAULT) {
        calls.push_back(in_memory("compress_memory", blob, [&](const Bytes& in, Bytes& out) {
            return compress_memory(in, variant, out);
        }));
        calls.push_back(over_streams("compress_tiles", blob, [&](InputStream& in, OutputStream& out) {
            return compress_tiles(in, out, variant);
        }));
    }
    return calls;
}

TEST(OldHeader, GoldenStreamsThroughEveryOldCall) {
    const std::vector<GoldenRow> rows = load_rows();
    ASSERT_FALSE(rows.empty());
    for (const GoldenRow& row : rows) {
        SCOPED_TRACE(row.file + " as VENK" + row.variant);
        const FormatVariant variant = row.variant == "15" ? FORMAT_VENK15 : FORMAT_VENK16;
        const Bytes stream = read_bytes(row.file);
        const bool valid = row.result == "RESULT_OK";
        const Bytes blob = valid ? read_bytes(row.expected) : Bytes{};
        StreamStats stats;
        for (const OldCall& call : decompress_with_old_calls(stream, variant, stats)) {
            EXPECT_EQ(call.result, valid ? RESULT_OK : RESULT_INVALID_STREAM) << call.name;
            if (valid) {
                EXPECT_EQ(call.output, blob) << call.name;
            }
        }
        if (!valid) {
            continue;
        }
        EXPECT_EQ(stats.tiles * 32, blob.size());
        EXPECT_EQ(stats.stream_size, stream.size());
        if (blob.empty()) {
            continue;
        }
        for (const CompressionLevel level : {LEVEL_DEFAULT, LEVEL_BEST}) {
            StreamStats memory_stats;
            StreamStats stream_stats;
            const std::vector<OldCall> calls =
                compress_with_old_calls(blob, variant, level, memory_stats, stream_stats);
            Bytes back;
            ASSERT_EQ(decompress_memory(calls[0].output, variant, back), RESULT_OK);
            EXPECT_EQ(back, blob);
            for (const OldCall& call : calls) {
                EXPECT_EQ(call.result, RESULT_OK) << call.name;
                EXPECT_EQ(call.output, calls[0].output) << call.name;
            }
            EXPECT_EQ(memory_stats.stream_size, calls[0].output.size());
            EXPECT_EQ(memory_stats.blob_size, blob.size());
            EXPECT_EQ(stream_stats.distinct_blocks, memory_stats.distinct_blocks);
            EXPECT_EQ(stream_stats.dictionary_limit, variant == FORMAT_VENK15 ? 32767u : 65535u);
        }
    }
}

// The streams of the sample, pinned: the default one's size, as the tool
// prints it, and the best layout's bytes.
TEST(OldHeader, SampleStreams) {
    const Bytes sample = read_bytes("../../examples/sample_tiles.bin");
    Bytes stream;
    EXPECT_EQ(compress_memory(sample, FORMAT_VENK16, stream), RESULT_OK);
    EXPECT_EQ(stream.size(), 7148u);
    EXPECT_EQ(compress_memory_at_level(sample, FORMAT_VENK16, stream, LEVEL_BEST), RESULT_OK);
    EXPECT_EQ(stream, read_bytes("sample_tiles_best.venk"));
    EXPECT_EQ(std::string(result_message(RESULT_TOO_BIG)), "output file is too big for VENK");
}

}  // namespace
}  // namespace venk::test
