// Every allocation the codec makes may fail. This program replaces the global
// allocator with one that can be told to throw std::bad_alloc on the n-th
// allocation; each codec run is counted once, then run again with each of its
// allocations failing in turn.
#include "support/tiles.hpp"

#include <venk/venk.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>

namespace {

// While armed, the number of allocations still allowed before one fails.
bool armed = false;
std::size_t allocations_left = 0;
std::size_t allocations_made = 0;
bool failure_injected = false;

void* allocate(std::size_t size) {
    if (armed) {
        if (allocations_left == 0) {
            armed = false;
            failure_injected = true;
            throw std::bad_alloc();
        }
        --allocations_left;
        ++allocations_made;
    }
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace venk::test {
namespace {

using Codec = std::function<ResultCode(std::span<const std::uint8_t>, FormatVariant, Bytes&)>;

constexpr std::size_t NO_FAILURE = static_cast<std::size_t>(-1);

// Runs the codec with allocation number `fail_at` failing (counting from 0),
// or with none failing when fail_at is NO_FAILURE; allocations_made counts
// the allocations that succeeded.
ResultCode run_with_failure(const Codec& codec, const Bytes& input, FormatVariant variant, std::size_t fail_at,
                            Bytes& output) {
    allocations_made = 0;
    allocations_left = fail_at;
    failure_injected = false;
    armed = true;
    const ResultCode result = codec(input, variant, output);
    armed = false;
    return result;
}

// The C interface, into a buffer that needs no allocation, as a codec of the
// table below; the copy into `output` is the test's own and is not counted.
ResultCode through_c_interface(bool compressing, std::span<const std::uint8_t> input, FormatVariant variant,
                               Bytes& output) {
    static std::uint8_t buffer[4096];
    const venk_options options = {sizeof(venk_options), variant, VENK_LEVEL_DEFAULT};
    std::size_t size = 0;
    const int result = (compressing ? venk_compress : venk_decompress)(input.data(), input.size(), buffer,
                                                                      sizeof buffer, &size, &options, nullptr);
    armed = false;
    output.assign(buffer, buffer + size);
    return static_cast<ResultCode>(result);
}

TEST(OutOfMemory, EveryAllocationOfBothDirections) {
    const Bytes straddle_stream = {0x00, 0x01, 0x00, 0x10, 0x11, 0x11, 0x22, 0x22, 0x33, 0x33, 0x44, 0x44,
                                   0x55, 0x55, 0x66, 0x66, 0x77, 0x77, 0x88, 0x88, 0x00, 0x00, 0x00, 0x08,
                                   0x00, 0x04, 0x00, 0x02};
    // More tiles than one read chunk (2048) or one decode batch (4096).
    const Bytes many_tiles = repeat(blob_with_distinct_blocks(200), 90);
    Bytes many_tiles_stream;
    ASSERT_EQ(compress_memory(many_tiles, FORMAT_VENK16, many_tiles_stream), RESULT_OK);

    const struct {
        const char* name;
        Codec codec;
        Bytes input;
    } cases[] = {
        {"compress one tile", compress_memory, Bytes(32, 0)},
        {"compress many tiles", compress_memory, many_tiles},
        {"compress many tiles, best layout",
         [](std::span<const std::uint8_t> blob, FormatVariant variant, Bytes& stream) {
             return compress_memory_at_level(blob, variant, stream, LEVEL_BEST);
         },
         random_blob(1, 600, 8)},
        {"decompress one tile", decompress_memory, straddle_stream},
        {"decompress many tiles", decompress_memory, many_tiles_stream},
        {"compress one tile through the C interface",
         [](std::span<const std::uint8_t> blob, FormatVariant variant, Bytes& stream) {
             return through_c_interface(true, blob, variant, stream);
         },
         Bytes(32, 0)},
        {"decompress one tile through the C interface",
         [](std::span<const std::uint8_t> stream, FormatVariant variant, Bytes& blob) {
             return through_c_interface(false, stream, variant, blob);
         },
         straddle_stream},
        {"pack the two halves, best layout",
         [](std::span<const std::uint8_t> blob, FormatVariant variant, Bytes& stream) {
             const std::span<const std::uint8_t> halves[] = {blob.first(blob.size() / 2), blob.subspan(blob.size() / 2)};
             return compress(halves, stream, {.variant = variant, .level = LEVEL_BEST});
         },
         random_blob(2, 8, 8)},
        {"pack two tiles through the C interface",
         [](std::span<const std::uint8_t> blob, FormatVariant variant, Bytes& stream) {
             static std::uint8_t buffer[4096];
             const std::uint8_t* const starts[] = {blob.data(), blob.data() + 32};
             const std::size_t sizes[] = {32, blob.size() - 32};
             const venk_options options = {sizeof(venk_options), variant, VENK_LEVEL_DEFAULT};
             std::size_t size = 0;
             const int result = venk_compress_pack(starts, sizes, 2, buffer, sizeof buffer, &size, &options, nullptr);
             armed = false;
             stream.assign(buffer, buffer + size);
             return static_cast<ResultCode>(result);
         },
         Bytes(64, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes expected;
        ASSERT_EQ(run_with_failure(c.codec, c.input, FORMAT_VENK16, NO_FAILURE, expected), RESULT_OK);
        const std::size_t allocations = allocations_made;
        ASSERT_GT(allocations, 0u);
        for (std::size_t fail_at = 0; fail_at < allocations; ++fail_at) {
            SCOPED_TRACE(testing::Message() << "allocation " << fail_at << " of " << allocations << " fails");
            Bytes output;
            const ResultCode result = run_with_failure(c.codec, c.input, FORMAT_VENK16, fail_at, output);
            EXPECT_TRUE(failure_injected);
            EXPECT_EQ(result, RESULT_OUT_OF_MEMORY);
            EXPECT_TRUE(output.empty());
        }
        // With the allocator back to normal, the same run succeeds again.
        Bytes again;
        EXPECT_EQ(run_with_failure(c.codec, c.input, FORMAT_VENK16, NO_FAILURE, again), RESULT_OK);
        EXPECT_EQ(again, expected);
    }
}

}  // namespace
}  // namespace venk::test
