#include "format.hpp"

namespace venk {

ResultCode read_be16(InputStream& input, std::uint16_t& value) {
    std::array<std::uint8_t, 2> bytes{};
    if (input.read(bytes) != bytes.size()) {
        return short_read_result(input, RESULT_INVALID_STREAM);
    }
    value = load_be16(bytes.data());
    return RESULT_OK;
}

ResultCode write_be16(OutputStream& output, std::uint16_t value) {
    std::array<std::uint8_t, 2> bytes{};
    store_be16(bytes.data(), value);
    return output.write(bytes) == bytes.size() ? RESULT_OK : RESULT_WRITE_ERROR;
}

ResultCode write_venk_stream(OutputStream& output, std::size_t tile_count, std::span<const std::uint8_t> dictionary,
                             std::span<const std::uint8_t> tile_map) {
    ResultCode result = write_be16(output, static_cast<std::uint16_t>(tile_count));
    if (result == RESULT_OK) {
        result = write_be16(output, static_cast<std::uint16_t>(dictionary.size()));
    }
    if (result == RESULT_OK && output.write(dictionary) != dictionary.size()) {
        result = RESULT_WRITE_ERROR;
    }
    if (result == RESULT_OK && output.write(tile_map) != tile_map.size()) {
        result = RESULT_WRITE_ERROR;
    }
    return result;
}

}  // namespace venk
