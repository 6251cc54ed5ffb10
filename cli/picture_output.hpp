// The outputs that images bring: a picture of a stream's tiles, and an
// image's palette as the console's colour words.
#pragma once

#include <venk/venk.hpp>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace venk::cli {

// Whether this venk reads and writes PNG; if not, says so for the file
// `name` and returns false.
bool can_handle_images(const std::string& name);

// Reads the palette a picture is drawn with from the file `name`: a PNG's
// palette, or a file of big-endian colour words as --palette writes them,
// 1 to 64 of them. False after saying why on standard error.
bool read_colours(const std::string& name, std::vector<std::uint16_t>& words);

// An indexed PNG of `tiles` in reading order, `columns` a row, drawn with
// the colour words `colours` (a grey ramp if there are none).
ResultCode picture_of(std::span<const std::uint8_t> tiles, std::uint32_t columns,
                      std::span<const std::uint16_t> colours, std::vector<std::uint8_t>& png);

// Colour words as a palette file holds them: big-endian, two bytes each.
std::string palette_file_bytes(std::span<const std::uint16_t> words);

}  // namespace venk::cli
