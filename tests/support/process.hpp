// Runs a program as a real process and captures what it prints (POSIX
// systems only).
#pragma once

#include "files.hpp"

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

}  // namespace venk::test
