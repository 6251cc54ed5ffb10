#include "command_line.hpp"

#include "messages.hpp"

#include <cstdio>
#include <cstring>
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
    } else if (option == "-p" || option == "--pack") {
        line.pack_requested = true;
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
    } else if (option == "--no-flip") {
        line.no_flip_requested = true;
    } else {
        return false;
    }
    return true;
}

// The options followed by a value, which is the next argument whatever it
// looks like: their short and long spellings, and where the value goes.
struct ValuedSpelling {
    std::string_view short_name;  // empty for a long option alone
    std::string_view long_name;
    ValuedOption CommandLine::*value;
};

constexpr ValuedSpelling VALUED_OPTIONS[] = {
    {"-n", "--name", &CommandLine::symbol},     {"-i", "--index", &CommandLine::index},
    {"", "--sprite", &CommandLine::sprite},     {"", "--palette", &CommandLine::palette},
    {"", "--columns", &CommandLine::columns},   {"", "--colours", &CommandLine::colours},
    {"", "--map", &CommandLine::map},           {"", "--base", &CommandLine::base},
};

// The valued option `option` names; nullptr for any other.
ValuedOption* valued_option(std::string_view option, CommandLine& line) {
    for (const ValuedSpelling& spelling : VALUED_OPTIONS) {
        if (option == spelling.long_name || (!spelling.short_name.empty() && option == spelling.short_name)) {
            return &(line.*spelling.value);
        }
    }
    return nullptr;
}

// A long option joined to its value, as in --name=NAME; nullptr for any
// other argument.
ValuedOption* joined_option(std::string_view argument, CommandLine& line) {
    const std::size_t equals = argument.find('=');
    if (!argument.starts_with("--") || equals == std::string_view::npos) {
        return nullptr;
    }
    return valued_option(argument.substr(0, equals), line);
}

void set_value(ValuedOption& option, const char* name, const char* value) {
    if (option.value || option.without_value) {
        option.given_twice = true;
    }
    if (value == nullptr) {
        option.without_value = name;
    } else {
        option.value = value;
    }
}

}  // namespace

CommandLine parse_command_line(int count, const char* const* arguments) {
    CommandLine line;
    bool options_enabled = true;
    for (int i = 1; i < count; ++i) {
        const char* argument = arguments[i];
        // A lone "-" names standard input or output, even after "--".
        if (!options_enabled || argument[0] != '-' || argument[1] == '\0') {
            line.names.emplace_back(argument);
        } else if (ValuedOption* option = valued_option(argument, line)) {
            set_value(*option, argument, i + 1 < count ? arguments[++i] : nullptr);
        } else if (ValuedOption* joined = joined_option(argument, line)) {
            set_value(*joined, argument, std::strchr(argument, '=') + 1);
        } else if (!apply_option(argument, line, options_enabled)) {
            std::fprintf(stderr, UNKNOWN_OPTION_FORMAT, argument);
            line.error_seen = true;
        }
    }
    return line;
}

}  // namespace venk::cli
