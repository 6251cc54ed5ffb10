#pragma once

namespace venk::cli {

// The whole life of the process after start-up: parses the arguments, runs
// the requested action on the two named files, and returns the exit status
// (0 for success, help and version; 1 for every failure). Element 0 of the
// argument vector is the program name, used only in the help text.
int run_command_line(int count, const char* const* arguments);

}  // namespace venk::cli
