#include "platform.hpp"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cwchar>
#endif

namespace venk::cli {

#ifdef _WIN32

std::optional<std::filesystem::path> path_from_utf8(const std::string& name) {
    if (name.empty()) {
        return std::filesystem::path();
    }
    const int name_size = static_cast<int>(name.size());
    const int wide_size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), name_size, nullptr, 0);
    if (wide_size <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), name_size, wide.data(), wide_size);
    return std::filesystem::path(wide);
}

std::FILE* open_binary_file(const std::filesystem::path& path, const char* mode) {
    const std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(path.c_str(), wide_mode.c_str());
}

std::string utf8_from_wide(const wchar_t* wide) {
    const int wide_size = static_cast<int>(std::wcslen(wide));
    if (wide_size == 0) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, wide_size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, wide_size, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

void use_binary_standard_streams() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

#else

std::optional<std::filesystem::path> path_from_utf8(const std::string& name) {
    return std::filesystem::path(name);
}

std::FILE* open_binary_file(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

#endif

}  // namespace venk::cli
