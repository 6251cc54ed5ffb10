// Any bytes as a blob of whole tiles: the compressor must write exactly what
// the plain-scan compressor writes, and its stream must decode back to the
// blob. The first byte chooses the variant and whether to fold the tile bytes
// into four values, which makes repeated and straddling blocks common.
#include "compressor.hpp"
#include "fuzz_check.hpp"
#include "memory_streams.hpp"
#include "plain_scan.hpp"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t options = data[0];
    const venk::FormatVariant variant = (options & 1) != 0 ? venk::FORMAT_VENK15 : venk::FORMAT_VENK16;
    const bool fold = (options & 2) != 0;
    std::vector<std::uint8_t> blob(data + 1, data + size);
    blob.resize(blob.size() / 32 * 32);
    if (fold) {
        for (std::uint8_t& byte : blob) {
            byte &= 3;
        }
    }

    std::vector<std::uint8_t> stream;
    const venk::ResultCode result = venk::compress_memory(blob, variant, stream);
    std::vector<std::uint8_t> expected_stream;
    venk::SpanInputStream plain_input(blob);
    venk::VectorOutputStream plain_output(expected_stream);
    const venk::ResultCode expected_result =
        venk::compress_tiles_with(venk::plain_scan_find_or_append_block, plain_input, plain_output, variant);
    FUZZ_CHECK(result == expected_result);
    FUZZ_CHECK(stream == expected_stream);
    if (result != venk::RESULT_OK) {
        return 0;
    }

    std::vector<std::uint8_t> back;
    FUZZ_CHECK(venk::decompress_memory(stream, variant, back) == venk::RESULT_OK);
    FUZZ_CHECK(back == blob);
    return 0;
}
