// The POSIX half of platform.hpp, built everywhere but on Windows.
#include "platform.hpp"

#include <csignal>

#include <sys/stat.h>
#ifdef __linux__
#include <linux/magic.h>
#include <sys/vfs.h>
#endif

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace venk::cli {

namespace {

std::FILE* stream_from_descriptor(int descriptor) {
    if (descriptor < 0) {
        return nullptr;
    }
    std::FILE* file = fdopen(descriptor, "wb");
    if (file == nullptr) {
        close(descriptor);
    }
    return file;
}

}  // namespace

std::optional<std::filesystem::path> path_from_utf8(const std::string& name) {
    return std::filesystem::path(name);
}

std::FILE* open_binary_file(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

FileIdentity identify_open_file(std::FILE* file) {
    struct stat status {};
    if (fstat(fileno(file), &status) != 0 || !(S_ISREG(status.st_mode) || S_ISFIFO(status.st_mode))) {
        return {};
    }
    const bool regular = S_ISREG(status.st_mode);
    return {regular, static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino), !regular};
}

// Like fopen(path, "wb"), a FIFO without a reader is waited for.
std::FILE* open_for_writing(const std::filesystem::path& path, bool create, bool& missing) {
    const int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | (create ? O_CREAT : 0);
    const int descriptor = open(path.c_str(), flags, 0666);
    missing = descriptor < 0 && errno == ENOENT;
    return stream_from_descriptor(descriptor);
}

std::FILE* create_new_file(const std::filesystem::path& path, std::FILE* model, bool& name_taken) {
    struct stat model_status {};
    const bool copy = model != nullptr && fstat(fileno(model), &model_status) == 0;
    // Private until it has the model's bits; otherwise the umask applies, as
    // to any new file.
    const mode_t mode = copy ? S_IRUSR | S_IWUSR : 0666;
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode);
    name_taken = descriptor < 0 && errno == EEXIST;
    if (descriptor >= 0 && copy) {
        // Only root may give a file away; anyone else keeps it, which is fine.
        [[maybe_unused]] const int owner_kept = fchown(descriptor, model_status.st_uid, model_status.st_gid);
        fchmod(descriptor, model_status.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO));
    }
    return stream_from_descriptor(descriptor);
}

#ifdef __linux__
bool names_open_descriptor(const std::filesystem::path& link) {
    struct statfs status {};
    const std::filesystem::path directory = link.has_parent_path() ? link.parent_path() : ".";
    return statfs(directory.c_str(), &status) == 0 && status.f_type == PROC_SUPER_MAGIC;
}
#else
// Other systems make /dev/fd/N nodes of their own rather than links.
bool names_open_descriptor(const std::filesystem::path&) {
    return false;
}
#endif

std::FILE* open_unnamed_temporary_file() {
    return std::tmpfile();
}

bool truncate_to_empty(std::FILE* file) {
    return ftruncate(fileno(file), 0) == 0;
}

int descriptor_of(std::FILE* file) {
    return fileno(file);
}

bool replace_file(const std::filesystem::path& from, const std::filesystem::path& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void remove_file_in_signal_handler(const std::filesystem::path::value_type* path, int descriptor) {
    if (descriptor >= 0) {
        // A failure changes nothing: the file is removed all the same.
        [[maybe_unused]] const int truncated = ftruncate(descriptor, 0);
    }
    unlink(path);
}

std::span<const int> terminating_signals() {
    static constexpr int signals[] = {SIGINT, SIGTERM, SIGHUP};
    return signals;
}

void watch_stop_requests() {}

bool stop_requested() {
    return false;
}

// Never used: a signal ends such a run. What a shell reports for SIGINT.
int stopped_run_status() {
    return 128 + SIGINT;
}

void ignore_write_failure_signals() {
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace venk::cli
