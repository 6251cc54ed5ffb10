#include "run_command_line.hpp"

#include "command_line.hpp"
#include "file_streams.hpp"
#include "messages.hpp"
#include "output_file.hpp"
#include "platform.hpp"
#include "signals.hpp"
#include "stats_line.hpp"

#include <cstdio>
#include <string_view>

namespace venk::cli {
namespace {

// False if the text could not be written.
bool print(std::FILE* stream, std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
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
        return true;
    }
    return line.error_seen;
}

// What a run with two file names does, as the options decided it.
struct Request {
    Action action;
    FormatVariant variant;
    CompressionLevel level;
    bool print_stats;
};

ResultCode run_codec(const Request& request, std::FILE* input, std::FILE* output, StreamStats& stats) {
    FileInputStream input_stream(input);
    FileOutputStream output_stream(output);
    return request.action == ACTION_DECOMPRESS
               ? decompress_tiles_with_stats(input_stream, output_stream, request.variant, &stats)
               : compress_tiles_at_level(input_stream, output_stream, request.variant, request.level, &stats);
}

// Writes the whole text to standard output; false if any of it was lost.
bool print_to_standard_output(std::string_view text) {
    return print(stdout, text) && std::fflush(stdout) == 0;
}

std::string utf8_of(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

int process_files(const Request& request, const std::string& input_name, const std::string& output_name) {
    // A name that cannot become a path is treated as one that cannot be opened.
    const std::optional<std::filesystem::path> input_path = path_from_utf8(input_name);
    const std::optional<std::filesystem::path> output_path = path_from_utf8(output_name);
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
    install_signal_handlers();
    OutputFile output;
    const OutputFile::OpenResult opened =
        output_path ? output.open(*output_path, identify_open_file(input)) : OutputFile::OPEN_FAILED;
    // An output that cannot be opened is untouched; if its name leads to the
    // input, that is still the more useful message.
    if (opened == OutputFile::OPEN_SAME_AS_INPUT ||
        (opened == OutputFile::OPEN_FAILED && output_path && is_same_regular_file(*input_path, *output_path))) {
        print(stderr, SAME_FILE);
        std::fclose(input);
        return 1;
    }
    if (opened == OutputFile::OPEN_FAILED) {
        std::fprintf(stderr, CANT_OPEN_OUTPUT_FORMAT, output_name.c_str());
        std::fclose(input);
        return 1;
    }

    StreamStats stats;
    const ResultCode result = output.close(run_codec(request, input, output.stream(), stats));
    std::fclose(input);
    if (result == RESULT_OK) {
        if (!request.print_stats ||
            print_to_standard_output(stats_line(request.action, input_name, output_name, stats))) {
            return 0;
        }
        // The figures were asked for and lost: the run failed like any other.
        print(stderr, CANT_WRITE_STANDARD_OUTPUT);
    } else {
        std::fprintf(stderr, RESULT_FORMAT, venk::result_message(result));
    }
    if (const std::optional<std::filesystem::path> left_behind = output.remove_after_failure()) {
        std::fprintf(stderr, CANT_DELETE_OUTPUT_FORMAT, utf8_of(*left_behind).c_str());
    }
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
    };
    return process_files(request, *line.input_name, *line.output_name);
}

}  // namespace venk::cli
