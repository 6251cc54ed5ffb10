// The compressor at its plainest: every block is looked for by scanning each
// even offset of the dictionary from the start, and appended if absent. The
// round-trip fuzz target holds the real compressor to this byte for byte.
#pragma once

#include <venk/venk.hpp>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace venk::reference {

// Tile byte positions of each quadrant block, in block order: quadrant 0 is
// rows 0-3 bytes 0-1, 1 is rows 0-3 bytes 2-3, 2 and 3 the same for rows 4-7.
inline constexpr std::array<std::array<std::size_t, 8>, 4> QUADRANT_POSITIONS = {{
    {0, 1, 4, 5, 8, 9, 12, 13},
    {2, 3, 6, 7, 10, 11, 14, 15},
    {16, 17, 20, 21, 24, 25, 28, 29},
    {18, 19, 22, 23, 26, 27, 30, 31},
}};

inline std::size_t find_or_append(std::vector<std::uint8_t>& dictionary, const std::array<std::uint8_t, 8>& block) {
    for (std::size_t offset = 0; offset + 8 <= dictionary.size(); offset += 2) {
        if (std::equal(block.begin(), block.end(), dictionary.begin() + static_cast<std::ptrdiff_t>(offset))) {
            return offset;
        }
    }
    dictionary.insert(dictionary.end(), block.begin(), block.end());
    return dictionary.size() - 8;
}

inline void append_be16(std::vector<std::uint8_t>& bytes, std::size_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value >> 8 & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

// Compresses a blob that is already a whole number of tiles.
inline ResultCode compress(std::span<const std::uint8_t> blob, FormatVariant variant,
                           std::vector<std::uint8_t>& stream) {
    stream.clear();
    std::vector<std::uint8_t> dictionary;
    std::vector<std::uint8_t> tile_map;
    const std::size_t tiles = blob.size() / 32;
    for (std::size_t t = 0; t < tiles; ++t) {
        for (const auto& positions : QUADRANT_POSITIONS) {
            std::array<std::uint8_t, 8> block{};
            for (std::size_t i = 0; i < 8; ++i) {
                block[i] = blob[t * 32 + positions[i]];
            }
            append_be16(tile_map, find_or_append(dictionary, block));
        }
    }
    const std::size_t dictionary_limit = variant == FORMAT_VENK16 ? 0xFFFF : 0x7FFF;
    if (tiles == 0) {
        return RESULT_NO_TILES;
    }
    if (dictionary.size() > dictionary_limit || tiles > 0xFFFF) {
        return RESULT_TOO_BIG;
    }
    append_be16(stream, tiles);
    append_be16(stream, dictionary.size());
    stream.insert(stream.end(), dictionary.begin(), dictionary.end());
    stream.insert(stream.end(), tile_map.begin(), tile_map.end());
    return RESULT_OK;
}

}  // namespace venk::reference
