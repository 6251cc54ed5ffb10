// Scratch directories and whole-file reads and writes for tests, on any
// system.
#pragma once

#include <filesystem>
#include <string>

namespace venk::test {

// A fresh, empty directory under the system's temporary directory, removed
// with everything in it when the object goes away.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& bytes);

}  // namespace venk::test
