#include "best_layout.hpp"
#include "compressor.hpp"
#include "distinct_blocks.hpp"
#include "format.hpp"
#include "grown_structs.hpp"

#include <algorithm>
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
    TileCompressor(BlockSearch search, FormatVariant variant, const HashKey& key)
        : search_(search), dictionary_limit_(max_dictionary_size(variant)), dictionary_(key) {}

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

    std::span<const std::uint8_t> dictionary() const { return dictionary_.bytes(); }
    std::span<const std::uint8_t> tile_map() const { return {tile_map_.get(), tile_count_ * MAP_ENTRY_SIZE}; }
    std::size_t tile_count() const { return tile_count_; }
    bool fits() const { return !too_big_; }

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

// Every block of every tile, as block_value numbers, for the best layout; it
// keeps no more than a stream can hold.
class BlockCollector {
public:
    explicit BlockCollector(bool enabled) : enabled_(enabled) {}

    void add_tile(const std::uint8_t* tile) {
        if (!enabled_ || blocks_.size() >= MAX_TILES * QUADRANTS) {
            return;
        }
        for (std::size_t quadrant = 0; quadrant < QUADRANTS; ++quadrant) {
            blocks_.push_back(block_value(gather_block(tile, quadrant).data()));
        }
    }

    std::span<const std::uint64_t> blocks() const { return blocks_; }

private:
    bool enabled_;
    std::vector<std::uint64_t> blocks_;
};

// Lays out the collected blocks; true if that fits the variant and beats the
// default layout, which otherwise stays what it is.
bool lay_out_smaller(const TileCompressor& compressor, const BlockCollector& collector, FormatVariant variant,
                     LaidOutStream& best) {
    return compressor.tile_count() <= MAX_TILES &&
           lay_out_stream(collector.blocks(), max_dictionary_size(variant), best) &&
           (!compressor.fits() || best.dictionary.size() < compressor.dictionary().size());
}

// The number of distinct blocks that a tile map names. Not that of distinct
// offsets: in the default layout a block can also turn up at a lower offset,
// straddling the block before it, right after it was stored, and later
// tiles then name it there.
std::size_t count_distinct_blocks(std::span<const std::uint8_t> dictionary, std::span<const std::uint8_t> tile_map) {
    std::vector<bool> named(dictionary.size(), false);
    std::vector<std::uint64_t> blocks;
    for (std::size_t at = 0; at < tile_map.size(); at += 2) {
        const std::uint16_t offset = load_be16(&tile_map[at]);
        if (!named[offset]) {
            named[offset] = true;
            blocks.push_back(block_value(&dictionary[offset]));
        }
    }
    std::ranges::sort(blocks);
    // Not std::ranges::unique: clang 14 (the fuzz build) cannot compile the
    // subrange it returns with the libstdc++ of GCC 12.
    return static_cast<std::size_t>(std::unique(blocks.begin(), blocks.end()) - blocks.begin());
}

// Reads one input to its end into the compressor and the collector. Only an
// end exactly on a tile boundary is a normal end, and the error indicator is
// not consulted there; an input without a tile is RESULT_NO_TILES. Reading
// stops once the tiles are more than a stream can count, RESULT_TOO_BIG,
// so that an endless input, such as a device, ends too.
ResultCode read_input(InputStream& input, TileCompressor& compressor, BlockCollector& collector,
                      std::vector<std::uint8_t>& chunk) {
    const std::size_t tiles_before = compressor.tile_count();
    for (;;) {
        if (compressor.tile_count() > MAX_TILES) {
            return RESULT_TOO_BIG;
        }
        const std::size_t got = input.read(chunk);
        const std::size_t whole_tiles = got / TILE_SIZE;
        for (std::size_t t = 0; t < whole_tiles; ++t) {
            const ResultCode result = compressor.add_tile(&chunk[t * TILE_SIZE]);
            if (result != RESULT_OK) {
                return result;
            }
            collector.add_tile(&chunk[t * TILE_SIZE]);
        }
        if (got == chunk.size()) {
            continue;
        }
        if (got % TILE_SIZE == 0 && input.at_end()) {
            return compressor.tile_count() == tiles_before ? RESULT_NO_TILES : RESULT_OK;
        }
        return short_read_result(input, RESULT_BAD_INPUT_SIZE);
    }
}

// The first input i of a pack too big for the best layout such that inputs 0
// to i together do not fit, given where each input's tiles end. The default
// layout fits every shorter pack than that of `overflowed`, the input during
// which it stopped fitting, so only the longer ones are laid out, from the
// blocks already collected.
std::size_t first_too_big_for_best(const BlockCollector& collector, std::span<const std::size_t> tile_ends,
                                   std::size_t overflowed, FormatVariant variant) {
    LaidOutStream layout;
    for (std::size_t i = overflowed; i + 1 < tile_ends.size(); ++i) {
        if (tile_ends[i] > MAX_TILES ||
            !lay_out_stream(collector.blocks().first(tile_ends[i] * QUADRANTS), max_dictionary_size(variant), layout)) {
            return i;
        }
    }
    return tile_ends.size() - 1;
}

// Compresses the inputs, one after the other, into one stream. After a
// failure that an input caused, `failed_input` names it.
ResultCode compress_all(const HashKey& key, BlockSearch search, std::span<InputStream* const> inputs,
                        OutputStream& output, FormatVariant variant, CompressionLevel level, Figures* figures,
                        std::size_t& failed_input) {
    TileCompressor compressor(search, variant, key);
    BlockCollector collector(level == LEVEL_BEST);
    std::vector<std::uint8_t> chunk(CHUNK_TILES * TILE_SIZE);
    std::vector<std::size_t> tile_ends;  // for each input, the tiles up to its end
    std::size_t overflowed = 0;          // the input during which the default layout stopped fitting
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const bool fitted = compressor.fits();
        failed_input = i;
        const ResultCode result = read_input(*inputs[i], compressor, collector, chunk);
        if (result != RESULT_OK && result != RESULT_TOO_BIG) {
            return result;
        }
        tile_ends.push_back(compressor.tile_count());
        if (fitted && !compressor.fits()) {
            overflowed = i;
        }
        if (result == RESULT_TOO_BIG) {
            break;  // the later inputs are left unread
        }
    }
    failed_input = 0;
    if (inputs.empty()) {
        return RESULT_NO_TILES;
    }
    LaidOutStream best;
    const bool use_best = level == LEVEL_BEST && lay_out_smaller(compressor, collector, variant, best);
    if (!use_best && !compressor.fits()) {
        failed_input = level == LEVEL_BEST ? first_too_big_for_best(collector, tile_ends, overflowed, variant)
                                           : overflowed;
        return RESULT_TOO_BIG;
    }
    const std::span<const std::uint8_t> dictionary = use_best ? best.dictionary : compressor.dictionary();
    const std::span<const std::uint8_t> tile_map = use_best ? best.tile_map : compressor.tile_map();
    const ResultCode result = write_venk_stream(output, compressor.tile_count(), dictionary, tile_map);
    if (result == RESULT_OK && figures != nullptr) {
        *figures = stream_figures(compressor.tile_count(), dictionary.size(), variant);
        figures->distinct_blocks = count_distinct_blocks(dictionary, tile_map);
    }
    return result;
}

// With the given key, or a fresh random one when fixed_key is null. A
// failure that an input caused is named in `figures`, if any.
ResultCode compress_guarded(const HashKey* fixed_key, BlockSearch search, std::span<InputStream* const> inputs,
                            OutputStream& output, FormatVariant variant, CompressionLevel level,
                            Figures* figures) {
    std::size_t failed_input = 0;
    ResultCode result = RESULT_OK;
    try {
        const HashKey key = fixed_key != nullptr ? *fixed_key : random_hash_key();
        result = compress_all(key, search, inputs, output, variant, level, figures, failed_input);
    } catch (const std::bad_alloc&) {
        return RESULT_OUT_OF_MEMORY;
    }
    if (result != RESULT_OK && figures != nullptr) {
        figures->failed_input = failed_input;
    }
    return result;
}

}  // namespace

ResultCode compress_tiles_with_key(const HashKey& key, BlockSearch search, InputStream& input,
                                   OutputStream& output, FormatVariant variant) {
    InputStream* const inputs[] = {&input};
    return compress_guarded(&key, search, inputs, output, variant, LEVEL_DEFAULT, nullptr);
}

ResultCode compress_tiles_with(BlockSearch search, std::span<InputStream* const> inputs, OutputStream& output,
                               FormatVariant variant, CompressionLevel level, Figures* figures) {
    return compress_guarded(nullptr, search, inputs, output, variant, level, figures);
}

ResultCode compress_tiles_with(BlockSearch search, InputStream& input, OutputStream& output, FormatVariant variant,
                               CompressionLevel level, Figures* figures) {
    InputStream* const inputs[] = {&input};
    return compress_tiles_with(search, inputs, output, variant, level, figures);
}

ResultCode compress(InputStream& input, OutputStream& output, const Options& options, Figures* figures) {
    return with_grown_structs(options, figures, [&](const Options& known, Figures* found) {
        return compress_tiles_with(find_or_append_block, input, output, known.variant, known.level, found);
    });
}

ResultCode compress(std::span<InputStream* const> inputs, OutputStream& output, const Options& options,
                    Figures* figures) {
    const auto call = [&](const Options& known, Figures* found) {
        return compress_tiles_with(find_or_append_block, inputs, output, known.variant, known.level, found);
    };
    return with_grown_structs(options, figures, call, true);
}

}  // namespace venk
