#include "command_line.hpp"

#include "messages.hpp"

#include <cstdio>
#include <string_view>

namespace venk::cli {
namespace {

// The first choice sticks; any second one, even the same, is a conflict.
template <typename Choice>
void choose(Choice& choice, Choice value) {
    choice = choice == Choice::NONE ? value : Choice::CONFLICT;
}

// Applies one option; false if the argument is no known option.
bool apply_option(std::string_view option, CommandLine& line, bool& options_enabled) {
    if (option == "--") {
        options_enabled = false;
    } else if (option == "-h" || option == "--help") {
        line.help_requested = true;
    } else if (option == "-v" || option == "--version") {
        line.version_requested = true;
    } else if (option == "-b" || option == "--best") {
        line.best_requested = true;
    } else if (option == "-s" || option == "--stats") {
        line.stats_requested = true;
    } else if (option == "-c" || option == "--compress") {
        choose(line.action, ActionChoice::COMPRESS);
    } else if (option == "-d" || option == "--decompress") {
        choose(line.action, ActionChoice::DECOMPRESS);
    } else if (option == "-16" || option == "--venk16") {
        choose(line.variant, VariantChoice::VENK16);
    } else if (option == "-15" || option == "--venk15") {
        choose(line.variant, VariantChoice::VENK15);
    } else if (option == "-a" || option == "--c-array") {
        choose(line.source, SourceChoice::C);
    } else if (option == "-g" || option == "--gas") {
        choose(line.source, SourceChoice::GNU_AS);
    } else if (option == "-m" || option == "--mri") {
        choose(line.source, SourceChoice::MRI);
    } else {
        return false;
    }
    return true;
}

bool takes_symbol(std::string_view option) {
    return option == "-n" || option == "--name";
}

void set_symbol(const char* option, const char* value, CommandLine& line) {
    if (line.symbol || line.symbol_option_without_value) {
        line.too_many_symbols = true;
    }
    if (value == nullptr) {
        line.symbol_option_without_value = option;
    } else {
        line.symbol = value;
    }
}

void add_file_name(const char* name, CommandLine& line) {
    if (!line.input_name) {
        line.input_name = name;
    } else if (!line.output_name) {
        line.output_name = name;
    } else {
        line.too_many_names = true;
    }
}

}  // namespace

CommandLine parse_command_line(int count, const char* const* arguments) {
    CommandLine line;
    bool options_enabled = true;
    for (int i = 1; i < count; ++i) {
        const char* argument = arguments[i];
        if (!options_enabled || argument[0] != '-') {
            add_file_name(argument, line);
        } else if (takes_symbol(argument)) {
            // The next argument is the value, whatever it looks like.
            set_symbol(argument, i + 1 < count ? arguments[++i] : nullptr, line);
        } else if (!apply_option(argument, line, options_enabled)) {
            std::fprintf(stderr, UNKNOWN_OPTION_FORMAT, argument);
            line.error_seen = true;
        }
    }
    return line;
}

}  // namespace venk::cli
