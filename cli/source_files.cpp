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

ResultCode write_source_files(SourceForm form, const SourceContent& content, OutputFile& output,
                              OutputFile* header, std::string_view header_file_name) {
    ResultCode result = RESULT_OK;
    try {
        result = write_text(output, source_text(form, content, header_file_name));
        if (result == RESULT_OK && header != nullptr) {
            result = write_text(*header, c_header(content, header_file_name));
        }
    } catch (const std::bad_alloc&) {
        result = RESULT_OUT_OF_MEMORY;
    }
    return close_together(result, output, header);
}

ResultCode close_together(ResultCode result, OutputFile& output, OutputFile* header) {
    result = output.finish(result);
    if (header == nullptr) {
        return output.commit(result);
    }
    result = header->finish(result);
    // Renamed one after the other: a signal in the microseconds between the
    // two renames leaves a new header beside the old C file, each whole; the
    // C file gives its array's length as a number, so the compiler refuses
    // the pair if the header's differs.
    result = header->commit(result);
    return output.commit(result);
}

}  // namespace venk::cli
