#include "signals.hpp"

#include "platform.hpp"

#include <array>
#include <atomic>
#include <csignal>

namespace venk::cli {
namespace {

using PathCharacter = std::filesystem::path::value_type;

// The handler reads only the atomics, which need no lock; a guard's path
// changes only while nothing points into it.
static_assert(std::atomic<const PathCharacter*>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);
struct Guard {
    std::filesystem::path path;
    std::atomic<const PathCharacter*> armed_path{nullptr};
    std::atomic<int> armed_descriptor{-1};
};
std::array<Guard, GUARD_SLOTS> guards;

void on_terminating_signal(int signal) {
    for (Guard& guard : guards) {
        const PathCharacter* path = guard.armed_path.exchange(nullptr);
        if (path != nullptr) {
            remove_file_in_signal_handler(path, guard.armed_descriptor.load());
        }
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
    ignore_write_failure_signals();
    watch_stop_requests();
}

void remove_on_termination(const std::filesystem::path& path, int descriptor, int slot) {
    keep_on_termination(slot);
    Guard& guard = guards.at(static_cast<std::size_t>(slot));
    guard.path = path;
    guard.armed_descriptor.store(descriptor);
    guard.armed_path.store(guard.path.c_str());
}

void keep_on_termination(int slot) {
    guards.at(static_cast<std::size_t>(slot)).armed_path.store(nullptr);
}

}  // namespace venk::cli
