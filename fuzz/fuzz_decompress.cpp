// Any bytes, decoded as both variants: the decoder must answer with a code,
// never crash, and never produce more than the map entries it was given.
// Through the C interface, into a buffer of the size its bound gives, it
// must decode the same.
#include "fuzz_check.hpp"

#include <venk/venk.h>
#include <venk/venk.hpp>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

constexpr std::size_t HEADER_SIZE = 4;
constexpr std::size_t TILE_SIZE = 32;
constexpr std::size_t MAP_ENTRY_SIZE = 8;

// Checks one decode and returns its outcome.
venk::ResultCode decode_and_check(std::span<const std::uint8_t> stream, venk::FormatVariant variant,
                                  std::vector<std::uint8_t>& blob) {
    const venk::ResultCode result = venk::decompress_memory(stream, variant, blob);
    // Memory streams never fail, so only the data decides.
    FUZZ_CHECK(result == venk::RESULT_OK || result == venk::RESULT_INVALID_STREAM);
    FUZZ_CHECK(blob.size() % TILE_SIZE == 0);
    FUZZ_CHECK(blob.size() <= 4 * stream.size());
    if (result != venk::RESULT_OK) {
        FUZZ_CHECK(blob.empty());
        return result;
    }
    // A good stream is a header, D dictionary bytes and whole map entries,
    // each of which became exactly one tile.
    FUZZ_CHECK(stream.size() >= HEADER_SIZE);
    const std::size_t dictionary_size = std::size_t{stream[2]} << 8 | stream[3];
    FUZZ_CHECK(stream.size() >= HEADER_SIZE + dictionary_size);
    const std::size_t map_size = stream.size() - HEADER_SIZE - dictionary_size;
    FUZZ_CHECK(map_size % MAP_ENTRY_SIZE == 0);
    FUZZ_CHECK(blob.size() == map_size / MAP_ENTRY_SIZE * TILE_SIZE);
    return result;
}

void check_c_interface(std::span<const std::uint8_t> stream, venk::ResultCode result16,
                       const std::vector<std::uint8_t>& blob16) {
    const std::size_t bound = venk_decompress_bound(stream.data(), stream.size());
    FUZZ_CHECK(result16 != venk::RESULT_OK || bound == blob16.size());
    std::vector<std::uint8_t> blob(bound);
    std::size_t size = 0;
    const venk_options options = {sizeof(venk_options), VENK_FORMAT_VENK16, VENK_LEVEL_DEFAULT};
    FUZZ_CHECK(venk_decompress(stream.data(), stream.size(), blob.data(), bound, &size, &options, nullptr) ==
               result16);
    blob.resize(size);
    FUZZ_CHECK(blob == blob16);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> stream(data, size);
    std::vector<std::uint8_t> blob15;
    std::vector<std::uint8_t> blob16;
    const venk::ResultCode result15 = decode_and_check(stream, venk::FORMAT_VENK15, blob15);
    const venk::ResultCode result16 = decode_and_check(stream, venk::FORMAT_VENK16, blob16);
    check_c_interface(stream, result16, blob16);
    // VENK16 accepts every dictionary VENK15 does, and decodes it the same way.
    if (result15 == venk::RESULT_OK) {
        FUZZ_CHECK(result16 == venk::RESULT_OK);
        FUZZ_CHECK(blob15 == blob16);
    }
    return 0;
}
