// The calls' options and figures: unknown values, structs of other releases'
// sizes, and the C interface's buffers and bounds.
#include "support/every_form.hpp"
#include "support/test_streams.hpp"

#include <venk/venk.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
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

// In Options a 0 is the default and any other unknown value is refused; the
// old calls take an unknown value as the lowest named one.
TEST(Options, ZeroIsTheDefaultAndUnknownValuesAreRefused) {
    Bytes venk16_stream;  // a dictionary that only VENK16 allows
    ASSERT_EQ(compress(blob_with_distinct_blocks(4096), venk16_stream), RESULT_OK);
    const struct {
        const char* name;
        Direction direction;
        Bytes input;
    } inputs[] = {
        {"rows the best layout shares", Direction::COMPRESS, shared_rows_tile()},
        {"a stream that VENK16 only reads", Direction::DECOMPRESS, venk16_stream},
        {"blocks that only VENK16 holds", Direction::COMPRESS, blob_with_distinct_blocks(4096)},
        {"a partial tile", Direction::COMPRESS, Bytes(33, 1)},
    };
    constexpr std::uint8_t REFUSED = 0xFF;
    const struct {
        std::uint8_t variant, level, taken_variant, taken_level, old_variant, old_level;
    } values[] = {
        {0, 0, FORMAT_VENK16, LEVEL_DEFAULT, FORMAT_VENK15, LEVEL_DEFAULT},
        {0, LEVEL_BEST, FORMAT_VENK16, LEVEL_BEST, FORMAT_VENK15, LEVEL_BEST},
        {FORMAT_VENK15, LEVEL_BEST, FORMAT_VENK15, LEVEL_BEST, FORMAT_VENK15, LEVEL_BEST},
        {16, 0, REFUSED, REFUSED, FORMAT_VENK15, LEVEL_DEFAULT},  // the target decoder's VENK_VARIANT_16
        {3, LEVEL_BEST, REFUSED, REFUSED, FORMAT_VENK15, LEVEL_BEST},
        {255, 255, REFUSED, REFUSED, FORMAT_VENK15, LEVEL_DEFAULT},
        {FORMAT_VENK16, 2, REFUSED, REFUSED, FORMAT_VENK16, LEVEL_DEFAULT},
        {FORMAT_VENK16, 128, REFUSED, REFUSED, FORMAT_VENK16, LEVEL_DEFAULT},
    };
    for (const auto& input : inputs) {
        // What the calls give when asked for this variant and level by name.
        const auto expect_taken_as = [&](const Outcome& given, std::uint8_t variant, std::uint8_t level) {
            const Outcome taken = run_every_form(input.direction, input.input, options_of(variant, level));
            EXPECT_EQ(given.result, taken.result);
            EXPECT_EQ(given.output, taken.output);
            EXPECT_EQ(given.figures.dictionary_limit, taken.figures.dictionary_limit);
        };
        for (const auto& v : values) {
            SCOPED_TRACE(testing::Message() << input.name << ", variant " << int{v.variant} << ", level "
                                            << int{v.level});
            const Options given = options_of(v.variant, v.level);
            expect_taken_as(run_old_calls(input.direction, input.input, given), v.old_variant, v.old_level);
            if (v.taken_variant == REFUSED) {
                EXPECT_EQ(run_new_forms(input.direction, input.input, given).result, RESULT_INVALID_OPTIONS);
            } else {
                expect_taken_as(run_new_forms(input.direction, input.input, given), v.taken_variant, v.taken_level);
            }
        }
    }
    // Values wider than the C++ enums: 258 is not 2, nor 257 1.
    for (const auto& [variant, level] : {std::pair{258u, 0u}, std::pair{0u, 257u}, std::pair{0u, 0xFFFFFFFFu}}) {
        const venk_options wide = {sizeof wide, variant, level};
        Bytes blob(venk_decompress_bound(venk16_stream.data(), venk16_stream.size()));
        std::size_t size = 0;
        EXPECT_EQ(venk_decompress(venk16_stream.data(), venk16_stream.size(), blob.data(), blob.size(), &size,
                                  &wide, nullptr),
                  VENK_RESULT_INVALID_OPTIONS)
            << variant << ", " << level;
    }
}

// The first `size` bytes of `bytes`, with a struct_size of `struct_size` and
// the byte at `nonzero_at` set, if any, as the options of a compression
// through the C++ or the C interface.
ResultCode compress_with_options_bytes(bool c_interface, std::uint32_t struct_size, std::size_t nonzero_at,
                                       Bytes& stream) {
    alignas(8) unsigned char bytes[4096] = {};
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
        {"the largest size, its tail zero", false, 4096, NEVER, RESULT_OK},
        {"the largest size asking for more at its end", false, 4096, 4095, RESULT_INVALID_OPTIONS},
        {"the first reserved byte set", false, 8, 6, RESULT_INVALID_OPTIONS},
        {"the second reserved byte set", false, 8, 7, RESULT_INVALID_OPTIONS},
        {"a newer release's, its fields zero", false, 40, NEVER, RESULT_OK},
        {"a newer release's asking for more", false, 40, 39, RESULT_INVALID_OPTIONS},
        {"a byte past the struct", false, 8, 8, RESULT_OK},
        {"C, this release's", true, 12, NEVER, RESULT_OK},
        {"C, a byte short", true, 11, NEVER, RESULT_INVALID_OPTIONS},
        {"C, the largest size, its tail zero", true, 4096, NEVER, RESULT_OK},
        {"C, a size no release has", true, 4097, NEVER, RESULT_INVALID_OPTIONS},
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
    alignas(8) unsigned char bytes[4096 + 64];
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
        {"the largest size", false, 4096, RESULT_OK},
        {"C, this release's", true, known, RESULT_OK},
        {"C, a newer release's", true, known + 24, RESULT_OK},
        {"C, the largest size", true, 4096, RESULT_OK},
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
        {"an unknown variant", {one, two}, options_of(16, LEVEL_DEFAULT), RESULT_INVALID_OPTIONS, 0},
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

// The blob as a pack of its first tile and the rest, with venk_compress's
// arguments.
int compress_as_pack(const std::uint8_t* blob, std::size_t blob_size, std::uint8_t* stream, std::size_t capacity,
                     std::size_t* stream_size, const venk_options* options, venk_figures* figures) {
    const std::uint8_t* const blobs[] = {blob, blob + 32};
    const std::size_t sizes[] = {32, blob_size - 32};
    return venk_compress_pack(blobs, sizes, 2, stream, capacity, stream_size, options, figures);
}

TEST(CInterface, BuffersTooSmallAndBounds) {
    const Bytes blob = random_blob(7, 300, 16);
    Bytes stream;
    ASSERT_EQ(compress(blob, stream), RESULT_OK);
    const struct {
        const char* name;
        decltype(&venk_compress) call;
        const Bytes& input;
        std::size_t needed;
    } cases[] = {
        {"compress", venk_compress, blob, stream.size()},
        {"decompress", venk_decompress, stream, blob.size()},
        {"pack", compress_as_pack, blob, stream.size()},
    };
    for (const auto& c : cases) {
        for (const std::size_t capacity : {c.needed, c.needed - 1, std::size_t{4}, std::size_t{0}}) {
            SCOPED_TRACE(testing::Message() << c.name << " into " << capacity << " bytes");
            Bytes buffer(c.needed + 8, 0xA5);
            std::size_t size = 1;
            venk_figures figures = VENK_FIGURES_INIT;
            figures.tiles = 7;
            const int result =
                c.call(c.input.data(), c.input.size(), buffer.data(), capacity, &size, nullptr, &figures);
            const bool fits = capacity == c.needed;
            EXPECT_EQ(result, fits ? VENK_RESULT_OK : VENK_RESULT_BUFFER_TOO_SMALL);
            EXPECT_EQ(size, fits ? c.needed : 0);
            EXPECT_EQ(figures.tiles, fits ? blob.size() / 32 : 7) << "the figures after a short buffer";
            EXPECT_TRUE(bytes_are(buffer, capacity, buffer.size(), 0xA5));
        }
        // Nowhere to store the size: refused before a byte is written.
        Bytes buffer(c.needed, 0xA5);
        EXPECT_EQ(c.call(c.input.data(), c.input.size(), buffer.data(), buffer.size(), nullptr, nullptr, nullptr),
                  VENK_RESULT_INVALID_OPTIONS)
            << c.name;
        EXPECT_TRUE(bytes_are(buffer, 0, buffer.size(), 0xA5)) << c.name;
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
    for (int code = VENK_RESULT_OK; code <= VENK_RESULT_BUFFER_TOO_SMALL; ++code) {
        EXPECT_EQ(std::string(venk_result_message(code)), result_message(static_cast<ResultCode>(code))) << code;
    }
    for (const int unknown : {-1, 10, 256 + VENK_RESULT_TOO_BIG, -256 + VENK_RESULT_TOO_BIG, INT_MIN,
                              INT_MIN + VENK_RESULT_TOO_BIG, INT_MAX}) {
        EXPECT_EQ(std::string(venk_result_message(unknown)), "unknown error") << unknown;
    }
    EXPECT_EQ(std::string(venk_version()), VENK_PROJECT_VERSION);
    EXPECT_EQ(venk_version_number(), VENK_VERSION_MAJOR * 10000u + VENK_VERSION_MINOR * 100u + VENK_VERSION_PATCH);
}

}  // namespace
}  // namespace venk::test
