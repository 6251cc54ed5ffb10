#include "output_forms.hpp"

#include "map_source.hpp"
#include "picture_output.hpp"
#include "platform.hpp"
#include "run_content.hpp"
#include "source_names.hpp"
#include "source_output.hpp"

namespace venk::cli {
namespace {

using Form = ResultCode (*)(const RunProducts& products, std::string& bytes);

// The file name a C output includes its header by, and the header's guard
// is made from.
std::string header_file_name(const Request& request) {
    return utf8_of(header_beside(*path_from_utf8(request.output_name)).filename());
}

ResultCode source_form(const RunProducts& products, std::string& bytes) {
    const Request& request = products.request;
    const bool includes_header = request.source == SourceForm::C && !writes_standard_output(request);
    bytes = source_text(*request.source, products.content, includes_header ? header_file_name(request) : "");
    return RESULT_OK;
}

ResultCode picture_form(const RunProducts& products, std::string& bytes) {
    std::vector<std::uint8_t> png;
    const ResultCode result = picture_of(products.data, products.request.image.columns, products.colours, png);
    bytes.assign(png.begin(), png.end());
    return result;
}

ResultCode header_form(const RunProducts& products, std::string& bytes) {
    bytes = c_header(products.content, header_file_name(products.request));
    return RESULT_OK;
}

// The constants of the data: of the bytes of source output, or of the
// binary stream (or blob) written as it came.
ResultCode index_form(const RunProducts& products, std::string& bytes) {
    const Request& request = products.request;
    const std::size_t binary_size =
        request.action == ACTION_DECOMPRESS ? products.figures.blob_size : products.figures.stream_size;
    const std::size_t size = request.source ? products.data.size() : binary_size;
    const std::string name = utf8_of(path_from_utf8(*request.index_name).value_or("").filename());
    bytes = index_text(request.index_form, products.content, size, request.source.has_value(), name);
    return RESULT_OK;
}

ResultCode palette_form(const RunProducts& products, std::string& bytes) {
    bytes = palette_file_bytes(image_palette(products.request, products.inputs));
    return RESULT_OK;
}

// The tile map: big-endian words, or source in the language of the output's.
ResultCode map_form(const RunProducts& products, std::string& bytes) {
    const Request& request = products.request;
    const CellMap& map = *image_map(request, products.inputs);
    const std::filesystem::path file = *path_from_utf8(*request.image.map_name);
    if (!request.source) {
        bytes = palette_file_bytes(map.words);  // words as a palette file holds them
    } else {
        bytes = map_source_text(*request.source, symbol_from_file_name(file), map,
                                utf8_of(header_beside(file).filename()));
    }
    return RESULT_OK;
}

ResultCode map_header_form(const RunProducts& products, std::string& bytes) {
    const std::filesystem::path file = *path_from_utf8(*products.request.image.map_name);
    bytes = map_c_header(symbol_from_file_name(file), *image_map(products.request, products.inputs),
                         utf8_of(header_beside(file).filename()));
    return RESULT_OK;
}

Form form_of(OutputRole role, const Request& request) {
    switch (role) {
    case OutputRole::OUTPUT:
        return request.image.picture ? picture_form : source_form;
    case OutputRole::HEADER:
        return header_form;
    case OutputRole::INDEX:
        return index_form;
    case OutputRole::MAP:
        return map_form;
    case OutputRole::MAP_HEADER:
        return map_header_form;
    case OutputRole::PALETTE:
        break;
    }
    return palette_form;
}

}  // namespace

bool has_form(OutputRole role, const Request& request) {
    return role != OutputRole::OUTPUT || request.source || request.image.picture;
}

ResultCode write_form(OutputRole role, const RunProducts& products, std::string& bytes) {
    return form_of(role, products.request)(products, bytes);
}

}  // namespace venk::cli
