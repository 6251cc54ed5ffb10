// Layout of the VENK stream and of a tile, shared by both directions.
#pragma once

#include <venk/venk.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace venk {

inline constexpr std::size_t TILE_SIZE = 32;
inline constexpr std::size_t BLOCK_SIZE = 8;       // one quadrant: 4 rows of 2 bytes
inline constexpr std::size_t MAP_ENTRY_SIZE = 8;   // four 16-bit offsets
inline constexpr std::size_t QUADRANTS = 4;
inline constexpr std::size_t MAX_TILES = 0xFFFF;

using Tile = std::array<std::uint8_t, TILE_SIZE>;
using Block = std::array<std::uint8_t, BLOCK_SIZE>;

// The largest dictionary the compressor may write in this variant.
constexpr std::size_t max_dictionary_size(FormatVariant variant) {
    return variant == FORMAT_VENK16 ? 0xFFFF : 0x7FFF;
}

// Whether the decompressor accepts a dictionary of this size: even, at least
// one block, and with the top bit clear in VENK15.
constexpr bool is_valid_dictionary_size(std::size_t size, FormatVariant variant) {
    return size % 2 == 0 && size >= BLOCK_SIZE && size <= max_dictionary_size(variant);
}

// Where block byte i of quadrant q sits in the tile. A quadrant holds four
// consecutive rows, two bytes of each: quadrant 0 is the top left, 1 the top
// right, 2 the bottom left and 3 the bottom right.
constexpr std::size_t tile_position(std::size_t quadrant, std::size_t block_index) {
    const std::size_t row = (quadrant / 2) * 4 + block_index / 2;
    const std::size_t column = (quadrant % 2) * 2 + block_index % 2;
    return row * 4 + column;
}

// The two bytes of a block row sit side by side in the tile, so a block
// moves as four 2-byte rows.
inline Block gather_block(const std::uint8_t* tile, std::size_t quadrant) {
    Block block{};
    for (std::size_t i = 0; i < BLOCK_SIZE; i += 2) {
        std::memcpy(&block[i], tile + tile_position(quadrant, i), 2);
    }
    return block;
}

inline void scatter_block(const std::uint8_t* block, std::size_t quadrant, std::uint8_t* tile) {
    for (std::size_t i = 0; i < BLOCK_SIZE; i += 2) {
        std::memcpy(tile + tile_position(quadrant, i), block + i, 2);
    }
}

inline void store_be16(std::uint8_t* bytes, std::uint16_t value) {
    bytes[0] = static_cast<std::uint8_t>(value >> 8);
    bytes[1] = static_cast<std::uint8_t>(value & 0xFF);
}

inline std::uint16_t load_be16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

// Reads one big-endian word. A stream that ends inside the word is not valid
// VENK; a stream that failed gives RESULT_READ_ERROR.
ResultCode read_be16(InputStream& input, std::uint16_t& value);

// Writes one big-endian word in a single 2-byte write.
ResultCode write_be16(OutputStream& output, std::uint16_t value);

// The figures of a stream of `tiles` map entries after a dictionary of
// `dictionary_size` bytes; the number of distinct blocks is left to the caller.
inline Figures stream_figures(std::size_t tiles, std::size_t dictionary_size, FormatVariant variant) {
    Figures figures;
    figures.tiles = tiles;
    figures.dictionary_size = dictionary_size;
    figures.dictionary_limit = max_dictionary_size(variant);
    figures.stream_size = 4 + dictionary_size + tiles * MAP_ENTRY_SIZE;
    figures.blob_size = tiles * TILE_SIZE;
    return figures;
}

// Writes a whole stream: the header, the dictionary and the tile map.
ResultCode write_venk_stream(OutputStream& output, std::size_t tile_count, std::span<const std::uint8_t> dictionary,
                             std::span<const std::uint8_t> tile_map);

// The code for a read that brought fewer bytes than the format needs there.
inline ResultCode short_read_result(const InputStream& input, ResultCode otherwise) {
    return input.has_error() ? RESULT_READ_ERROR : otherwise;
}

}  // namespace venk
