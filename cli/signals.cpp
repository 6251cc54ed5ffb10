#include "signals.hpp"

#include "platform.hpp"

#include <atomic>
#include <csignal>

namespace venk::cli {
namespace {

using PathCharacter = std::filesystem::path::value_type;

// The handler reads only these two atomics, which need no lock; the path they
// point into changes only while nothing points into it.
static_assert(std::atomic<const PathCharacter*>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);
std::filesystem::path guarded_path;
std::atomic<const PathCharacter*> armed_path{nullptr};
std::atomic<int> armed_descriptor{-1};

void on_terminating_signal(int signal) {
    const PathCharacter* path = armed_path.exchange(nullptr);
    if (path != nullptr) {
        remove_file_in_signal_handler(path, armed_descriptor.load());
    }
    // The signal is blocked while its handler runs; it kills the process as
    // soon as the handler returns.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

void install_signal_handlers() {
    for (const int signal : terminating_signals()) {
        // nohup and background jobs start a program with some signals
        // ignored, and they must stay so.
        if (std::signal(signal, on_terminating_signal) == SIG_IGN) {
            std::signal(signal, SIG_IGN);
        }
    }
    ignore_file_size_limit_signal();
}

void remove_on_termination(const std::filesystem::path& path, int descriptor) {
    keep_on_termination();
    guarded_path = path;
    armed_descriptor.store(descriptor);
    armed_path.store(guarded_path.c_str());
}

void keep_on_termination() {
    armed_path.store(nullptr);
}

}  // namespace venk::cli
