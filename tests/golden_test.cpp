// Decodes the hand-made streams in data/ (see data/make_golden.py) and checks
// each result code and blob against data/golden.tsv, one test case per row,
// through every form of call; each blob that decodes compresses back to a
// stream of the same tiles.
#include "support/every_form.hpp"
#include "support/golden_rows.hpp"

#include <venk/venk.hpp>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using venk::test::GoldenRow;
using venk::test::data_path;
using venk::test::load_rows;
using venk::test::read_bytes;

class GoldenStream : public ::testing::TestWithParam<GoldenRow> {};

TEST_P(GoldenStream, DecodesAsTabled) {
    const GoldenRow& row = GetParam();
    SCOPED_TRACE(row.file + " as VENK" + row.variant + ": " + row.what);
    ASSERT_TRUE(row.variant == "15" || row.variant == "16");
    const venk::FormatVariant variant =
        row.variant == "15" ? venk::FORMAT_VENK15 : venk::FORMAT_VENK16;

    const std::vector<std::uint8_t> stream = read_bytes(row.file);
    std::vector<std::uint8_t> blob;
    // Compared as numbers so a failure prints the code, not a character.
    const int got = static_cast<int>(venk::decompress_memory(stream, variant, blob));

    venk::Options options;
    options.variant = variant;
    const venk::test::Outcome every_form = run_every_form(venk::test::Direction::DECOMPRESS, stream, options);
    EXPECT_EQ(static_cast<int>(every_form.result), got);
    EXPECT_EQ(every_form.output, blob);

    if (row.result == "RESULT_OK") {
        ASSERT_EQ(got, static_cast<int>(venk::RESULT_OK));
        EXPECT_EQ(blob, read_bytes(row.expected));
        const venk::test::Outcome compressed = run_every_form(venk::test::Direction::COMPRESS, blob, options);
        EXPECT_EQ(compressed.result, blob.empty() ? venk::RESULT_NO_TILES : venk::RESULT_OK);
        EXPECT_EQ(run_every_form(venk::test::Direction::DECOMPRESS, compressed.output, options).output, blob);
    } else {
        ASSERT_EQ(row.result, "RESULT_INVALID_STREAM");
        EXPECT_EQ(got, static_cast<int>(venk::RESULT_INVALID_STREAM));
        EXPECT_TRUE(blob.empty()) << "a rejected stream must leave no tiles behind";
    }
}

std::string row_name(const ::testing::TestParamInfo<GoldenRow>& info) {
    std::string name = info.param.file.substr(0, info.param.file.find('.'));
    name += "_" + info.param.variant;
    for (char& c : name)
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Table, GoldenStream, ::testing::ValuesIn(load_rows()), row_name);

// Tiles of `symbols` different 2-byte rows, drawn by a generator written out
// here, so that every platform makes the same blob.
std::vector<std::uint8_t> drawn_tiles(std::size_t tiles, unsigned symbols) {
    std::uint32_t state = 2463534242u;
    std::vector<std::uint8_t> blob;
    for (std::size_t row = 0; row < tiles * 16; ++row) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const unsigned symbol = state % symbols;
        blob.push_back(static_cast<std::uint8_t>(symbol * 37));
        blob.push_back(static_cast<std::uint8_t>(symbol * 101 + 7));
    }
    return blob;
}

// 64-bit FNV-1a, to pin a stream too big to keep as a file.
std::uint64_t fingerprint(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 14695981039346656037u;
    for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 1099511628211u;
    return hash;
}

// Streams of the best layout, pinned byte for byte, so that every platform,
// compiler and build type must write the same ones.
TEST(GoldenBest, CompressesToThePinnedStreams) {
    const std::vector<std::uint8_t> sample = read_bytes("../../examples/sample_tiles.bin");
    const std::vector<std::uint8_t> sample_stream = read_bytes("sample_tiles_best.venk");
    const std::vector<std::uint8_t> drawn = drawn_tiles(6000, 10);
    const struct {
        const char* name;
        const std::vector<std::uint8_t>& blob;
        venk::FormatVariant variant;
        std::size_t stream_size;
        std::uint64_t stream_fingerprint;
    } cases[] = {
        {"the sample", sample, venk::FORMAT_VENK16, sample_stream.size(), fingerprint(sample_stream)},
        {"the sample", sample, venk::FORMAT_VENK15, sample_stream.size(), fingerprint(sample_stream)},
        // Too big for VENK15 without the layout.
        {"6000 tiles of ten rows", drawn, venk::FORMAT_VENK15, 67332, 4169311594886828725u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << ", variant " << int{c.variant});
        std::vector<std::uint8_t> stream;
        ASSERT_EQ(venk::compress_memory_at_level(c.blob, c.variant, stream, venk::LEVEL_BEST), venk::RESULT_OK);
        EXPECT_EQ(stream.size(), c.stream_size);
        EXPECT_EQ(fingerprint(stream), c.stream_fingerprint) << "the best layout changed";
    }
    std::vector<std::uint8_t> stream;
    EXPECT_EQ(venk::compress_memory(drawn, venk::FORMAT_VENK15, stream), venk::RESULT_TOO_BIG);
}

TEST(GoldenTable, IsPresent) {
    EXPECT_FALSE(load_rows().empty()) << "no rows read from " << data_path("golden.tsv");
}

}  // namespace
