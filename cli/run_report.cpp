#include "run_report.hpp"

#include "messages.hpp"
#include "platform.hpp"
#include "print.hpp"
#include "run_content.hpp"
#include "stats_line.hpp"

namespace venk::cli {
namespace {

// A failure of the codec; in a pack, one that an input caused names it.
void report_failure(const Request& request, ResultCode result, const Figures& figures) {
    const bool input_failed = result == RESULT_READ_ERROR || result == RESULT_BAD_INPUT_SIZE ||
                              result == RESULT_NO_TILES || result == RESULT_TOO_BIG;
    if (!request.pack || !input_failed || figures.failed_input >= request.input_names.size()) {
        std::fprintf(stderr, RESULT_FORMAT, venk::result_message(result));
        return;
    }
    const std::string& input = request.input_names[figures.failed_input];
    if (result == RESULT_TOO_BIG) {
        std::fprintf(stderr, PACK_TOO_BIG_FORMAT, input.c_str());
    } else {
        std::fprintf(stderr, PACK_INPUT_RESULT_FORMAT, venk::result_message(result), input.c_str());
    }
}

// The -s lines, on standard output, or on standard error when standard
// output carries the data; false if they could not be written.
bool print_stats(const Request& request, const InputFiles& inputs, const Figures& figures) {
    std::string label = request.input_names.front();
    for (std::size_t i = 1; i < request.input_names.size(); ++i) {
        label += " + " + request.input_names[i];
    }
    std::string text = stats_line(request.action, label, request.output_name, figures);
    const std::vector<IndexEntry> index = pack_index(request, inputs);
    for (std::size_t i = 0; i < index.size(); ++i) {
        text += pack_input_line(request.input_names[i], index[i].first_tile, index[i].tile_count);
    }
    if (const CellMap* map = image_map(request, inputs)) {
        text += map_stats_line(*request.image.map_name, *map);
    }
    std::FILE* stream = writes_standard_output(request) ? stderr : stdout;
    return print(stream, text) && std::fflush(stream) == 0;
}

}  // namespace

int finish_run(const Request& request, const InputFiles& inputs, ResultCode result, const Figures& figures,
               OutputSet& files) {
    // Stopped from the console on Windows: without a word, as a signal ends a
    // run elsewhere; outputs already in place are whole and stay.
    if (stop_requested()) {
        if (result != RESULT_OK) {
            files.remove_after_failure(true);
        }
        return stopped_run_status();
    }
    if (result == RESULT_OK) {
        if (!request.print_stats || print_stats(request, inputs, figures)) {
            return 0;
        }
        // The figures were asked for and lost: the run failed like any other.
        if (!writes_standard_output(request)) {
            print(stderr, CANT_WRITE_STANDARD_OUTPUT);
        }
    } else {
        report_failure(request, result, figures);
    }
    files.remove_after_failure(false);
    return 1;
}

}  // namespace venk::cli
