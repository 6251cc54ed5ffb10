#include "run_content.hpp"

#include "messages.hpp"
#include "platform.hpp"
#include "source_names.hpp"

namespace venk::cli {
namespace {

constexpr std::size_t TILE_BYTES = 32;

// What the opening comment of source output says the bytes are.
std::string source_description(const Request& request, const Figures& figures) {
    const std::string tiles = std::to_string(figures.tiles) + " tiles";
    if (request.action == ACTION_DECOMPRESS) {
        return tiles;
    }
    return (request.variant == FORMAT_VENK15 ? "VENK15 stream of " : "VENK16 stream of ") + tiles;
}

}  // namespace

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

namespace {

// In source output, the palette of each image among the inputs: SYMBOL_palette
// for one image, and in a pack SYMBOL_NAME_palette under its name in the
// index.
std::vector<NamedPalette> palettes(const Request& request, const InputFiles& inputs, const std::string& symbol) {
    std::vector<NamedPalette> named;
    for (std::size_t i = 0; request.source && i < request.input_names.size(); ++i) {
        if (!inputs.palette(i).empty()) {
            std::string name = symbol;
            if (request.pack) {
                name += '_';
                name += index_name_from_file_name(path_from_utf8(request.input_names[i]).value_or(""));
            }
            name += "_palette";
            named.push_back({std::move(name), inputs.palette(i)});
        }
    }
    return named;
}

}  // namespace

SourceContent content_of(const Request& request, const InputFiles& inputs, std::span<const std::uint8_t> bytes,
                         const Figures& figures) {
    const std::string symbol =
        request.symbol ? *request.symbol : symbol_from_file_name(path_from_utf8(request.output_name).value_or(""));
    return {bytes,  symbol, figures.tiles, source_description(request, figures), pack_index(request, inputs),
            palettes(request, inputs, symbol)};
}

std::span<const std::uint16_t> image_palette(const Request& request, const InputFiles& inputs) {
    for (std::size_t i = 0; i < request.input_names.size(); ++i) {
        if (!inputs.palette(i).empty()) {
            return inputs.palette(i);
        }
    }
    return {};
}

const CellMap* image_map(const Request& request, const InputFiles& inputs) {
    for (std::size_t i = 0; i < request.input_names.size(); ++i) {
        if (inputs.map(i) != nullptr) {
            return inputs.map(i);
        }
    }
    return nullptr;
}

bool writes_standard_output(const Request& request) {
    return request.output_name == STANDARD_STREAM_NAME;
}

std::string utf8_of(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

}  // namespace venk::cli
