#include "run_files.hpp"

#include "file_streams.hpp"
#include "input_files.hpp"
#include "output_forms.hpp"
#include "output_set.hpp"
#include "picture_output.hpp"
#include "platform.hpp"
#include "run_content.hpp"
#include "run_report.hpp"
#include "source_files.hpp"
#include "source_names.hpp"
#include "spilling_output.hpp"

#include <new>

namespace venk::cli {
namespace {

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

// The data of a run that is held back until it has all been made: source
// output's or a picture's bytes, or a binary stream to standard output; and
// the text that standard output then takes.
struct RunData {
    MemoryOutputStream in_memory;        // source output or a picture: the text or PNG follows the bytes
    SpillingOutputStream held_back;      // binary standard output
    std::string text;                    // source output for standard output
    std::vector<std::uint16_t> colours;  // a picture's palette, if not grey
};

// Runs the codec: a binary output file takes the bytes as they come, any
// other output takes them once the run has succeeded.
ResultCode run_into(const Request& request, const InputFiles& inputs, OutputSet& files, RunData& data,
                    Figures& figures) {
    if (has_form(OutputRole::OUTPUT, request)) {
        const ResultCode result = data.in_memory.result(run_codec(request, inputs, data.in_memory, figures));
        // Such as a stream without tiles to decompress: no array or picture is empty.
        return result == RESULT_OK && data.in_memory.bytes().empty() ? RESULT_NO_TILES : result;
    }
    if (writes_standard_output(request)) {
        return data.held_back.result(run_codec(request, inputs, data.held_back, figures));
    }
    FileOutputStream output(files.file(OutputRole::OUTPUT)->stream());
    return run_codec(request, inputs, output, figures);
}

// Writes each file that has a form: the output's own (held for standard
// output), then the palette file, the header, the index file and the tile
// map with its header.
ResultCode write_forms(const Request& request, const InputFiles& inputs, OutputSet& files, RunData& data,
                       const Figures& figures) {
    const RunProducts products{request, inputs, figures, data.in_memory.bytes(), data.colours,
                               content_of(request, inputs, data.in_memory.bytes(), figures)};
    for (const OutputRole role : {OutputRole::OUTPUT, OutputRole::PALETTE, OutputRole::HEADER, OutputRole::INDEX,
                                  OutputRole::MAP, OutputRole::MAP_HEADER}) {
        OutputFile* file = files.file(role);
        const bool held = role == OutputRole::OUTPUT && writes_standard_output(request);
        if (!has_form(role, request) || (file == nullptr && !held)) {
            continue;
        }
        std::string bytes;
        ResultCode result = write_form(role, products, bytes);
        if (result == RESULT_OK && held) {
            data.text = std::move(bytes);
        } else if (result == RESULT_OK) {
            result = write_text(*file, bytes);
        }
        if (result != RESULT_OK) {
            return result;
        }
    }
    return RESULT_OK;
}

// All of it, or RESULT_WRITE_ERROR.
ResultCode write_to_standard_output(const Request& request, RunData& data) {
    if (!has_form(OutputRole::OUTPUT, request)) {
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
ResultCode write_outputs(const Request& request, const InputFiles& inputs, OutputSet& files, RunData& data,
                         Figures& figures) {
    ResultCode result = run_into(request, inputs, files, data, figures);
    try {
        if (result == RESULT_OK) {
            result = write_forms(request, inputs, files, data, figures);
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

}  // namespace

int run_files(const Request& request) {
    InputFiles inputs;
    ImageReading reading{request.image.cells, std::nullopt};
    if (request.image.map_name) {
        reading.map = request.image.map;
    }
    if (!inputs.open(request.input_names, request.pack, reading)) {
        return 1;
    }
    // A picture's palette is read before any output is touched.
    RunData data;
    if (request.image.picture &&
        (!can_handle_images(request.output_name) ||
         (request.image.colours_name && !read_colours(*request.image.colours_name, data.colours)))) {
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
    if (request.image.palette_name) {
        files.add(OutputRole::PALETTE, *request.image.palette_name);
    }
    if (request.image.map_name) {
        files.add(OutputRole::MAP, *request.image.map_name);
        if (request.source == SourceForm::C) {
            files.add(OutputRole::MAP_HEADER, utf8_of(header_beside(*path_from_utf8(*request.image.map_name))));
        }
    }
    if (!files.open(inputs, to_standard_output, request.source == SourceForm::C) || !files.begin()) {
        return 1;
    }
    Figures figures;
    const ResultCode result = write_outputs(request, inputs, files, data, figures);
    inputs.close();
    return finish_run(request, inputs, result, figures, files);
}

}  // namespace venk::cli
