#include "source_files.hpp"

#include <new>

namespace venk::cli {

ResultCode write_text(OutputFile& file, std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), file.stream()) == text.size() ? RESULT_OK : RESULT_WRITE_ERROR;
}

std::size_t MemoryOutputStream::write(std::span<const std::uint8_t> bytes) {
    try {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    } catch (const std::bad_alloc&) {
        out_of_memory_ = true;
        return 0;
    }
    return bytes.size();
}

ResultCode MemoryOutputStream::result(ResultCode codec_result) const {
    return out_of_memory_ ? RESULT_OUT_OF_MEMORY : codec_result;
}

}  // namespace venk::cli
