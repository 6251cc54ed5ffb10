// A run ended by a signal (interrupt, termination, hang-up) leaves no
// partial output: the handler removes the file being written, then lets the
// process die of the signal, so its parent sees the usual status. On Windows
// Ctrl-C and Ctrl-Break are only recorded, and the run stops itself (see
// stop_requested in platform.hpp).
#pragma once

#include <filesystem>

namespace venk::cli {

// Catches the terminating signals, except those the parent chose to ignore,
// turns a file-size limit or a pipe without a reader into an ordinary write
// error, and watches for requests to stop.
void install_signal_handlers();

// Files written together (a C file, its header, an index file, a palette
// file, a tile map and its header) are guarded at once, each in its own slot.
inline constexpr int GUARD_SLOTS = 6;

// From now on a terminating signal removes `path`, after truncating the open
// file `descriptor` unless it is negative (for a file that is written in
// place and might not be removable). It replaces what `slot` guarded.
void remove_on_termination(const std::filesystem::path& path, int descriptor, int slot = 0);

// The file in `slot` is finished or already removed: a signal leaves it alone.
void keep_on_termination(int slot = 0);

}  // namespace venk::cli
