// The calls' options and figures: unknown values, structs of other releases'
// sizes, and the C interface's buffers and bounds.
#include "support/every_form.hpp"
#include "support/test_streams.hpp"

#include <venk/venk.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace venk::test {
namespace {

bool bytes_are(const Bytes& bytes, std::size_t from, std::size_t to, std::uint8_t value) {
    return std::all_of(bytes.data() + from, bytes.data() + to, [value](std::uint8_t byte) { return byte == value; });
}

// A tile whose blocks 1 2 3 4 and 3 4 5 6 share two rows: the best layout
// stores them in 12 bytes, the default in 16.
Bytes shared_rows_tile() {
    Bytes blob;
    const BlockBytes first = {1, 1, 2, 2, 3, 3, 4, 4};
    const BlockBytes second = {3, 3, 4, 4, 5, 5, 6, 6};
    append_tile(blob, {first, second, first, second});
    return blob;
}

Options options_of(std::uint8_t variant, std::uint8_t level) {
    Options options;
    options.variant = static_cast<FormatVariant>(variant);
    options.level = static_cast<CompressionLevel>(level);
    return options;
}

TEST(Options, UnknownValuesAreTheLowestNamedOnes) {
    Bytes venk16_stream;  // a dictionary that only VENK16 allows
    ASSERT_EQ(compress(blob_with_distinct_blocks(4096), venk16_stream), RESULT_OK);
    const struct {
        const char* name;
        Direction direction;
        Bytes input;
    } inputs[] = {
        {"rows the best layout shares", Direction::COMPRESS, shared_rows_tile()},
        {"a stream that VENK16 only reads", Direction::DECOMPRESS, venk16_stream},
    };
    const struct {
        std::uint8_t variant, level, taken_variant, taken_level;
    } values[] = {
        {0, LEVEL_DEFAULT, FORMAT_VENK15, LEVEL_DEFAULT},  {3, LEVEL_BEST, FORMAT_VENK15, LEVEL_BEST},
        {255, 255, FORMAT_VENK15, LEVEL_DEFAULT},          {FORMAT_VENK16, 2, FORMAT_VENK16, LEVEL_DEFAULT},
        {FORMAT_VENK16, 128, FORMAT_VENK16, LEVEL_DEFAULT},
    };
    for (const auto& input : inputs) {
        for (const auto& v : values) {
            SCOPED_TRACE(testing::Message() << input.name << ", variant " << int{v.variant} << ", level "
                                            << int{v.level});
            const Options given_options = options_of(v.variant, v.level);
            const Options taken_options = options_of(v.taken_variant, v.taken_level);
            const Outcome given = run_every_form(input.direction, input.input, given_options);
            const Outcome taken = run_every_form(input.direction, input.input, taken_options);
            EXPECT_EQ(given.result, taken.result);
            EXPECT_EQ(given.output, taken.output);
            EXPECT_EQ(given.figures.dictionary_limit, taken.figures.dictionary_limit);
        }
    }
    // Values that do not fit the C++ enums: 258 is not 2.
    venk_options wide = VENK_OPTIONS_INIT;
    wide.variant = 258;
    Bytes blob(venk_decompress_bound(venk16_stream.data(), venk16_stream.size()));
    std::size_t size = 0;
    EXPECT_EQ(venk_decompress(venk16_stream.data(), venk16_stream.size(), blob.data(), blob.size(), &size, &wide,
                              nullptr),
              VENK_RESULT_INVALID_STREAM);
}

// The first `size` bytes of `bytes`, with a struct_size of `struct_size` and
// the byte at `nonzero_at` set, if any, as the options of a compression
// through the C++ or the C interface.
ResultCode compress_with_options_bytes(bool c_interface, std::uint32_t struct_size, std::size_t nonzero_at,
                                       Bytes& stream) {
    alignas(8) unsigned char bytes[64] = {};
    const Options cpp_options;
    const venk_options c_options = VENK_OPTIONS_INIT;
    std::memcpy(bytes, c_interface ? static_cast<const void*>(&c_options) : &cpp_options,
                c_interface ? sizeof c_options : sizeof cpp_options);
    std::memcpy(bytes, &struct_size, sizeof struct_size);
    if (nonzero_at != NEVER) {
        bytes[nonzero_at] = 1;
    }
    const Bytes blob = shared_rows_tile();
    if (!c_interface) {
        return compress(blob, stream, *reinterpret_cast<const Options*>(bytes));
    }
    stream.resize(venk_compress_bound(blob.size()));
    std::size_t size = 0;
    const int result = venk_compress(blob.data(), blob.size(), stream.data(), stream.size(), &size,
                                     reinterpret_cast<const venk_options*>(bytes), nullptr);
    stream.resize(size);
    return static_cast<ResultCode>(result);
}

TEST(Options, StructsOfOtherSizes) {
    const struct {
        const char* name;
        bool c_interface;
        std::uint32_t struct_size;
        std::size_t nonzero_at;
        ResultCode result;
    } cases[] = {
        {"this release's", false, 8, NEVER, RESULT_OK},
        {"no size", false, 0, NEVER, RESULT_INVALID_OPTIONS},
        {"a byte short", false, 7, NEVER, RESULT_INVALID_OPTIONS},
        {"a size no release has", false, 4097, NEVER, RESULT_INVALID_OPTIONS},
        {"a reserved byte set", false, 8, 7, RESULT_INVALID_OPTIONS},
        {"a newer release's, its fields zero", false, 40, NEVER, RESULT_OK},
        {"a newer release's asking for more", false, 40, 39, RESULT_INVALID_OPTIONS},
        {"a byte past the struct", false, 8, 8, RESULT_OK},
        {"C, this release's", true, 12, NEVER, RESULT_OK},
        {"C, a byte short", true, 11, NEVER, RESULT_INVALID_OPTIONS},
        {"C, a newer release's, its fields zero", true, 40, NEVER, RESULT_OK},
        {"C, a newer release's asking for more", true, 40, 12, RESULT_INVALID_OPTIONS},
        {"C, a byte past the struct", true, 12, 12, RESULT_OK},
    };
    Bytes expected;
    ASSERT_EQ(compress(shared_rows_tile(), expected), RESULT_OK);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes stream = {1};
        EXPECT_EQ(compress_with_options_bytes(c.c_interface, c.struct_size, c.nonzero_at, stream), c.result);
        EXPECT_EQ(stream, c.result == RESULT_OK ? expected : Bytes{});
    }
}

// A figures struct of `struct_size` bytes in a buffer of 0xA5, filled by a
// compression through the C++ or the C interface; the buffer afterwards.
std::pair<ResultCode, Bytes> compress_into_figures_bytes(bool c_interface, std::uint32_t struct_size) {
    alignas(8) unsigned char bytes[128];
    std::memset(bytes, 0xA5, sizeof bytes);
    std::memcpy(bytes, &struct_size, sizeof struct_size);
    const Bytes blob = shared_rows_tile();
    Bytes stream(venk_compress_bound(blob.size()));
    std::size_t size = 0;
    const ResultCode result =
        c_interface ? static_cast<ResultCode>(venk_compress(blob.data(), blob.size(), stream.data(), stream.size(),
                                                            &size, nullptr, reinterpret_cast<venk_figures*>(bytes)))
                    : compress(blob, stream, {}, reinterpret_cast<Figures*>(bytes));
    return {result, Bytes(bytes, bytes + sizeof bytes)};
}

TEST(Figures, StructsOfOtherSizes) {
    const std::uint32_t known = sizeof(Figures);
    static_assert(sizeof(Figures) == sizeof(venk_figures));
    const struct {
        const char* name;
        bool c_interface;
        std::uint32_t struct_size;
        ResultCode result;
    } cases[] = {
        {"this release's", false, known, RESULT_OK},
        {"a newer release's", false, known + 24, RESULT_OK},
        {"one figure short", false, known - 8, RESULT_INVALID_OPTIONS},
        {"C, this release's", true, known, RESULT_OK},
        {"C, a newer release's", true, known + 24, RESULT_OK},
        {"C, no size", true, 0, RESULT_INVALID_OPTIONS},
        {"C, a size no release has", true, 0xA5A5A5A5, RESULT_INVALID_OPTIONS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto [result, bytes] = compress_into_figures_bytes(c.c_interface, c.struct_size);
        EXPECT_EQ(result, c.result);
        // Its own size kept, one tile, zeros for what this release does not
        // know, and nothing past struct_size; nothing at all on failure.
        const std::size_t written = result == RESULT_OK ? c.struct_size : 4;
        Figures figures;
        std::memcpy(&figures, bytes.data(), sizeof figures);
        EXPECT_EQ(figures.struct_size, c.struct_size);
        EXPECT_EQ(figures.tiles, result == RESULT_OK ? 1u : 0xA5A5A5A5A5A5A5A5u & SIZE_MAX);
        const std::size_t zeros_end = std::max<std::size_t>(written, known);
        EXPECT_TRUE(bytes_are(bytes, known, zeros_end, 0));
        EXPECT_TRUE(bytes_are(bytes, zeros_end, bytes.size(), 0xA5));
    }
}

// A pack is the stream of its inputs' concatenation; a failure names the
// input that caused it.
TEST(Pack, IsTheConcatenationsStreamOrNamesTheInputThatFailed) {
    const Bytes one = random_blob(3, 40, 12);
    const Bytes two = random_blob(4, 70, 9);
    const Bytes odd(33, 1);
    // VENK15 holds 4095 blocks laid out by default, some 16000 chained.
    const std::vector<Bytes> chains = {chained_blocks(1, 3000), chained_blocks(3001, 3000),
                                       chained_blocks(6001, 12000), one};
    const std::vector<Bytes> too_many_tiles = {Bytes(40000 * 32), Bytes(30000 * 32), one};
    const struct {
        const char* name;
        std::vector<Bytes> blobs;
        Options options;
        ResultCode result;
        std::size_t failed_input;
    } cases[] = {
        {"two blobs", {one, two}, {}, RESULT_OK, 0},
        {"two blobs, best layout", {one, two}, options_of(FORMAT_VENK16, LEVEL_BEST), RESULT_OK, 0},
        {"one blob", {two}, options_of(FORMAT_VENK15, LEVEL_DEFAULT), RESULT_OK, 0},
        {"a partial tile", {one, odd, two}, {}, RESULT_BAD_INPUT_SIZE, 1},
        // Reading stops past the most tiles a stream counts: no later input is read.
        {"a partial tile after too many tiles", {too_many_tiles[0], too_many_tiles[1], odd}, {}, RESULT_TOO_BIG, 1},
        {"an empty blob", {one, two, {}}, {}, RESULT_NO_TILES, 2},
        {"no blobs", {}, {}, RESULT_NO_TILES, 0},
        {"chains, default layout", chains, options_of(FORMAT_VENK15, LEVEL_DEFAULT), RESULT_TOO_BIG, 1},
        {"chains, best layout", chains, options_of(FORMAT_VENK15, LEVEL_BEST), RESULT_TOO_BIG, 2},
        {"chains that fit laid out", {chains[0], chains[1], one}, options_of(FORMAT_VENK15, LEVEL_BEST), RESULT_OK,
         0},
        {"too many tiles", too_many_tiles, {}, RESULT_TOO_BIG, 1},
        {"too many tiles, best layout", too_many_tiles, options_of(FORMAT_VENK16, LEVEL_BEST), RESULT_TOO_BIG, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome pack = pack_every_form(c.blobs, c.options);
        EXPECT_EQ(pack.result, c.result);
        EXPECT_EQ(pack.figures.failed_input, c.failed_input);
        if (c.result != RESULT_OK) {
            EXPECT_EQ(pack.figures.tiles, 0u) << "a failed pack's figures are all 0 but the input";
            continue;
        }
        Bytes concatenation;
        for (const Bytes& blob : c.blobs) concatenation.insert(concatenation.end(), blob.begin(), blob.end());
        Figures figures;
        Bytes stream;
        EXPECT_EQ(compress(concatenation, stream, c.options, &figures), RESULT_OK);
        EXPECT_EQ(pack.output, stream);
        EXPECT_EQ(pack.figures.tiles, figures.tiles);
        EXPECT_EQ(pack.figures.distinct_blocks, figures.distinct_blocks);
    }
}

TEST(CInterface, BuffersTooSmallAndBounds) {
    const Bytes blob = random_blob(7, 300, 16);
    Bytes stream;
    ASSERT_EQ(compress(blob, stream), RESULT_OK);
    const struct {
        const char* name;
        bool compressing;
        const Bytes& input;
        std::size_t needed;
    } cases[] = {
        {"compress", true, blob, stream.size()},
        {"decompress", false, stream, blob.size()},
    };
    for (const auto& c : cases) {
        for (const std::size_t capacity : {c.needed, c.needed - 1, std::size_t{4}, std::size_t{0}}) {
            SCOPED_TRACE(testing::Message() << c.name << " into " << capacity << " bytes");
            Bytes buffer(c.needed + 8, 0xA5);
            std::size_t size = 1;
            const int result = (c.compressing ? venk_compress : venk_decompress)(
                c.input.data(), c.input.size(), buffer.data(), capacity, &size, nullptr, nullptr);
            EXPECT_EQ(result, capacity == c.needed ? VENK_RESULT_OK : VENK_RESULT_WRITE_ERROR);
            EXPECT_EQ(size, capacity == c.needed ? c.needed : 0);
            EXPECT_TRUE(bytes_are(buffer, capacity, buffer.size(), 0xA5));
        }
    }

    // The bound is the stream of tiles whose blocks all differ, while the
    // dictionary stays below its largest size.
    const struct {
        unsigned blocks;
        bool exact;
    } distinct_blobs[] = {{4, true}, {400, true}, {8188, true}, {8191, false}};
    for (const auto& d : distinct_blobs) {
        const Bytes distinct = blob_with_distinct_blocks(d.blocks);
        ASSERT_EQ(compress(distinct, stream), RESULT_OK);
        EXPECT_GE(venk_compress_bound(distinct.size()), stream.size()) << d.blocks << " blocks";
        EXPECT_EQ(venk_compress_bound(distinct.size()) == stream.size(), d.exact) << d.blocks << " blocks";
    }

    // A stream of so many bytes with an 8-byte dictionary: a tile for each
    // whole entry after the dictionary, none when the header or the
    // dictionary is cut short.
    const std::pair<std::size_t, std::size_t> sizes_and_blobs[] = {{0, 0}, {3, 0}, {11, 0}, {20, 32}, {39, 96}};
    for (const auto& [size, blob_size] : sizes_and_blobs) {
        Bytes bytes(size);
        if (size >= 4) bytes[3] = 8;
        EXPECT_EQ(venk_decompress_bound(bytes.data(), size), blob_size) << size << " bytes";
    }
}

TEST(CInterface, MessagesAndVersion) {
    EXPECT_EQ(std::string(venk_result_message(VENK_RESULT_INVALID_STREAM)), result_message(RESULT_INVALID_STREAM));
    for (const int unknown : {-1, 9, 256 + VENK_RESULT_TOO_BIG}) {
        EXPECT_EQ(std::string(venk_result_message(unknown)), "unknown error") << unknown;
    }
    EXPECT_EQ(std::string(venk_version()), VENK_PROJECT_VERSION);
}

}  // namespace
}  // namespace venk::test
