// The codec's byte streams over C files, and the few file-system questions
// the front end asks before and after a run.
#pragma once

#include <venk/venk.hpp>

#include <cstdio>
#include <filesystem>

namespace venk::cli {

class FileInputStream final : public InputStream {
public:
    explicit FileInputStream(std::FILE* file) : file_(file) {}
    std::size_t read(std::span<std::uint8_t> buffer) override;
    bool at_end() const override;
    bool has_error() const override;
    // Every byte read so far.
    std::size_t bytes_read() const { return bytes_read_; }

private:
    std::FILE* file_;
    std::size_t bytes_read_ = 0;
};

class FileOutputStream final : public OutputStream {
public:
    explicit FileOutputStream(std::FILE* file) : file_(file) {}
    std::size_t write(std::span<const std::uint8_t> bytes) override;

private:
    std::FILE* file_;
};

// Whether both names lead to one regular file, through any spelling, hard
// link or symbolic link. False when either does not exist. Names can change
// at any moment, so this only chooses a message; what protects the input is
// the comparison of open files.
bool is_same_regular_file(const std::filesystem::path& first, const std::filesystem::path& second);

// Whether the open input can be read at all (a directory opened on a POSIX
// system cannot): one byte is read ahead and stays to be read.
bool can_be_read(std::FILE* file);

}  // namespace venk::cli
