// Writing a fixed text to standard output or error.
#pragma once

#include <cstdio>
#include <string_view>

namespace venk::cli {

// False if the text could not be written.
inline bool print(std::FILE* stream, std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

}  // namespace venk::cli
