// What a run's outputs say of its data besides the bytes: the symbol, the
// description, a pack's index and the images' palettes.
#pragma once

#include "input_files.hpp"
#include "run_files.hpp"
#include "source_output.hpp"

#include <span>
#include <string>
#include <vector>

namespace venk::cli {

bool writes_standard_output(const Request& request);

// A path's name as UTF-8, as the front end spells every name.
std::string utf8_of(const std::filesystem::path& path);

// In a pack, each input's range of tiles, in the order of the inputs, under
// its name in the index; once the codec has read every input.
std::vector<IndexEntry> pack_index(const Request& request, const InputFiles& inputs);

// The named constants of a run whose data is `bytes` (none for a binary
// output): its symbol, in a pack its index, and in source output its
// images' palettes.
SourceContent content_of(const Request& request, const InputFiles& inputs, std::span<const std::uint8_t> bytes,
                         const Figures& figures);

// The palette of the image among the inputs; none if there is no image.
std::span<const std::uint16_t> image_palette(const Request& request, const InputFiles& inputs);

// The tile map of the image among the inputs; nullptr if none was made.
const CellMap* image_map(const Request& request, const InputFiles& inputs);

}  // namespace venk::cli
