// Where Windows and POSIX systems differ. The rest of the front end sees
// file names as UTF-8 strings and writes plain bytes; these functions turn
// the names into paths, open, compare, replace and remove files on either
// system, and on Windows convert the UTF-16 argument vector and keep the
// standard streams from rewriting line feeds.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace venk::cli {

// The path a UTF-8 file name stands for. POSIX systems take the bytes as they
// are; Windows decodes them, and a name that is not valid UTF-8 gives nothing.
std::optional<std::filesystem::path> path_from_utf8(const std::string& name);

// Opens a file in binary mode ("rb" or "wb"); nullptr on failure.
std::FILE* open_binary_file(const std::filesystem::path& path, const char* mode);

// Which file an open stream reads or writes, whatever names led to it: the
// device (volume) and the inode (file index), for regular files, and on
// POSIX systems for pipes and FIFOs too.
struct FileIdentity {
    bool regular = false;
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    bool pipe = false;
};

FileIdentity identify_open_file(std::FILE* file);

inline bool is_same_regular_file(const FileIdentity& first, const FileIdentity& second) {
    return first.regular && second.regular && first.device == second.device && first.index == second.index;
}

// Whether two outputs of one run would write into each other: the same
// regular file, or the same pipe or FIFO. Terminals and devices such as a
// null device may take several outputs.
inline bool is_same_destination(const FileIdentity& first, const FileIdentity& second) {
    return is_same_regular_file(first, second) ||
           (first.pipe && second.pipe && first.device == second.device && first.index == second.index);
}

// Whether `file` is the same regular file as one of `others`.
inline bool is_one_of(const FileIdentity& file, std::span<const FileIdentity> others) {
    return std::ranges::any_of(others, [&](const FileIdentity& other) { return is_same_regular_file(file, other); });
}

// Opens `path` for writing in binary mode without truncating it. A missing
// file is created when `create` is set; otherwise the call fails and sets
// `missing`. nullptr on failure.
std::FILE* open_for_writing(const std::filesystem::path& path, bool create, bool& missing);

// Creates `path`, which must not exist yet (not even as a link), and opens it
// for writing. It gets the permission bits, and where the system allows the
// owner, of the open file `model`; without one, those of any new file. On
// failure `name_taken` tells whether the name was in use.
std::FILE* create_new_file(const std::filesystem::path& path, std::FILE* model, bool& name_taken);

// Whether the symbolic link `link` is one of the names the system keeps for
// the open descriptors of a process (the links under /proc on Linux, which
// /dev/stdout and /dev/fd/N lead through). False where there are none.
bool names_open_descriptor(const std::filesystem::path& link);

// A new file for reading and writing that has no name, in the system's
// directory for temporary files, and that the system deletes once it is
// closed or the process ends, however it ends. nullptr on failure.
std::FILE* open_unnamed_temporary_file();

// Cuts an open file to nothing.
bool truncate_to_empty(std::FILE* file);

// The descriptor a signal handler can truncate the file through.
int descriptor_of(std::FILE* file);

// Puts `from` in the place of `to` in one step, replacing what `to` named.
bool replace_file(const std::filesystem::path& from, const std::filesystem::path& to);

// Only calls that are safe inside a signal handler: truncates `descriptor`
// (unless negative) and removes the file named `path`.
void remove_file_in_signal_handler(const std::filesystem::path::value_type* path, int descriptor);

// The signals that end a process by request (interrupt, termination,
// hang-up), which the front end catches to clean up before dying of them.
// None on Windows, where Ctrl-C and Ctrl-Break are console events instead.
std::span<const int> terminating_signals();

// Windows calls the handler of Ctrl-C and Ctrl-Break on a thread of its own,
// which must not clean up while the main thread closes, renames or removes
// files. So the handler only records the request, and the main thread acts on
// it at defined points: each read and write, and before its output is put in
// place. watch_stop_requests starts watching, with no request so far; on
// POSIX systems, where signals do the work, nothing is ever requested.
void watch_stop_requests();
bool stop_requested();

// The exit status of a run ended by such a request: on Windows that of a
// console program ended by Ctrl-C, STATUS_CONTROL_C_EXIT.
int stopped_run_status();

#ifdef _WIN32
// The console control handler itself (exposed for the tests): true for the
// events it takes over, Ctrl-C and Ctrl-Break.
bool handle_console_event(unsigned long event);
#endif

// Makes exceeding a file-size limit, and writing to a pipe whose reader has
// gone, ordinary failed writes instead of signals that kill the process.
void ignore_write_failure_signals();

#ifdef _WIN32
// The UTF-8 spelling of a UTF-16 string from the system; a lone surrogate
// becomes U+FFFD.
std::string utf8_from_wide(const wchar_t* wide);

// Standard input, output and error in binary mode, so that a stream or a
// blob passes through them byte for byte, "\n" stays one line feed and every
// message has the same bytes as on other systems.
void use_binary_standard_streams();
#endif

}  // namespace venk::cli
