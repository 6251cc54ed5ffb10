#include "file_streams.hpp"

#include "platform.hpp"

namespace venk::cli {

FileInputStream::~FileInputStream() {
    close_opened_file();
}

bool FileInputStream::open_on_first_read() {
    if (file_ != nullptr || path_.empty()) {
        return true;
    }
    if (ended_ || failed_) {
        return false;
    }
    file_ = open_binary_file(path_, "rb");
    if (file_ == nullptr || !is_same_regular_file(identify_open_file(file_), identity_)) {
        close_opened_file();
        failed_ = true;
        return false;
    }
    return true;
}

void FileInputStream::close_opened_file() {
    if (file_ != nullptr && !path_.empty()) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

std::size_t FileInputStream::read(std::span<std::uint8_t> buffer) {
    if (!open_on_first_read()) {
        return 0;
    }
    std::size_t total = 0;
    while (total < buffer.size() && !at_end() && !has_error()) {
        total += std::fread(buffer.data() + total, 1, buffer.size() - total, file_);
    }
    bytes_read_ += total;
    if (!path_.empty() && (std::feof(file_) != 0 || std::ferror(file_) != 0)) {
        ended_ = std::feof(file_) != 0;
        failed_ = std::ferror(file_) != 0;
        close_opened_file();
    }
    return total;
}

bool FileInputStream::at_end() const {
    return ended_ || (file_ != nullptr && std::feof(file_) != 0);
}

// A request to stop fails the next read or write, which ends the codec's call.
bool FileInputStream::has_error() const {
    return failed_ || (file_ != nullptr && std::ferror(file_) != 0) || stop_requested();
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
