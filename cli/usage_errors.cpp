#include "usage_errors.hpp"

#include "messages.hpp"
#include "platform.hpp"
#include "print.hpp"
#include "source_names.hpp"
#include "source_output.hpp"

#include <filesystem>
#include <map>

namespace venk::cli {
namespace {

void report(CommandLine& line, std::string_view message) {
    print(stderr, message);
    line.error_seen = true;
}

// The problems of the options for source output.
void report_source_usage_errors(CommandLine& line) {
    if (line.source == SourceChoice::CONFLICT) {
        report(line, TOO_MANY_SOURCE_FORMS);
    }
    if (line.symbol.given_twice) {
        report(line, TOO_MANY_SYMBOLS);
    } else if (line.symbol.without_value) {
        std::fprintf(stderr, SYMBOL_MISSING_FORMAT, line.symbol.without_value->c_str());
        line.error_seen = true;
    } else if (line.symbol.value && !is_usable_symbol(*line.symbol.value)) {
        std::fprintf(stderr, BAD_SYMBOL_FORMAT, line.symbol.value->c_str());
        line.error_seen = true;
    }
    if (line.source == SourceChoice::C && !line.error_seen && !line.help_requested &&
        !line.version_requested) {
        const std::optional<std::filesystem::path> output = path_from_utf8(line.names.back());
        if (output && is_header_name(*output)) {
            std::fprintf(stderr, C_SOURCE_NAMED_AS_HEADER_FORMAT, line.names.back().c_str());
            line.error_seen = true;
        } else if (output && !can_be_included(header_beside(*output))) {
            std::fprintf(stderr, HEADER_CANT_BE_INCLUDED_FORMAT, line.names.back().c_str());
            line.error_seen = true;
        }
    }
}

// A pack's inputs: none may be standard input, and where the index is
// written, in source output or an index file, no two may give it the same
// name, as the constants of its entries are upper-cased.
void report_pack_input_errors(CommandLine& line) {
    const bool index_written = line.source != SourceChoice::NONE || line.index.value;
    std::map<std::string, const std::string*> named;
    for (std::size_t i = 0; i + 1 < line.names.size(); ++i) {
        const std::string& input = line.names[i];
        if (input == STANDARD_STREAM_NAME) {
            report(line, STANDARD_INPUT_IN_PACK);
            return;
        }
        if (!index_written) {
            continue;
        }
        const std::string name = upper_case(index_name_from_file_name(path_from_utf8(input).value_or("")));
        const auto [earlier, added] = named.emplace(name, &input);
        if (!added) {
            std::fprintf(stderr, SAME_INDEX_NAME_FORMAT, earlier->second->c_str(), input.c_str(), name.c_str());
            line.error_seen = true;
            return;
        }
    }
}

void report_index_option_errors(CommandLine& line) {
    if (line.index.given_twice) {
        report(line, TOO_MANY_INDEX_FILES);
    } else if (line.index.without_value) {
        std::fprintf(stderr, SYMBOL_MISSING_FORMAT, line.index.without_value->c_str());
        line.error_seen = true;
    } else if (line.index.value == STANDARD_STREAM_NAME) {
        report(line, INDEX_TO_STANDARD_OUTPUT);
    }
}

// Standard output as the output: a C file's header needs a file to go
// beside, and a symbol needs a name to be taken from.
void report_standard_output_errors(CommandLine& line) {
    if (line.names.back() != STANDARD_STREAM_NAME) {
        return;
    }
    if (line.source == SourceChoice::C) {
        std::fprintf(stderr, C_SOURCE_NOT_A_FILE_FORMAT, line.names.back().c_str());
        line.error_seen = true;
    } else if ((line.source != SourceChoice::NONE || line.index.value) && !line.symbol.value) {
        report(line, STANDARD_OUTPUT_NEEDS_SYMBOL);
    }
}

}  // namespace

bool report_usage_errors(CommandLine& line) {
    const bool files_needed = !line.help_requested && !line.version_requested;
    if (line.action == ActionChoice::CONFLICT) {
        report(line, TOO_MANY_ACTIONS);
    } else if (files_needed) {
        // Only the first file-name problem is reported.
        if (line.names.empty()) {
            report(line, INPUT_NAME_MISSING);
        } else if (line.names.size() == 1) {
            report(line, OUTPUT_NAME_MISSING);
        } else if (line.names.size() > 2 && !line.pack_requested) {
            report(line, TOO_MANY_NAMES);
        }
    }
    if (line.variant == VariantChoice::CONFLICT) {
        report(line, TOO_MANY_FORMATS);
    }
    report_source_usage_errors(line);
    report_index_option_errors(line);
    if (line.pack_requested && line.action == ActionChoice::DECOMPRESS) {
        report(line, PACK_WHEN_DECOMPRESSING);
    }
    // Only with every file name in place.
    if (files_needed && !line.error_seen) {
        if (line.pack_requested) {
            report_pack_input_errors(line);
        }
        report_standard_output_errors(line);
    }
    return line.error_seen;
}

}  // namespace venk::cli
