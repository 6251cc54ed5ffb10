// The codec's byte streams over C files, and the few file-system questions
// the front end asks before and after a run.
#pragma once

#include "platform.hpp"

#include <venk/venk.hpp>

#include <cstdio>
#include <filesystem>
#include <utility>

namespace venk::cli {

struct CellMap;

// One input of a run, whatever its kind (a blob, an image, standard input):
// its tiles for the codec, and what the run reports of it afterwards.
class Input : public InputStream {
public:
    // The tile bytes read so far.
    virtual std::size_t bytes_read() const = 0;
    // An image's palette, as the console's colour words; none for a blob.
    virtual std::span<const std::uint16_t> palette() const { return {}; }
    // An image's tile map, when it was made a background; none otherwise.
    virtual const CellMap* map() const { return nullptr; }
};

// A blob: reads an open file, or, given a name, a file that it opens only at its
// first read and closes at its end, so that the inputs of a pack hold one
// descriptor at a time, however many there are. Such a file must still be
// the one `identity` names, the file that was checked before the run; one
// replaced since is a read error.
class FileInputStream final : public Input {
public:
    explicit FileInputStream(std::FILE* file) : file_(file) {}
    FileInputStream(std::filesystem::path path, const FileIdentity& identity)
        : path_(std::move(path)), identity_(identity) {}
    FileInputStream(const FileInputStream&) = delete;
    FileInputStream& operator=(const FileInputStream&) = delete;
    ~FileInputStream() override;

    std::size_t read(std::span<std::uint8_t> buffer) override;
    bool at_end() const override;
    bool has_error() const override;
    std::size_t bytes_read() const override { return bytes_read_; }

private:
    bool open_on_first_read();
    void close_opened_file();

    std::FILE* file_ = nullptr;
    std::filesystem::path path_;  // empty for a file given open, which the caller closes
    FileIdentity identity_;
    std::size_t bytes_read_ = 0;
    bool ended_ = false;   // an opened file reached its end and was closed
    bool failed_ = false;  // an opened file could not be opened or read
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
