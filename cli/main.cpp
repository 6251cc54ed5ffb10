#include "run_command_line.hpp"

#ifdef _WIN32
#include "platform.hpp"

#include <string>
#include <vector>

// Windows passes the arguments as UTF-16; the front end reads them as UTF-8,
// so that any file name survives on its way to the file system.
int wmain(int argc, wchar_t** argv) {
    venk::cli::use_binary_standard_streams();
    std::vector<std::string> utf8_arguments;
    for (int i = 0; i < argc; ++i) {
        utf8_arguments.push_back(venk::cli::utf8_from_wide(argv[i]));
    }
    std::vector<const char*> arguments;
    for (const std::string& argument : utf8_arguments) {
        arguments.push_back(argument.c_str());
    }
    arguments.push_back(nullptr);
    return venk::cli::run_command_line(argc, arguments.data());
}

#else

int main(int argc, char** argv) {
    return venk::cli::run_command_line(argc, argv);
}

#endif
