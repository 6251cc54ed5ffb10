// Every blob that compresses comes back unchanged, in both variants.
#include "support/tiles.hpp"

#include <gtest/gtest.h>

namespace venk::test {
namespace {

TEST(RoundTrip, VariedBlobsInBothVariants) {
    const struct {
        const char* name;
        Bytes blob;
    } cases[] = {
        {"one tile", random_blob(1, 1, 256)},
        {"two-row alphabet", random_blob(2, 3000, 2)},
        {"four-row alphabet", random_blob(3, 2000, 4)},
        {"sixteen-row alphabet", random_blob(4, 500, 16)},
        {"all different", random_blob(5, 900, 256)},
        {"distinct blocks at the VENK15 limit", blob_with_distinct_blocks(4095)},
        {"ascending bytes", [] {
             Bytes blob(32 * 64);
             for (std::size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<std::uint8_t>(i);
             return blob;
         }()},
    };
    for (const auto& c : cases) {
        for (const FormatVariant variant : {FORMAT_VENK15, FORMAT_VENK16}) {
            SCOPED_TRACE(testing::Message() << c.name << ", variant " << int{variant});
            Bytes stream;
            ASSERT_EQ(compress_memory(c.blob, variant, stream), RESULT_OK);
            Bytes back;
            ASSERT_EQ(decompress_memory(stream, variant, back), RESULT_OK);
            EXPECT_EQ(back, c.blob);
        }
    }
}

TEST(RoundTrip, FailuresLeaveTheOutputEmpty) {
    Bytes out = {1, 2, 3};
    EXPECT_EQ(compress_memory(Bytes(33, 0), FORMAT_VENK16, out), RESULT_BAD_INPUT_SIZE);
    EXPECT_TRUE(out.empty());
    out = {1, 2, 3};
    const Bytes stream_with_bad_last_entry = {0, 2, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0,
                                              0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(decompress_memory(stream_with_bad_last_entry, FORMAT_VENK16, out), RESULT_INVALID_STREAM);
    EXPECT_TRUE(out.empty());
}

// The blob as a pack of its two halves, with compress_memory's arguments.
ResultCode compress_halves(std::span<const std::uint8_t> blob, FormatVariant variant, Bytes& stream) {
    const std::size_t half = blob.size() / 64 * 32;
    const std::span<const std::uint8_t> halves[] = {blob.first(half), blob.subspan(half)};
    return compress(halves, stream, {.variant = variant});
}

// A caller may hand in a view of the very vector that receives the result:
// the output must still be what separate vectors give, in either direction.
// The stream has more entries than the decompressor reads at once, so its
// output grows while part of the input is still unread; with room reserved,
// no reallocation moves the output away from the input it would overwrite.
TEST(RoundTrip, OutputMayBeTheInputVector) {
    const Bytes blob = random_blob(6, 5000, 4);
    Bytes stream;
    ASSERT_EQ(compress_memory(blob, FORMAT_VENK16, stream), RESULT_OK);
    const struct {
        const char* name;
        decltype(&compress_memory) codec;
        Bytes input;
        Bytes expected;
    } cases[] = {
        {"compress", compress_memory, blob, stream},
        {"decompress", decompress_memory, stream, blob},
        {"pack", compress_halves, blob, stream},
    };
    for (const auto& c : cases) {
        for (const std::size_t reserved : {std::size_t{0}, 2 * blob.size()}) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << reserved << " bytes reserved");
            Bytes in_place = c.input;
            in_place.reserve(reserved);
            EXPECT_EQ(c.codec(in_place, FORMAT_VENK16, in_place), RESULT_OK);
            EXPECT_EQ(in_place, c.expected);
        }
    }
}

}  // namespace
}  // namespace venk::test
