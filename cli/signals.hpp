// A run ended by a signal (interrupt, termination, hang-up) leaves no
// partial output: the handler removes the file being written, then lets the
// process die of the signal, so its parent sees the usual status.
#pragma once

#include <filesystem>

namespace venk::cli {

// Catches the terminating signals, except those the parent chose to ignore,
// and turns a file-size limit into an ordinary write error.
void install_signal_handlers();

// From now on a terminating signal removes `path`, after truncating the open
// file `descriptor` unless it is negative (for a file that is written in
// place and might not be removable).
void remove_on_termination(const std::filesystem::path& path, int descriptor);

// The file is finished or already removed: a signal leaves it alone.
void keep_on_termination();

}  // namespace venk::cli
