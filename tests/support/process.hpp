// Runs a program as a real process and captures what it prints (POSIX
// systems only).
#pragma once

#include "files.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace venk::test {

struct ProcessResult {
    int exit_status = -1;  // -1 if the process did not exit normally
    int signal = 0;        // the signal that ended it; 0 if it exited
    std::string out;
    std::string err;
};

// How a program is started.
struct Launch {
    // A program that runs it, such as valgrind with its options; empty to run
    // it directly. The wrapper finds the program through PATH, so the program
    // still sees its bare file name as argument 0.
    std::vector<std::string> wrapper;
    // A user (and group) id to run as instead of the caller's; needs root.
    std::optional<unsigned> user;
    // A file to send standard output to instead of capturing it, and one to
    // read standard input from.
    std::optional<std::filesystem::path> standard_output;
    std::optional<std::filesystem::path> standard_input;
    // The largest file it may write (RLIMIT_FSIZE), and the most memory it
    // may map (RLIMIT_AS), in bytes.
    std::optional<unsigned long> file_size_limit;
    std::optional<unsigned long> memory_limit;
    // The most descriptors it may have open (RLIMIT_NOFILE).
    std::optional<unsigned long> descriptor_limit;
    // A signal it starts with ignored, as nohup starts a program with SIGHUP.
    int ignored_signal = 0;
    // Descriptors of this process that it gets under other numbers, as a
    // shell's "3>file" or "| reader" gives them: {number there, descriptor here}.
    std::vector<std::pair<int, int>> descriptors;
};

// Runs `program` with the given argument vector (element 0 included) in the
// working directory `directory`; standard output and error are captured
// through files in `capture_directory`. Exit status 127: it could not start.
ProcessResult run_process(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                          const std::filesystem::path& directory, const std::filesystem::path& capture_directory,
                          const Launch& launch = {});

// The same in two steps: start_process returns the child's process id at
// once; finish_process waits for it and collects what it printed.
int start_process(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                  const std::filesystem::path& directory, const std::filesystem::path& capture_directory,
                  const Launch& launch = {});
ProcessResult finish_process(int process, const std::filesystem::path& capture_directory);

}  // namespace venk::test
