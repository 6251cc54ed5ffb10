// Builders of tile blobs for codec tests.
#pragma once

#include <venk/venk.hpp>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <vector>

namespace venk::test {

using Bytes = std::vector<std::uint8_t>;

// Tile byte positions of each quadrant block, in block order.
inline constexpr std::array<std::array<int, 8>, 4> QUADRANT_POSITIONS = {{
    {0, 1, 4, 5, 8, 9, 12, 13},
    {2, 3, 6, 7, 10, 11, 14, 15},
    {16, 17, 20, 21, 24, 25, 28, 29},
    {18, 19, 22, 23, 26, 27, 30, 31},
}};

using BlockBytes = std::array<std::uint8_t, 8>;

// Appends the tile whose four quadrant blocks are the given ones.
inline void append_tile(Bytes& blob, const std::array<BlockBytes, 4>& blocks) {
    std::array<std::uint8_t, 32> tile{};
    for (std::size_t q = 0; q < 4; ++q) {
        for (std::size_t i = 0; i < 8; ++i) {
            tile[static_cast<std::size_t>(QUADRANT_POSITIONS[q][i])] = blocks[q][i];
        }
    }
    blob.insert(blob.end(), tile.begin(), tile.end());
}

// Block number `id` (below 2^56), 14 bits of it in each 2-byte row, built
// so that it can only ever match at a multiple of 8: every row carries its
// row number in its top bits.
inline BlockBytes tagged_block(std::uint64_t id) {
    BlockBytes block{};
    for (unsigned row = 0; row < 4; ++row) {
        const auto bits = static_cast<unsigned>(id >> (14 * row) & 0x3FFF);
        block[row * 2] = static_cast<std::uint8_t>(row << 6 | bits >> 8);
        block[row * 2 + 1] = static_cast<std::uint8_t>(bits & 0xFF);
    }
    return block;
}

// Block number `id` (below 16384): the same 14 bits in every row.
inline BlockBytes distinct_block(unsigned id) {
    return tagged_block(std::uint64_t{id} * (1 + (1 << 14) + (std::uint64_t{1} << 28) + (std::uint64_t{1} << 42)));
}

// A blob whose compression stores exactly `count` distinct blocks (count >= 1).
inline Bytes blob_with_distinct_blocks(unsigned count) {
    Bytes blob;
    for (unsigned first = 0; first < count; first += 4) {
        std::array<BlockBytes, 4> blocks{};
        for (unsigned q = 0; q < 4; ++q) {
            blocks[q] = distinct_block(first + q < count ? first + q : 0);
        }
        append_tile(blob, blocks);
    }
    return blob;
}

// `blocks` blocks of consecutive 2-byte rows from `first` on (at most 65532
// rows in all), block k holding rows first + k to first + k + 3, four to a
// tile: the best layout chains them, each sharing three rows with the next,
// in about 2 bytes a block; the default layout stores each whole, in 8.
inline Bytes chained_blocks(unsigned first, unsigned blocks) {
    Bytes blob;
    for (unsigned block = 0; block < blocks; block += 4) {
        std::array<BlockBytes, 4> tile{};
        for (unsigned q = 0; q < 4; ++q) {
            for (unsigned row = 0; row < 4; ++row) {
                const unsigned value = first + block + q + row;
                tile[q][row * 2] = static_cast<std::uint8_t>(value >> 8);
                tile[q][row * 2 + 1] = static_cast<std::uint8_t>(value);
            }
        }
        append_tile(blob, tile);
    }
    return blob;
}

// Tiles drawn from an alphabet of `symbols` distinct 2-byte rows (at most
// 256), so that whole and straddling block matches are frequent.
inline Bytes random_blob(std::uint32_t seed, std::size_t tiles, unsigned symbols) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<unsigned> pick(0, symbols - 1);
    Bytes blob(tiles * 32);
    for (std::size_t i = 0; i < blob.size(); i += 2) {
        const unsigned symbol = pick(random);
        blob[i] = static_cast<std::uint8_t>(symbol * 37);
        blob[i + 1] = static_cast<std::uint8_t>(symbol * 101 + 7);
    }
    return blob;
}

inline Bytes repeat(const Bytes& unit, std::size_t times) {
    Bytes out;
    out.reserve(unit.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        out.insert(out.end(), unit.begin(), unit.end());
    }
    return out;
}

// The big-endian word at `at`.
inline std::size_t load16(const Bytes& bytes, std::size_t at) {
    return std::size_t{bytes.at(at)} << 8 | bytes.at(at + 1);
}

}  // namespace venk::test
