#include "stats_line.hpp"

#include <string>

namespace venk::cli {
namespace {

// "part" as a percentage of "whole" with one decimal, computed in integers
// so that every platform prints the same digits.
std::string percent(std::size_t part, std::size_t whole) {
    const std::size_t tenths = (part * 1000 + whole / 2) / whole;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%";
}

}  // namespace

std::string stats_line(Action action, const std::string& input_name,
                       const std::string& output_name, const Figures& stats) {
    const auto count = [](std::size_t value) { return std::to_string(value); };
    std::string line = input_name + " -> " + output_name + ": " + count(stats.tiles) + " tiles, ";
    if (action == ACTION_DECOMPRESS) {
        line += "dictionary " + count(stats.dictionary_size) + " bytes, stream " + count(stats.stream_size) +
                " bytes, blob " + count(stats.blob_size) + " bytes";
    } else {
        const std::size_t limit = stats.dictionary_limit;
        line += count(stats.distinct_blocks) + " distinct blocks, dictionary " + count(stats.dictionary_size) +
                " of " + count(limit) + " bytes (" + percent(stats.dictionary_size, limit) + "), stream " +
                count(stats.stream_size) + " bytes (" + percent(stats.stream_size, stats.blob_size) + " of " +
                count(stats.blob_size) + ")";
    }
    return line + "\n";
}

std::string pack_input_line(const std::string& input_name, std::size_t first_tile, std::size_t tiles) {
    return "  " + input_name + ": first tile " + std::to_string(first_tile) + ", " + std::to_string(tiles) + " tiles\n";
}

std::string map_stats_line(const std::string& map_name, const CellMap& map) {
    return "  " + map_name + ": " + std::to_string(map.words.size()) + " cells, " + std::to_string(map.distinct_tiles) +
           " distinct tiles, " + std::to_string(map.flipped_cells) + " with flips\n";
}

}  // namespace venk::cli
