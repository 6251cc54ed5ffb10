#include "run_files.hpp"

#include "file_streams.hpp"
#include "input_files.hpp"
#include "messages.hpp"
#include "output_file.hpp"
#include "platform.hpp"
#include "print.hpp"
#include "source_files.hpp"
#include "source_names.hpp"
#include "stats_line.hpp"

#include <new>

namespace venk::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t TILE_BYTES = 32;

bool writes_standard_output(const Request& request) {
    return request.output_name == STANDARD_STREAM_NAME;
}

std::string utf8_of(const fs::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

ResultCode run_codec(const Request& request, const InputFiles& inputs, OutputStream& output, Figures& figures) {
    Options options;
    options.variant = request.variant;
    options.level = request.level;
    InputStream& first = *inputs.streams().front();
    if (request.action == ACTION_DECOMPRESS) {
        return decompress(first, output, options, &figures);
    }
    return request.pack ? compress(inputs.streams(), output, options, &figures)
                        : compress(first, output, options, &figures);
}

// What the opening comment of source output says the bytes are.
std::string source_description(const Request& request, const Figures& figures) {
    const std::string tiles = std::to_string(figures.tiles) + " tiles";
    if (request.action == ACTION_DECOMPRESS) {
        return tiles;
    }
    return (request.variant == FORMAT_VENK15 ? "VENK15 stream of " : "VENK16 stream of ") + tiles;
}

// In a pack, each input's range of tiles, in the order of the inputs, under
// its name in the index; once the codec has read every input.
std::vector<IndexEntry> pack_index(const Request& request, const InputFiles& inputs) {
    std::vector<IndexEntry> index;
    std::size_t first_tile = 0;
    for (std::size_t i = 0; request.pack && i < request.input_names.size(); ++i) {
        const std::size_t tiles = inputs.bytes_read(i) / TILE_BYTES;
        index.push_back(
            {index_name_from_file_name(path_from_utf8(request.input_names[i]).value_or("")), first_tile, tiles});
        first_tile += tiles;
    }
    return index;
}

// The named constants of a run: its symbol, and in a pack its index.
SourceContent content_of(const Request& request, const InputFiles& inputs, std::span<const std::uint8_t> bytes,
                         const Figures& figures, std::string description) {
    return {bytes,
            request.symbol ? *request.symbol : symbol_from_file_name(path_from_utf8(request.output_name).value_or("")),
            figures.tiles, std::move(description), pack_index(request, inputs)};
}

// The content of a run's source output, whose bytes are `bytes`.
SourceContent source_content(const Request& request, const InputFiles& inputs, std::span<const std::uint8_t> bytes,
                             const Figures& figures) {
    return content_of(request, inputs, bytes, figures, source_description(request, figures));
}

// Writes the constants of a binary output to its index file, after the
// codec's `result`.
ResultCode write_index(ResultCode result, const Request& request, const InputFiles& inputs, const Figures& figures,
                       OutputFile& index) {
    if (result != RESULT_OK) {
        return result;
    }
    const std::size_t size = request.action == ACTION_DECOMPRESS ? figures.blob_size : figures.stream_size;
    try {
        return write_text(index, index_text(request.index_form,
                                            content_of(request, inputs, {}, figures,
                                                       "index: " + source_description(request, figures)),
                                            size,
                                            utf8_of(path_from_utf8(*request.index_name).value_or("").filename())));
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

// Runs the codec into a file in the form asked for, with its companion, a C
// output's header or a binary output's index file, then closes both and
// puts them in place together if all went well.
ResultCode write_to_file(const Request& request, const InputFiles& inputs, OutputFile& output, OutputFile* companion,
                         Figures& figures) {
    if (!request.source) {
        FileOutputStream output_stream(output.stream());
        const ResultCode result = run_codec(request, inputs, output_stream, figures);
        if (companion == nullptr) {
            return output.close(result);
        }
        return close_together(write_index(result, request, inputs, figures, *companion), output, companion);
    }
    // Kept in memory, as the text follows the bytes.
    MemoryOutputStream bytes;
    const ResultCode result = bytes.result(run_codec(request, inputs, bytes, figures));
    if (result != RESULT_OK || bytes.bytes().empty()) {
        // Such as a stream without tiles to decompress: no array is empty.
        return close_together(result == RESULT_OK ? RESULT_NO_TILES : result, output, companion);
    }
    const SourceContent content = source_content(request, inputs, bytes.bytes(), figures);
    const fs::path header = header_beside(*path_from_utf8(request.output_name));
    return write_source_files(*request.source, content, output, companion, utf8_of(header.filename()));
}

// All of it, or RESULT_WRITE_ERROR.
ResultCode write_all_to_standard_output(std::span<const std::uint8_t> bytes) {
    if (stop_requested()) {
        return RESULT_WRITE_ERROR;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    return written && std::fflush(stdout) == 0 ? RESULT_OK : RESULT_WRITE_ERROR;
}

// The same run with standard output as the output: everything is made in
// memory, and nothing reaches standard output unless all of it, and the
// index file if any, could be made. The index file is put in place once
// standard output has taken every byte.
ResultCode write_to_standard_output(const Request& request, const InputFiles& inputs, OutputFile* index,
                                    Figures& figures) {
    MemoryOutputStream bytes;
    ResultCode result = bytes.result(run_codec(request, inputs, bytes, figures));
    std::string text;
    if (result == RESULT_OK && request.source && bytes.bytes().empty()) {
        result = RESULT_NO_TILES;  // no array is empty, as in write_to_file
    } else if (result == RESULT_OK && request.source) {
        try {
            text = source_text(*request.source, source_content(request, inputs, bytes.bytes(), figures), "");
        } catch (const std::bad_alloc&) {
            result = RESULT_OUT_OF_MEMORY;
        }
    }
    if (index != nullptr) {
        result = index->finish(write_index(result, request, inputs, figures, *index));
    }
    if (result == RESULT_OK) {
        result = write_all_to_standard_output(request.source ? std::span(reinterpret_cast<const std::uint8_t*>(text.data()),
                                                                  text.size())
                                                      : std::span(bytes.bytes()));
    }
    return index != nullptr ? index->commit(result) : result;
}

// Opens `output` for `name`, or says why it cannot be opened, which leaves it
// untouched; false then.
bool open_output(OutputFile& output, const std::string& name, const InputFiles& inputs) {
    const std::optional<fs::path> path = path_from_utf8(name);
    const OutputFile::OpenResult opened = path ? output.open(*path, inputs.identities()) : OutputFile::OPEN_FAILED;
    // If its name leads to an input, that is still the more useful message.
    if (opened == OutputFile::OPEN_SAME_AS_INPUT ||
        (opened == OutputFile::OPEN_FAILED && path && inputs.is_named_by(*path))) {
        print(stderr, SAME_FILE);
        return false;
    }
    if (opened == OutputFile::OPEN_FAILED) {
        std::fprintf(stderr, CANT_OPEN_OUTPUT_FORMAT, name.c_str());
        return false;
    }
    return true;
}

// Standard output may not be one of the inputs, as a shell's
// "venk -d - - <tiles.venk >>tiles.venk" would make it.
bool standard_output_is_no_input(const InputFiles& inputs) {
    const bool input = is_one_of(identify_open_file(stdout), inputs.identities());
    if (input) {
        print(stderr, SAME_FILE);
    }
    return !input;
}

// Whether the index file's name leads where the output's does.
bool index_is_output(const Request& request) {
    if (!request.index_name || writes_standard_output(request)) {
        return false;
    }
    const std::optional<fs::path> output = path_from_utf8(request.output_name);
    const std::optional<fs::path> index = path_from_utf8(*request.index_name);
    std::error_code error;
    return output && index &&
           (is_same_regular_file(*output, *index) ||
            fs::weakly_canonical(*output, error) == fs::weakly_canonical(*index, error));
}

void report_left_behind(const std::optional<fs::path>& left_behind) {
    if (left_behind) {
        std::fprintf(stderr, CANT_DELETE_OUTPUT_FORMAT, utf8_of(*left_behind).c_str());
    }
}

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
    std::FILE* stream = writes_standard_output(request) ? stderr : stdout;
    return print(stream, text) && std::fflush(stream) == 0;
}

// After the output and its companion, if any, were written or failed.
int finish_run(const Request& request, const InputFiles& inputs, ResultCode result, const Figures& figures,
               OutputFile* output, OutputFile* companion) {
    // Stopped from the console on Windows: without a word, as a signal ends a
    // run elsewhere; an output already in place is whole and stays.
    if (stop_requested()) {
        for (OutputFile* file : {output, companion}) {
            if (file != nullptr && result != RESULT_OK) {
                file->remove_after_failure(true);
            }
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
    for (OutputFile* file : {output, companion}) {
        if (file != nullptr) {
            report_left_behind(file->remove_after_failure());
        }
    }
    return 1;
}

// The file written with the output: a C output's header, or the index file.
std::optional<std::string> companion_name(const Request& request) {
    if (request.index_name) {
        return request.index_name;
    }
    if (request.source == SourceForm::C) {
        return utf8_of(header_beside(*path_from_utf8(request.output_name)));
    }
    return std::nullopt;
}

}  // namespace

int run_files(const Request& request) {
    InputFiles inputs;
    if (!inputs.open(request.input_names, request.pack)) {
        return 1;
    }
    if (index_is_output(request)) {
        print(stderr, INDEX_SAME_AS_OUTPUT);
        return 1;
    }
    const bool to_standard_output = writes_standard_output(request);
    OutputFile output;
    if (to_standard_output ? !standard_output_is_no_input(inputs)
                           : !open_output(output, request.output_name, inputs)) {
        return 1;
    }
    // A C file's header goes beside it, which needs a file.
    if (request.source == SourceForm::C && !to_standard_output && !output.is_regular_file()) {
        std::fprintf(stderr, C_SOURCE_NOT_A_FILE_FORMAT, request.output_name.c_str());
        report_left_behind(output.abandon());
        return 1;
    }
    // A C file's header or the index file, whole or absent with the output.
    const std::optional<std::string> companion_file = companion_name(request);
    OutputFile companion(HEADER_GUARD_SLOT);
    if (companion_file && !open_output(companion, *companion_file, inputs)) {
        if (!to_standard_output) {
            report_left_behind(output.abandon());
        }
        return 1;
    }
    OutputFile* const written_with = companion_file ? &companion : nullptr;
    Figures figures;
    const ResultCode result = to_standard_output
                                  ? write_to_standard_output(request, inputs, written_with, figures)
                                  : write_to_file(request, inputs, output, written_with, figures);
    inputs.close();
    return finish_run(request, inputs, result, figures, to_standard_output ? nullptr : &output, written_with);
}

}  // namespace venk::cli
