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

}  // namespace venk
