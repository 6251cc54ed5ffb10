// A background's distinct tiles and its map. Each tile is looked up by its
// canonical form, the least of its forms (as is and, when flips match, its
// three flips): a tile and its flips share it, so one hash lookup finds the
// stored tile a cell is drawn from, whichever way it is turned, and the run
// takes time linear in the tiles.
#include <venk/image.hpp>

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

namespace venk {
namespace {

constexpr std::size_t TILE_SIZE = 32;
constexpr std::size_t ROW_BYTES = 4;
constexpr std::size_t ROWS = 8;
constexpr std::uint32_t NO_TILE = 0xFFFFFFFF;

using Tile = std::array<std::uint8_t, TILE_SIZE>;

// Mirrored left to right: the bytes of each row reversed, and the two
// pixels of each byte swapped (the left pixel is the high nibble).
Tile flipped_horizontally(const Tile& tile) {
    Tile flipped;
    for (std::size_t row = 0; row < ROWS; ++row) {
        for (std::size_t i = 0; i < ROW_BYTES; ++i) {
            const std::uint8_t byte = tile[row * ROW_BYTES + ROW_BYTES - 1 - i];
            flipped[row * ROW_BYTES + i] = static_cast<std::uint8_t>(byte << 4 | byte >> 4);
        }
    }
    return flipped;
}

Tile flipped_vertically(const Tile& tile) {
    Tile flipped;
    for (std::size_t row = 0; row < ROWS; ++row) {
        std::memcpy(&flipped[row * ROW_BYTES], &tile[(ROWS - 1 - row) * ROW_BYTES], ROW_BYTES);
    }
    return flipped;
}

// A tile's forms in the order a cell prefers them: as is, horizontal,
// vertical, both; with the flip bits of each.
struct Forms {
    std::array<Tile, 4> tiles;
    static constexpr std::array<std::uint16_t, 4> BITS = {0, TILE_MAP_HORIZONTAL_FLIP, TILE_MAP_VERTICAL_FLIP,
                                                           TILE_MAP_HORIZONTAL_FLIP | TILE_MAP_VERTICAL_FLIP};
};

Forms forms_of(const Tile& tile) {
    const Tile horizontal = flipped_horizontally(tile);
    return {{tile, horizontal, flipped_vertically(tile), flipped_vertically(horizontal)}};
}

Tile canonical_form(const Tile& tile, bool match_flips) {
    if (!match_flips) {
        return tile;
    }
    const Forms forms = forms_of(tile);
    return *std::min_element(forms.tiles.begin(), forms.tiles.end());
}

std::uint64_t hash_of(const Tile& tile) {
    std::uint64_t hash = 0;
    for (std::size_t i = 0; i < TILE_SIZE; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, &tile[i], 8);
        hash = (hash ^ word) * 0x9E3779B97F4A7C15ULL;
        hash ^= hash >> 29;
    }
    return hash;
}

// The stored tiles by canonical form: open addressing over a table at
// least twice the tiles, so a lookup is a few probes.
class CanonicalTable {
public:
    explicit CanonicalTable(std::size_t tiles) {
        std::size_t size = 16;
        while (size < 2 * tiles) {
            size *= 2;
        }
        slots_.assign(size, NO_TILE);
    }

    // The stored tile of this canonical form, or NO_TILE after adding it
    // as the stored tile `next`.
    std::uint32_t find_or_add(const Tile& canonical, std::uint32_t next) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t slot = hash_of(canonical) & mask;; slot = (slot + 1) & mask) {
            if (slots_[slot] == NO_TILE) {
                slots_[slot] = next;
                canonicals_.push_back(canonical);
                return NO_TILE;
            }
            if (canonicals_[slots_[slot]] == canonical) {
                return slots_[slot];
            }
        }
    }

private:
    std::vector<std::uint32_t> slots_;
    std::vector<Tile> canonicals_;  // by stored tile
};

bool is_whole_image(const TileImage& image) {
    const std::size_t count = image.tiles.size() / TILE_SIZE;
    return count > 0 && image.tiles.size() % TILE_SIZE == 0 && image.tile_lines.size() == count &&
           std::size_t{image.width / 8} * (image.height / 8) == count &&
           std::all_of(image.tile_lines.begin(), image.tile_lines.end(),
                       [](std::uint8_t line) { return line < PALETTE_MAX_LINES; });
}

ImageResult build(const TileImage& image, TileMap& map, const TileMapOptions& options, ImageError& error) {
    const std::size_t count = image.tiles.size() / TILE_SIZE;
    CanonicalTable table(count);
    std::vector<Tile> stored;
    map.cells.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        Tile tile;
        std::memcpy(tile.data(), &image.tiles[i * TILE_SIZE], TILE_SIZE);
        const std::uint32_t next = static_cast<std::uint32_t>(stored.size());
        std::uint32_t index = table.find_or_add(canonical_form(tile, options.match_flips), next);
        std::uint16_t flips = 0;
        if (index == NO_TILE) {
            index = next;
            stored.push_back(tile);
        } else {
            const Forms forms = forms_of(stored[index]);
            std::size_t form = 0;
            while (forms.tiles[form] != tile) {
                ++form;
            }
            flips = Forms::BITS[form];
            map.flipped_cells += flips != 0 ? 1 : 0;
        }
        map.cells.push_back(static_cast<std::uint16_t>(image.tile_lines[i] << TILE_MAP_LINE_SHIFT | flips |
                                                       ((options.base + index) & TILE_MAP_INDEX_MASK)));
    }
    if (options.base + stored.size() > TILE_MAP_MAX_TILES) {
        error.result = IMAGE_TOO_MANY_DISTINCT_TILES;
        error.tiles = stored.size();
        return error.result;
    }
    map.tiles.resize(stored.size() * TILE_SIZE);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        std::memcpy(&map.tiles[i * TILE_SIZE], stored[i].data(), TILE_SIZE);
    }
    map.width = image.width / 8;
    map.height = image.height / 8;
    return IMAGE_OK;
}

}  // namespace

ImageResult make_tile_map(const TileImage& image, TileMap& map, const TileMapOptions& options, ImageError* error) {
    ImageError details;
    details.width = image.width;
    details.height = image.height;
    map = TileMap{};
    ImageResult result = IMAGE_OK;
    if (options.base >= TILE_MAP_MAX_TILES) {
        result = IMAGE_INVALID_OPTIONS;
    } else if (!is_whole_image(image)) {
        result = IMAGE_BAD_TILES;
    } else {
        try {
            result = build(image, map, options, details);
        } catch (const std::bad_alloc&) {
            result = IMAGE_OUT_OF_MEMORY;
        }
    }
    if (result != IMAGE_OK) {
        map = TileMap{};
    }
    details.result = result;
    if (error != nullptr) {
        *error = details;
    }
    return result;
}

}  // namespace venk
