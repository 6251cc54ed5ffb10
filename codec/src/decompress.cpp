#include "format.hpp"
#include "grown_structs.hpp"

#include <new>
#include <vector>

namespace venk {
namespace {

// Map entries are read and tiles written in batches rather than one at a
// time. Within a batch the entries are still handled in order, and the tiles
// decoded before a rejected entry are written first, so every failure gives
// the same result code as a tile-by-tile decoder would.
constexpr std::size_t BATCH_ENTRIES = 4096;

// Decodes one map entry into a tile, after checking all four offsets.
bool decode_entry(const std::vector<std::uint8_t>& dictionary, const std::uint8_t* entry, std::uint8_t* tile) {
    const std::size_t highest_offset = dictionary.size() - BLOCK_SIZE;
    std::array<std::size_t, QUADRANTS> offsets{};
    for (std::size_t quadrant = 0; quadrant < QUADRANTS; ++quadrant) {
        offsets[quadrant] = load_be16(entry + quadrant * 2);
        if (offsets[quadrant] % 2 != 0 || offsets[quadrant] > highest_offset) {
            return false;
        }
    }
    for (std::size_t quadrant = 0; quadrant < QUADRANTS; ++quadrant) {
        scatter_block(&dictionary[offsets[quadrant]], quadrant, tile);
    }
    return true;
}

ResultCode read_dictionary(InputStream& input, FormatVariant variant, std::vector<std::uint8_t>& dictionary) {
    std::uint16_t tile_count = 0;  // the tile map's length decides, not this
    ResultCode result = read_be16(input, tile_count);
    std::uint16_t size = 0;
    if (result == RESULT_OK) {
        result = read_be16(input, size);
    }
    if (result != RESULT_OK) {
        return result;
    }
    if (!is_valid_dictionary_size(size, variant)) {
        return RESULT_INVALID_STREAM;
    }
    dictionary.resize(size);
    if (input.read(dictionary) != dictionary.size()) {
        return short_read_result(input, RESULT_INVALID_STREAM);
    }
    return RESULT_OK;
}

ResultCode decompress_all(InputStream& input, OutputStream& output, FormatVariant variant, Figures* figures) {
    std::vector<std::uint8_t> dictionary;
    const ResultCode result = read_dictionary(input, variant, dictionary);
    if (result != RESULT_OK) {
        return result;
    }
    std::vector<std::uint8_t> entries(BATCH_ENTRIES * MAP_ENTRY_SIZE);
    std::vector<std::uint8_t> tiles(BATCH_ENTRIES * TILE_SIZE);
    std::size_t tiles_written = 0;
    for (;;) {
        const std::size_t got = input.read(entries);
        const std::size_t whole_entries = got / MAP_ENTRY_SIZE;
        std::size_t decoded = 0;
        while (decoded < whole_entries &&
               decode_entry(dictionary, &entries[decoded * MAP_ENTRY_SIZE], &tiles[decoded * TILE_SIZE])) {
            ++decoded;
        }
        const std::span<const std::uint8_t> decoded_tiles(tiles.data(), decoded * TILE_SIZE);
        if (!decoded_tiles.empty() && output.write(decoded_tiles) != decoded_tiles.size()) {
            return RESULT_WRITE_ERROR;
        }
        tiles_written += decoded;
        if (decoded < whole_entries) {
            return RESULT_INVALID_STREAM;
        }
        if (got == entries.size()) {
            continue;
        }
        // The input ended or failed: normal only at an entry boundary at the
        // end of the input.
        if (got % MAP_ENTRY_SIZE == 0 && input.at_end()) {
            if (figures != nullptr) {
                *figures = stream_figures(tiles_written, dictionary.size(), variant);
            }
            return RESULT_OK;
        }
        return short_read_result(input, RESULT_INVALID_STREAM);
    }
}

}  // namespace

ResultCode decompress(InputStream& input, OutputStream& output, const Options& options, Figures* figures) {
    return with_grown_structs(options, figures, [&](const Options& known, Figures* found) {
        try {
            return decompress_all(input, output, known.variant, found);
        } catch (const std::bad_alloc&) {
            return RESULT_OUT_OF_MEMORY;
        }
    });
}

}  // namespace venk
