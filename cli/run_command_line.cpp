#include "run_command_line.hpp"

#include "command_line.hpp"
#include "messages.hpp"
#include "platform.hpp"
#include "print.hpp"
#include "run_files.hpp"
#include "signals.hpp"
#include "source_names.hpp"
#include "usage_errors.hpp"

#include <cstdio>

namespace venk::cli {
namespace {

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

// The language of the index file follows its own name: a C header for a
// name ending in .h, else an include for the assembler of -m if given, or
// else of GNU as.
SourceForm index_form(const CommandLine& line) {
    const std::optional<std::filesystem::path> name = path_from_utf8(line.index.value.value_or(""));
    if (name && is_header_name(*name)) {
        return SourceForm::C;
    }
    return line.source == SourceChoice::MRI ? SourceForm::MRI : SourceForm::GNU_AS;
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
    Request request{
        line.action == ActionChoice::DECOMPRESS ? ACTION_DECOMPRESS : ACTION_COMPRESS,
        line.variant == VariantChoice::VENK15 ? FORMAT_VENK15 : FORMAT_VENK16,
        line.best_requested ? LEVEL_BEST : LEVEL_DEFAULT,
        line.stats_requested,
        source_form(line.source),
        line.symbol.value,
        line.pack_requested,
        line.index.value,
        index_form(line),
        line.names,
        line.names.back(),
    };
    request.input_names.pop_back();
    return run_files(request);
}

}  // namespace venk::cli
