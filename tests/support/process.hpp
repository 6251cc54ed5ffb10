// Runs a program as a real process and captures what it prints.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace venk::test {

struct ProcessResult {
    int exit_status = -1;  // -1 if the process did not exit normally
    std::string out;
    std::string err;
};

// Runs `program` with the given argument vector (element 0 included) in the
// working directory `directory`; standard output and error are captured
// through files in `capture_directory`.
ProcessResult run_process(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                          const std::filesystem::path& directory, const std::filesystem::path& capture_directory);

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
