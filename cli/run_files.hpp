// A run that reads its inputs and writes its output, once the command line
// has been found sound.
#pragma once

#include "command_line.hpp"
#include "source_output.hpp"

#include <venk/venk.hpp>

#include <optional>
#include <string>
#include <vector>

namespace venk::cli {

// What the options decided.
struct Request {
    Action action;
    FormatVariant variant;
    CompressionLevel level;
    bool print_stats;
    std::optional<SourceForm> source;  // text instead of the binary data
    std::optional<std::string> symbol;
    bool pack;                              // the inputs make one stream
    std::optional<std::string> index_name;  // a file for the constants of the output
    SourceForm index_form;                  // the index file's language
    std::vector<std::string> input_names;  // "-" is standard input
    std::string output_name;               // "-" is standard output
};

// Runs it and returns the process's exit status.
int run_files(const Request& request);

}  // namespace venk::cli
