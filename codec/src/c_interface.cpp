// venk/venk.h: the C interface, over the library's C++ calls.
#include <venk/venk.h>

#include "format.hpp"
#include "grown_structs.hpp"
#include "memory_streams.hpp"

#include <limits>
#include <vector>

namespace venk {
namespace {

// The sizes of the first release with these structs; they never change.
constexpr std::size_t FIRST_C_OPTIONS_SIZE = 12;
constexpr std::size_t FIRST_C_FIGURES_SIZE = 8 + 7 * sizeof(std::size_t);
static_assert(sizeof(venk_options) >= FIRST_C_OPTIONS_SIZE && sizeof(venk_figures) >= FIRST_C_FIGURES_SIZE);

venk_figures c_figures_of(const Figures& figures) {
    return {sizeof(venk_figures),     0,
            figures.tiles,            figures.distinct_blocks,
            figures.dictionary_size,  figures.dictionary_limit,
            figures.stream_size,      figures.blob_size,
            figures.failed_input};
}

// Runs `codec(output, options, figures)` into the caller's output buffer,
// with the options and figures as the header describes them; `pack` says
// whether the figures name an input after a failure.
template <typename Codec>
int run_in_buffer(Codec codec, std::uint8_t* output_bytes, std::size_t capacity, std::size_t* output_size,
                  const venk_options* given_options, venk_figures* given_figures, bool pack = false) noexcept {
    // Without somewhere to say how long the output is, it is of no use.
    if (output_size == nullptr) {
        return RESULT_INVALID_OPTIONS;
    }
    *output_size = 0;
    const venk_options default_options = VENK_OPTIONS_INIT;
    const venk_options& c_options = given_options != nullptr ? *given_options : default_options;
    if (!is_usable_grown(c_options, FIRST_C_OPTIONS_SIZE) || !has_room_grown(given_figures, FIRST_C_FIGURES_SIZE)) {
        return RESULT_INVALID_OPTIONS;
    }
    const venk_options known = read_grown(c_options);
    // Checked at the fields' full width before they narrow to the enums.
    if (!are_known_choices(known.variant, known.level)) {
        return RESULT_INVALID_OPTIONS;
    }
    Options options;
    options.variant = static_cast<FormatVariant>(known.variant);
    options.level = static_cast<CompressionLevel>(known.level);
    try {
        BufferOutputStream output({output_bytes, capacity});
        Figures figures;
        ResultCode result = codec(output, options, given_figures != nullptr ? &figures : nullptr);
        if (result == RESULT_OK) {
            *output_size = output.size();
        }
        // The library's own buffer stream fails only for want of room.
        if (result == RESULT_WRITE_ERROR && output.overflowed()) {
            result = RESULT_BUFFER_TOO_SMALL;
        }
        if (stores_figures(result, pack) && given_figures != nullptr) {
            write_grown(c_figures_of(figures), *given_figures);
        }
        return result;
    } catch (...) {
        // The streams are the library's own and only allocation can fail
        // inside, which the calls report themselves; whatever else escaped
        // would still be a resource running out, and must not reach C.
        return RESULT_OUT_OF_MEMORY;
    }
}

// Runs `call(input, output, options, figures)` from the caller's input bytes.
template <typename Call>
int run_in_buffers(Call call, const std::uint8_t* input_bytes, std::size_t input_size, std::uint8_t* output_bytes,
                   std::size_t capacity, std::size_t* output_size, const venk_options* options,
                   venk_figures* figures) noexcept {
    const auto codec = [&](OutputStream& output, const Options& chosen, Figures* found) {
        SpanInputStream input({input_bytes, input_size});
        return call(input, output, chosen, found);
    };
    return run_in_buffer(codec, output_bytes, capacity, output_size, options, figures);
}

}  // namespace
}  // namespace venk

using namespace venk;

extern "C" {

std::size_t venk_compress_bound(std::size_t blob_size) {
    // A header, a dictionary of at most every block of every tile and at most
    // the largest size, and one entry per tile.
    return 4 + std::min<std::size_t>(blob_size, max_dictionary_size(FORMAT_VENK16)) +
           blob_size / TILE_SIZE * MAP_ENTRY_SIZE;
}

std::size_t venk_decompress_bound(const std::uint8_t* stream, std::size_t stream_size) {
    if (stream_size < 4) {
        return 0;
    }
    const std::size_t dictionary_size = load_be16(stream + 2);
    if (stream_size - 4 < dictionary_size) {
        return 0;
    }
    const std::size_t entries = (stream_size - 4 - dictionary_size) / MAP_ENTRY_SIZE;
    constexpr std::size_t MOST_ENTRIES = std::numeric_limits<std::size_t>::max() / TILE_SIZE;
    return entries > MOST_ENTRIES ? std::numeric_limits<std::size_t>::max() : entries * TILE_SIZE;
}

int venk_compress(const std::uint8_t* blob, std::size_t blob_size, std::uint8_t* stream, std::size_t capacity,
                  std::size_t* stream_size, const venk_options* options, venk_figures* figures) {
    const auto codec = [](InputStream& input, OutputStream& output, const Options& chosen, Figures* found) {
        return compress(input, output, chosen, found);
    };
    return run_in_buffers(codec, blob, blob_size, stream, capacity, stream_size, options, figures);
}

int venk_decompress(const std::uint8_t* stream, std::size_t stream_size, std::uint8_t* blob, std::size_t capacity,
                    std::size_t* blob_size, const venk_options* options, venk_figures* figures) {
    const auto codec = [](InputStream& input, OutputStream& output, const Options& chosen, Figures* found) {
        return decompress(input, output, chosen, found);
    };
    return run_in_buffers(codec, stream, stream_size, blob, capacity, blob_size, options, figures);
}

int venk_compress_pack(const std::uint8_t* const* blobs, const std::size_t* blob_sizes, std::size_t count,
                       std::uint8_t* stream, std::size_t capacity, std::size_t* stream_size,
                       const venk_options* options, venk_figures* figures) {
    const auto codec = [&](OutputStream& output, const Options& chosen, Figures* found) {
        std::vector<SpanInputStream> sources;
        std::vector<InputStream*> inputs;
        sources.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            inputs.push_back(&sources.emplace_back(std::span<const std::uint8_t>(blobs[i], blob_sizes[i])));
        }
        return compress(inputs, output, chosen, found);
    };
    return run_in_buffer(codec, stream, capacity, stream_size, options, figures, true);
}

const char* venk_result_message(int result) {
    // Outside the codes' range is "unknown error", as any unlisted code is.
    return result_message(result >= 0 && result <= 0xFF ? static_cast<ResultCode>(result) : RESULT_OK);
}

#define VENK_STRING_OF(value) #value
#define VENK_VERSION_STRING(major, minor, patch) VENK_STRING_OF(major) "." VENK_STRING_OF(minor) "." VENK_STRING_OF(patch)

const char* venk_version(void) {
    return VENK_VERSION_STRING(VENK_VERSION_MAJOR, VENK_VERSION_MINOR, VENK_VERSION_PATCH);
}

unsigned venk_version_number(void) { return VENK_VERSION_NUMBER; }

}  // extern "C"
