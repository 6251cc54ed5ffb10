// The palettes of images in source output: each as an array of the
// console's 16-bit colour words beside the data, with its length as a
// constant, so that a game loads the colours its tiles were drawn with.
#pragma once

#include "source_output.hpp"

#include <string>

namespace venk::cli {

// One array of 16-bit words in `form`, at an even address and exported; in C
// after an empty line.
std::string word_array_definition(SourceForm form, const std::string& symbol, std::span<const std::uint16_t> words);

// The definitions of the palettes in `form`, to follow the data in the
// same read-only section: each at an even address, exported.
std::string palette_definitions(SourceForm form, const SourceContent& content);

// The C declarations of the palettes, for a header.
std::string palette_declarations(const SourceContent& content);

}  // namespace venk::cli
