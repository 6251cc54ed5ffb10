// Where Windows and POSIX systems differ. The rest of the front end sees
// file names as UTF-8 strings and writes plain bytes; these functions turn
// the names into paths and open files in binary mode on either system, and on
// Windows convert the UTF-16 argument vector and keep the standard streams
// from rewriting line feeds.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace venk::cli {

// The path a UTF-8 file name stands for. POSIX systems take the bytes as they
// are; Windows decodes them, and a name that is not valid UTF-8 gives nothing.
std::optional<std::filesystem::path> path_from_utf8(const std::string& name);

// Opens a file in binary mode ("rb" or "wb"); nullptr on failure.
std::FILE* open_binary_file(const std::filesystem::path& path, const char* mode);

#ifdef _WIN32
// The UTF-8 spelling of a UTF-16 string from the system; a lone surrogate
// becomes U+FFFD.
std::string utf8_from_wide(const wchar_t* wide);

// Standard output and error in binary mode, so "\n" stays one line feed and
// every message has the same bytes as on other systems.
void use_binary_standard_streams();
#endif

}  // namespace venk::cli
