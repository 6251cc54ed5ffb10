#include "file_streams.hpp"

#include "platform.hpp"

namespace venk::cli {

std::size_t FileInputStream::read(std::span<std::uint8_t> buffer) {
    std::size_t total = 0;
    while (total < buffer.size() && !at_end() && !has_error()) {
        total += std::fread(buffer.data() + total, 1, buffer.size() - total, file_);
    }
    bytes_read_ += total;
    return total;
}

bool FileInputStream::at_end() const {
    return std::feof(file_) != 0;
}

// A request to stop fails the next read or write, which ends the codec's call.
bool FileInputStream::has_error() const {
    return std::ferror(file_) != 0 || stop_requested();
}

std::size_t FileOutputStream::write(std::span<const std::uint8_t> bytes) {
    return stop_requested() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), file_);
}

bool is_same_regular_file(const std::filesystem::path& first, const std::filesystem::path& second) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(first, error) || !std::filesystem::is_regular_file(second, error)) {
        return false;
    }
    return std::filesystem::equivalent(first, second, error) && !error;
}

bool can_be_read(std::FILE* file) {
    const int first = std::fgetc(file);
    if (first == EOF) {
        return std::ferror(file) == 0;
    }
    std::ungetc(first, file);
    return true;
}

}  // namespace venk::cli
