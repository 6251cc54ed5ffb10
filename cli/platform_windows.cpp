// The Windows half of platform.hpp, built on Windows only.
#include "platform.hpp"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <cstdint>
#include <cwchar>

namespace venk::cli {

namespace {

// Another program may still delete or rename a file that venk holds open,
// as it could on a POSIX system.
constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A C stream over the handle, opened with `mode` ("wb" unless given).
std::FILE* stream_from_handle(HANDLE handle, const char* mode = "wb") {
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(descriptor, mode);
    if (file == nullptr) {
        _close(descriptor);
    }
    return file;
}

std::FILE* create_file(const std::filesystem::path& path, DWORD disposition, DWORD& error) {
    const HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_WRITE, SHARE_ALL, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    error = handle == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    return stream_from_handle(handle);
}

}  // namespace

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

FileIdentity identify_open_file(std::FILE* file) {
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {};
    }
    return {true, information.dwVolumeSerialNumber,
            (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

std::FILE* open_for_writing(const std::filesystem::path& path, bool create, bool& missing) {
    DWORD error = ERROR_SUCCESS;
    std::FILE* file = create_file(path, create ? OPEN_ALWAYS : OPEN_EXISTING, error);
    missing = error == ERROR_FILE_NOT_FOUND;
    return file;
}

// Windows files have no permission bits to copy: a new file takes its access
// rights from its directory, as the replaced one did.
std::FILE* create_new_file(const std::filesystem::path& path, std::FILE*, bool& name_taken) {
    DWORD error = ERROR_SUCCESS;
    std::FILE* file = create_file(path, CREATE_NEW, error);
    name_taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
    return file;
}

bool names_open_descriptor(const std::filesystem::path&) {
    return false;
}

// Named, as every Windows file is, but deleted by the system when its handle
// closes.
std::FILE* open_unnamed_temporary_file() {
    wchar_t directory[MAX_PATH + 1];
    wchar_t name[MAX_PATH + 1];
    if (GetTempPathW(MAX_PATH + 1, directory) == 0 || GetTempFileNameW(directory, L"vnk", 0, name) == 0) {
        return nullptr;
    }
    const HANDLE handle = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        DeleteFileW(name);
    }
    return stream_from_handle(handle, "w+b");
}

bool truncate_to_empty(std::FILE* file) {
    return _chsize_s(_fileno(file), 0) == 0;
}

int descriptor_of(std::FILE* file) {
    return _fileno(file);
}

bool replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

void remove_file_in_signal_handler(const std::filesystem::path::value_type* path, int descriptor) {
    if (descriptor >= 0) {
        _chsize_s(descriptor, 0);
    }
    _wunlink(path);
}

std::span<const int> terminating_signals() {
    return {};
}

namespace {

std::atomic<bool> stop_request{false};

BOOL WINAPI on_console_event(DWORD event) {
    return handle_console_event(event) ? TRUE : FALSE;
}

}  // namespace

// Closing the console, logging off and shutting down are left to the system,
// which ends the process at once.
bool handle_console_event(unsigned long event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        return false;
    }
    stop_request.store(true);
    return true;
}

void watch_stop_requests() {
    stop_request.store(false);
    // A process started with Ctrl-C ignored is never called for it.
    static const bool watching = SetConsoleCtrlHandler(on_console_event, TRUE) != 0;
    static_cast<void>(watching);
}

bool stop_requested() {
    return stop_request.load();
}

int stopped_run_status() {
    return static_cast<int>(STATUS_CONTROL_C_EXIT);
}

void ignore_write_failure_signals() {}

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
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace venk::cli
