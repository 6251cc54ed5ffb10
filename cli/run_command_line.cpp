#include "run_command_line.hpp"

#include "command_line.hpp"
#include "file_streams.hpp"
#include "messages.hpp"
#include "output_file.hpp"
#include "platform.hpp"
#include "signals.hpp"
#include "source_files.hpp"
#include "source_names.hpp"
#include "stats_line.hpp"

#include <cstdio>
#include <string_view>

namespace venk::cli {
namespace {

// False if the text could not be written.
bool print(std::FILE* stream, std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

// The problems of the options for source output, reported after all others.
void report_source_usage_errors(CommandLine& line) {
    if (line.source == SourceChoice::CONFLICT) {
        print(stderr, TOO_MANY_SOURCE_FORMS);
        line.error_seen = true;
    }
    if (line.too_many_symbols) {
        print(stderr, TOO_MANY_SYMBOLS);
        line.error_seen = true;
    } else if (line.symbol_option_without_value) {
        std::fprintf(stderr, SYMBOL_MISSING_FORMAT, line.symbol_option_without_value->c_str());
        line.error_seen = true;
    } else if (line.symbol && !is_usable_symbol(*line.symbol)) {
        std::fprintf(stderr, BAD_SYMBOL_FORMAT, line.symbol->c_str());
        line.error_seen = true;
    }
    if (line.source == SourceChoice::C && !line.error_seen && !line.help_requested && !line.version_requested) {
        const std::optional<std::filesystem::path> output = path_from_utf8(*line.output_name);
        if (output && is_header_name(*output)) {
            std::fprintf(stderr, C_SOURCE_NAMED_AS_HEADER_FORMAT, line.output_name->c_str());
            line.error_seen = true;
        }
    }
}

// Reports every usage problem in its fixed order; true if the run must stop.
bool report_usage_errors(CommandLine& line) {
    if (line.action == ActionChoice::CONFLICT) {
        print(stderr, TOO_MANY_ACTIONS);
        line.error_seen = true;
    } else if (!line.help_requested && !line.version_requested) {
        // Only the first file-name problem is reported.
        if (!line.input_name) {
            print(stderr, INPUT_NAME_MISSING);
            line.error_seen = true;
        } else if (!line.output_name) {
            print(stderr, OUTPUT_NAME_MISSING);
            line.error_seen = true;
        } else if (line.too_many_names) {
            print(stderr, TOO_MANY_NAMES);
            line.error_seen = true;
        }
    }
    if (line.variant == VariantChoice::CONFLICT) {
        print(stderr, TOO_MANY_FORMATS);
        line.error_seen = true;
    }
    report_source_usage_errors(line);
    return line.error_seen;
}

std::optional<SourceForm> source_form(SourceChoice choice) {
    switch (choice) {
    case SourceChoice::C:
        return SourceForm::C;
    case SourceChoice::GNU_AS:
        return SourceForm::GNU_AS;
    case SourceChoice::MRI:
        return SourceForm::MRI;
    default:
        return std::nullopt;
    }
}

// What a run with two file names does, as the options decided it.
struct Request {
    Action action;
    FormatVariant variant;
    CompressionLevel level;
    bool print_stats;
    std::optional<SourceForm> source;  // text instead of the binary stream
    std::optional<std::string> symbol;
};

ResultCode run_codec(const Request& request, InputStream& input_stream, OutputStream& output_stream,
                     Figures& figures) {
    Options options;
    options.variant = request.variant;
    options.level = request.level;
    return request.action == ACTION_DECOMPRESS ? decompress(input_stream, output_stream, options, &figures)
                                               : compress(input_stream, output_stream, options, &figures);
}

// Writes the whole text to standard output; false if any of it was lost.
bool print_to_standard_output(std::string_view text) {
    return print(stdout, text) && std::fflush(stdout) == 0;
}

std::string utf8_of(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

// Opens `output` for `name`, or says why it cannot be opened, which leaves it
// untouched; false then.
bool open_output(OutputFile& output, const std::string& name, std::FILE* input,
                 const std::filesystem::path& input_path) {
    const std::optional<std::filesystem::path> path = path_from_utf8(name);
    const OutputFile::OpenResult opened =
        path ? output.open(*path, identify_open_file(input)) : OutputFile::OPEN_FAILED;
    // If its name leads to the input, that is still the more useful message.
    if (opened == OutputFile::OPEN_SAME_AS_INPUT ||
        (opened == OutputFile::OPEN_FAILED && path && is_same_regular_file(input_path, *path))) {
        print(stderr, SAME_FILE);
        return false;
    }
    if (opened == OutputFile::OPEN_FAILED) {
        std::fprintf(stderr, CANT_OPEN_OUTPUT_FORMAT, name.c_str());
        return false;
    }
    return true;
}

void report_left_behind(const std::optional<std::filesystem::path>& left_behind) {
    if (left_behind) {
        std::fprintf(stderr, CANT_DELETE_OUTPUT_FORMAT, utf8_of(*left_behind).c_str());
    }
}

// What the opening comment of source output says the bytes are.
std::string source_description(const Request& request, const Figures& figures) {
    const std::string tiles = std::to_string(figures.tiles) + " tiles";
    if (request.action == ACTION_DECOMPRESS) {
        return tiles;
    }
    return (request.variant == FORMAT_VENK15 ? "VENK15 stream of " : "VENK16 stream of ") + tiles;
}

// Runs the codec into the output in the form asked for, then closes the
// output, and a C output's header, and puts them in place if all went well.
ResultCode write_output(const Request& request, std::FILE* input, OutputFile& output, OutputFile* header,
                        const std::filesystem::path& output_path, Figures& figures) {
    FileInputStream input_stream(input);
    if (!request.source) {
        FileOutputStream output_stream(output.stream());
        return output.close(run_codec(request, input_stream, output_stream, figures));
    }
    // Kept in memory, as the text follows the bytes.
    MemoryOutputStream bytes;
    const ResultCode result = bytes.result(run_codec(request, input_stream, bytes, figures));
    if (result != RESULT_OK || bytes.bytes().empty()) {
        // Such as a stream without tiles to decompress: no array is empty.
        return close_together(result == RESULT_OK ? RESULT_NO_TILES : result, output, header);
    }
    const SourceContent content{bytes.bytes(), request.symbol ? *request.symbol : symbol_from_file_name(output_path),
                                figures.tiles, source_description(request, figures), {}};
    return write_source_files(*request.source, content, output, header,
                              utf8_of(header_beside(output_path).filename()));
}

int process_files(const Request& request, const std::string& input_name, const std::string& output_name) {
    // A name that cannot become a path is treated as one that cannot be opened.
    const std::optional<std::filesystem::path> input_path = path_from_utf8(input_name);
    std::FILE* input = input_path ? open_binary_file(*input_path, "rb") : nullptr;
    if (input == nullptr) {
        std::fprintf(stderr, CANT_OPEN_INPUT_FORMAT, input_name.c_str());
        return 1;
    }
    // An input that cannot be read, such as a directory, fails before the
    // output is touched.
    if (!can_be_read(input)) {
        std::fprintf(stderr, RESULT_FORMAT, venk::result_message(RESULT_READ_ERROR));
        std::fclose(input);
        return 1;
    }
    OutputFile output;
    if (!open_output(output, output_name, input, *input_path)) {
        std::fclose(input);
        return 1;
    }
    // A C file's header is written beside it, whole or absent with it.
    const std::filesystem::path output_path = *path_from_utf8(output_name);
    OutputFile header(HEADER_GUARD_SLOT);
    const bool with_header = request.source == SourceForm::C;
    if (with_header && !open_output(header, utf8_of(header_beside(output_path)), input, *input_path)) {
        report_left_behind(output.abandon());
        std::fclose(input);
        return 1;
    }

    Figures figures;
    const ResultCode result =
        write_output(request, input, output, with_header ? &header : nullptr, output_path, figures);
    std::fclose(input);
    // Stopped from the console on Windows: without a word, as a signal ends a
    // run elsewhere; an output already in place is whole and stays.
    if (stop_requested()) {
        if (result != RESULT_OK) {
            output.remove_after_failure(true);
            header.remove_after_failure(true);
        }
        return stopped_run_status();
    }
    if (result == RESULT_OK) {
        if (!request.print_stats ||
            print_to_standard_output(stats_line(request.action, input_name, output_name, figures))) {
            return 0;
        }
        // The figures were asked for and lost: the run failed like any other.
        print(stderr, CANT_WRITE_STANDARD_OUTPUT);
    } else {
        std::fprintf(stderr, RESULT_FORMAT, venk::result_message(result));
    }
    report_left_behind(output.remove_after_failure());
    report_left_behind(header.remove_after_failure());
    return 1;
}

// Help and version: a lost line is a failure, as for any other output.
int finish_standard_output(bool written) {
    if (written && std::fflush(stdout) == 0) {
        return 0;
    }
    print(stderr, CANT_WRITE_STANDARD_OUTPUT);
    return 1;
}

}  // namespace

int run_command_line(int count, const char* const* arguments) {
    // Before anything is printed: a reader that goes away fails a write.
    install_signal_handlers();
    CommandLine line = parse_command_line(count, arguments);
    if (report_usage_errors(line)) {
        return 1;
    }
    if (line.version_requested) {
        return finish_standard_output(print(stdout, VERSION_TEXT));
    }
    if (line.help_requested) {
        const char* program = count > 0 && arguments[0] != nullptr ? arguments[0] : "venk";
        return finish_standard_output(std::printf(HELP_FORMAT, program, program) >= 0);
    }
    // Compression and VENK16 unless the other was chosen.
    const Request request{
        line.action == ActionChoice::DECOMPRESS ? ACTION_DECOMPRESS : ACTION_COMPRESS,
        line.variant == VariantChoice::VENK15 ? FORMAT_VENK15 : FORMAT_VENK16,
        line.best_requested ? LEVEL_BEST : LEVEL_DEFAULT,
        line.stats_requested,
        source_form(line.source),
        line.symbol,
    };
    return process_files(request, *line.input_name, *line.output_name);
}

}  // namespace venk::cli
