// The problems of a command line that are found before any file is opened.
#pragma once

#include "command_line.hpp"

namespace venk::cli {

// Reports every usage problem on standard error, in a fixed order, several
// in one run if need be; true if the run must stop.
bool report_usage_errors(CommandLine& line);

}  // namespace venk::cli
