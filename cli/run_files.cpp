#include "run_files.hpp"

#include "file_streams.hpp"
#include "input_files.hpp"
#include "messages.hpp"
#include "output_set.hpp"
#include "platform.hpp"
#include "print.hpp"
#include "source_files.hpp"
#include "source_names.hpp"
#include "spilling_output.hpp"
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

// The named constants of a run whose data is `bytes` (none for a binary
// output): its symbol, and in a pack its index.
SourceContent content_of(const Request& request, const InputFiles& inputs, std::span<const std::uint8_t> bytes,
                         const Figures& figures) {
    return {bytes,
            request.symbol ? *request.symbol : symbol_from_file_name(path_from_utf8(request.output_name).value_or("")),
            figures.tiles, source_description(request, figures), pack_index(request, inputs)};
}

// The data of a run, made before any of it is written anywhere but to an
// output file of its own: the bytes of source output or of standard output.
struct RunData {
    MemoryOutputStream source_bytes;  // source output: the text follows the bytes
    SpillingOutputStream held_back;   // binary standard output
    std::string text;                 // source output's text
};

// Runs the codec: a binary output file takes the bytes as they come, any
// other output takes them once the run has succeeded.
ResultCode run_into(const Request& request, const InputFiles& inputs, OutputSet& files, RunData& data,
                    Figures& figures) {
    if (request.source) {
        const ResultCode result = data.source_bytes.result(run_codec(request, inputs, data.source_bytes, figures));
        // Such as a stream without tiles to decompress: no array is empty.
        return result == RESULT_OK && data.source_bytes.bytes().empty() ? RESULT_NO_TILES : result;
    }
    if (writes_standard_output(request)) {
        return data.held_back.result(run_codec(request, inputs, data.held_back, figures));
    }
    FileOutputStream output(files.file(OutputRole::OUTPUT)->stream());
    return run_codec(request, inputs, output, figures);
}

// Writes the text of source output, and the header and index file if any.
ResultCode write_texts(const Request& request, const InputFiles& inputs, OutputSet& files, RunData& data,
                       const Figures& figures) {
    const SourceContent content = content_of(request, inputs, data.source_bytes.bytes(), figures);
    ResultCode result = RESULT_OK;
    if (request.source) {
        const std::string header = request.source == SourceForm::C && !writes_standard_output(request)
                                       ? utf8_of(header_beside(*path_from_utf8(request.output_name)).filename())
                                       : "";
        data.text = source_text(*request.source, content, header);
        if (OutputFile* output = files.file(OutputRole::OUTPUT)) {
            result = write_text(*output, data.text);
        }
    }
    if (OutputFile* header = files.file(OutputRole::HEADER); header != nullptr && result == RESULT_OK) {
        const fs::path name = header_beside(*path_from_utf8(request.output_name));
        result = write_text(*header, c_header(content, utf8_of(name.filename())));
    }
    if (OutputFile* index = files.file(OutputRole::INDEX); index != nullptr && result == RESULT_OK) {
        const std::size_t binary_size =
            request.action == ACTION_DECOMPRESS ? figures.blob_size : figures.stream_size;
        const std::size_t size = request.source ? content.bytes.size() : binary_size;
        const std::string name = utf8_of(path_from_utf8(*request.index_name).value_or("").filename());
        result = write_text(*index, index_text(request.index_form, content, size, request.source.has_value(), name));
    }
    return result;
}

// All of it, or RESULT_WRITE_ERROR.
ResultCode write_to_standard_output(const Request& request, RunData& data) {
    if (!request.source) {
        return data.held_back.copy_to(stdout) ? RESULT_OK : RESULT_WRITE_ERROR;
    }
    if (stop_requested()) {
        return RESULT_WRITE_ERROR;
    }
    const bool written = std::fwrite(data.text.data(), 1, data.text.size(), stdout) == data.text.size();
    return written && std::fflush(stdout) == 0 ? RESULT_OK : RESULT_WRITE_ERROR;
}

// Runs the codec and writes every output; the files are put in place
// together, and standard output takes its bytes only once the files are
// written, before they are put in place.
ResultCode write_outputs(const Request& request, const InputFiles& inputs, OutputSet& files, Figures& figures) {
    RunData data;
    ResultCode result = run_into(request, inputs, files, data, figures);
    try {
        if (result == RESULT_OK) {
            result = write_texts(request, inputs, files, data, figures);
        }
    } catch (const std::bad_alloc&) {
        result = RESULT_OUT_OF_MEMORY;
    }
    result = files.finish(result);
    if (result == RESULT_OK && writes_standard_output(request)) {
        result = write_to_standard_output(request, data);
    }
    return files.commit(result);
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

// After the outputs were written or failed.
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

}  // namespace

int run_files(const Request& request) {
    InputFiles inputs;
    if (!inputs.open(request.input_names, request.pack)) {
        return 1;
    }
    const bool to_standard_output = writes_standard_output(request);
    OutputSet files;
    if (!to_standard_output) {
        files.add(OutputRole::OUTPUT, request.output_name);
        if (request.source == SourceForm::C) {
            files.add(OutputRole::HEADER, utf8_of(header_beside(*path_from_utf8(request.output_name))));
        }
    }
    if (request.index_name) {
        files.add(OutputRole::INDEX, *request.index_name);
    }
    if (!files.open(inputs, to_standard_output, request.source == SourceForm::C) || !files.begin()) {
        return 1;
    }
    Figures figures;
    const ResultCode result = write_outputs(request, inputs, files, figures);
    inputs.close();
    return finish_run(request, inputs, result, figures, files);
}

}  // namespace venk::cli
