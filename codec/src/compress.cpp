#include "compressor.hpp"
#include "format.hpp"

#include <memory>
#include <new>
#include <vector>

namespace venk {
namespace {

// Tiles are read in chunks rather than one at a time; a chunk is a whole
// number of tiles, so a short chunk ends exactly where a tile-by-tile reader
// would have stopped.
constexpr std::size_t CHUNK_TILES = 2048;

class TileCompressor {
public:
    TileCompressor(BlockSearch search, FormatVariant variant)
        : search_(search), dictionary_limit_(max_dictionary_size(variant)) {}

    // Adds one tile. Once the stream is known to be too big nothing more is
    // stored or searched: the dictionary and the tile count only grow, so
    // the result can no longer be RESULT_OK, and reading on to the end only
    // decides which failure it is. That bounds memory by the limits and
    // makes the rest of a huge input cost only its reading.
    ResultCode add_tile(const std::uint8_t* tile) {
        ++tile_count_;
        if (tile_count_ > MAX_TILES) {
            too_big_ = true;
        }
        if (too_big_) {
            return RESULT_OK;
        }
        std::uint8_t* entry = &tile_map_[(tile_count_ - 1) * MAP_ENTRY_SIZE];
        for (std::size_t quadrant = 0; quadrant < QUADRANTS; ++quadrant) {
            std::size_t offset = 0;
            const ResultCode result = search_(dictionary_, gather_block(tile, quadrant), offset);
            if (result != RESULT_OK) {
                return result;
            }
            // Checked after every block, so the dictionary never holds more
            // than one block past the limit.
            if (dictionary_.size() > dictionary_limit_) {
                too_big_ = true;
                return RESULT_OK;
            }
            store_be16(entry + quadrant * 2, static_cast<std::uint16_t>(offset));
        }
        return RESULT_OK;
    }

    // The checks made once the whole input has been read.
    ResultCode finish() const {
        if (tile_count_ == 0) {
            return RESULT_NO_TILES;
        }
        return too_big_ ? RESULT_TOO_BIG : RESULT_OK;
    }

    ResultCode write_stream(OutputStream& output) const {
        ResultCode result = write_be16(output, static_cast<std::uint16_t>(tile_count_));
        if (result == RESULT_OK) {
            result = write_be16(output, static_cast<std::uint16_t>(dictionary_.size()));
        }
        const std::span<const std::uint8_t> dictionary = dictionary_.bytes();
        if (result == RESULT_OK && output.write(dictionary) != dictionary.size()) {
            result = RESULT_WRITE_ERROR;
        }
        const std::span<const std::uint8_t> tile_map(tile_map_.get(), tile_count_ * MAP_ENTRY_SIZE);
        if (result == RESULT_OK && output.write(tile_map) != tile_map.size()) {
            result = RESULT_WRITE_ERROR;
        }
        return result;
    }

private:
    BlockSearch search_;
    std::size_t dictionary_limit_;
    Dictionary dictionary_;
    // Room for the most tiles a stream can hold, allocated once: pages that
    // are never written take no memory on systems that map them lazily.
    std::unique_ptr<std::uint8_t[]> tile_map_ =
        std::make_unique_for_overwrite<std::uint8_t[]>(MAX_TILES * MAP_ENTRY_SIZE);
    std::size_t tile_count_ = 0;
    bool too_big_ = false;
};

ResultCode compress_all(BlockSearch search, InputStream& input, OutputStream& output, FormatVariant variant) {
    TileCompressor compressor(search, variant);
    std::vector<std::uint8_t> chunk(CHUNK_TILES * TILE_SIZE);
    for (;;) {
        const std::size_t got = input.read(chunk);
        const std::size_t whole_tiles = got / TILE_SIZE;
        for (std::size_t t = 0; t < whole_tiles; ++t) {
            const ResultCode result = compressor.add_tile(&chunk[t * TILE_SIZE]);
            if (result != RESULT_OK) {
                return result;
            }
        }
        if (got == chunk.size()) {
            continue;
        }
        // The input ended or failed. Only an end exactly on a tile boundary
        // is a normal end; the error indicator is not consulted there.
        if (got % TILE_SIZE == 0 && input.at_end()) {
            break;
        }
        return short_read_result(input, RESULT_BAD_INPUT_SIZE);
    }
    const ResultCode result = compressor.finish();
    return result == RESULT_OK ? compressor.write_stream(output) : result;
}

}  // namespace

ResultCode compress_tiles_with(BlockSearch search, InputStream& input, OutputStream& output,
                               FormatVariant variant) {
    try {
        return compress_all(search, input, output, variant);
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
}

ResultCode compress_tiles(InputStream& input, OutputStream& output, FormatVariant variant) {
    return compress_tiles_with(find_or_append_block, input, output, variant);
}

}  // namespace venk
