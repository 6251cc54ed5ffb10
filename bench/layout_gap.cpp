// layout-gap <blob>...: for each blob of tiles, how long the dictionary is
// in the default layout and in the best one, and how long any layout must
// be at least; one Markdown table row per blob.
//
// The default length is counted without the variants' limits, so a blob
// that is too big for VENK still gets its number.
#include "best_layout.hpp"
#include "distinct_blocks.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unordered_set>
#include <vector>

namespace {

using venk::BLOCK_SIZE;

std::vector<std::uint64_t> read_blocks(const char* name) {
    std::ifstream file(name, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<std::uint64_t> blocks;
    for (std::size_t tile = 0; tile + venk::TILE_SIZE <= bytes.size(); tile += venk::TILE_SIZE) {
        const auto* tile_bytes = reinterpret_cast<const std::uint8_t*>(&bytes[tile]);
        for (std::size_t quadrant = 0; quadrant < venk::QUADRANTS; ++quadrant) {
            blocks.push_back(venk::block_value(venk::gather_block(tile_bytes, quadrant).data()));
        }
    }
    return blocks;
}

// The default layout's length: a block is appended unless some even offset
// already holds it, straddling stored blocks or not.
std::size_t default_size(const std::vector<std::uint64_t>& blocks) {
    std::vector<std::uint8_t> dictionary;
    std::unordered_set<std::uint64_t> held;
    for (const std::uint64_t block : blocks) {
        if (held.contains(block)) {
            continue;
        }
        for (std::size_t byte = 0; byte < BLOCK_SIZE; ++byte) {
            dictionary.push_back(static_cast<std::uint8_t>(block >> (8 * (BLOCK_SIZE - 1 - byte))));
        }
        const std::size_t end = dictionary.size();
        for (std::size_t position = end >= 2 * BLOCK_SIZE ? end - 2 * BLOCK_SIZE + 2 : 0; position + BLOCK_SIZE <= end;
             position += 2) {
            held.insert(venk::block_value(&dictionary[position]));
        }
    }
    return dictionary.size();
}

double percent(std::size_t part, std::size_t whole) {
    return 100.0 * static_cast<double>(part) / static_cast<double>(whole);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: layout-gap <blob>...\n", stderr);
        return 2;
    }
    std::puts("| set | tiles | distinct blocks | default D | best D | lower bound | gain | above the bound |");
    std::puts("|---|---:|---:|---:|---:|---:|---:|---:|");
    for (int i = 1; i < argc; ++i) {
        const std::vector<std::uint64_t> blocks = read_blocks(argv[i]);
        if (blocks.empty()) {
            std::fprintf(stderr, "%s: no tiles\n", argv[i]);
            return 1;
        }
        const venk::DistinctBlocks distinct = venk::find_distinct_blocks(blocks);
        const std::size_t plain = default_size(blocks);
        const std::size_t best =
            std::min(plain, venk::linked_size(venk::shortest_links(distinct.values)));
        // No layout is shorter than one block.
        const std::size_t bound = std::max(
            BLOCK_SIZE, venk::linked_size(venk::link_blocks(distinct.values, venk::LinkShape::CYCLES)));
        std::printf("| %s | %zu | %zu | %zu | %zu | %zu | %.1f %% | %.2f %% |\n",
                    std::filesystem::path(argv[i]).stem().string().c_str(), blocks.size() / venk::QUADRANTS,
                    distinct.values.size(), plain, best, bound, 100.0 - percent(best, plain),
                    percent(best, bound) - 100.0);
    }
    return 0;
}
