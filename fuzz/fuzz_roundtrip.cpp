// Any bytes as a blob of whole tiles: the compressor must write exactly what
// the plain-scan compressor writes, both with its fresh random key and with
// the index keyed from the input's first bytes (so that the fuzzer steers the
// key too, and a failure replays the same way); its stream and the best
// layout's must decode back to the blob, and the best one must be no larger.
// The first byte chooses the variant and whether to fold the tile bytes into
// four values, which makes repeated and straddling blocks common.
#include "compressor.hpp"
#include "fuzz_check.hpp"
#include "memory_streams.hpp"
#include "plain_scan.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

    venk::HashKey key{size, 0};
    std::memcpy(&key.k1, data, std::min(size, sizeof key.k1));
    std::vector<std::uint8_t> keyed_stream;
    venk::SpanInputStream keyed_input(blob);
    venk::VectorOutputStream keyed_output(keyed_stream);
    FUZZ_CHECK(venk::compress_tiles_with_key(key, venk::find_or_append_block, keyed_input, keyed_output, variant) ==
               expected_result);
    FUZZ_CHECK(keyed_stream == expected_stream);

    // The best layout: never larger than the default, the same bytes on a
    // second run, and it fails only where the default fails too.
    std::vector<std::uint8_t> best;
    const venk::ResultCode best_result = venk::compress_memory_at_level(blob, variant, best, venk::LEVEL_BEST);
    std::vector<std::uint8_t> best_again;
    FUZZ_CHECK(venk::compress_memory_at_level(blob, variant, best_again, venk::LEVEL_BEST) == best_result);
    FUZZ_CHECK(best == best_again);
    FUZZ_CHECK(result != venk::RESULT_OK || best_result == venk::RESULT_OK);
    FUZZ_CHECK(result != venk::RESULT_OK || best.size() <= stream.size());
    if (best_result != venk::RESULT_OK) {
        FUZZ_CHECK(best_result == result);
        return 0;
    }

    const auto decodes_to_blob = [&](const std::vector<std::uint8_t>& made) {
        std::vector<std::uint8_t> back;
        return venk::decompress_memory(made, variant, back) == venk::RESULT_OK && back == blob;
    };
    FUZZ_CHECK(result != venk::RESULT_OK || decodes_to_blob(stream));
    FUZZ_CHECK(decodes_to_blob(best));
    return 0;
}
