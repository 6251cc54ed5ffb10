#include "output_file.hpp"

#include "signals.hpp"

#include <chrono>
#include <random>
#include <string>
#include <system_error>

namespace venk::cli {
namespace {

namespace fs = std::filesystem;

// The file a name finally leads to, followed link by link, so that a
// symbolic link to the output keeps pointing at the new output. Notes whether
// a link on the way is the system's name for an open descriptor, such as
// /dev/stdout, which must outlive any run. A loop of links is left after a
// bounded number of steps; opening the result then fails.
fs::path final_target(fs::path path, bool& through_descriptor) {
    constexpr int MAX_LINKS = 40;
    through_descriptor = false;
    for (int step = 0; step < MAX_LINKS; ++step) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) {
            break;
        }
        const fs::path link = fs::read_symlink(path, error);
        if (error) {
            break;
        }
        through_descriptor = through_descriptor || names_open_descriptor(path);
        path = path.parent_path() / link;  // an absolute link replaces the whole path
    }
    return path;
}

// ".<name>.venk-XXXXXX" beside the target: out of a plain listing, and
// recognisable as venk's if a SIGKILL leaves it behind.
fs::path temporary_name(const fs::path& target, std::uint64_t random) {
    static constexpr std::string_view LETTERS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string suffix = ".venk-";
    for (int i = 0; i < 6; ++i) {
        suffix += LETTERS[static_cast<std::size_t>(random % LETTERS.size())];
        random /= LETTERS.size();
    }
    fs::path name = ".";
    name += target.filename();
    name += suffix;
    return target.parent_path() / name;
}

}  // namespace

OutputFile::OpenResult OutputFile::open(const fs::path& name, std::span<const FileIdentity> inputs) {
    name_ = name;
    // What the name leads to, with its links followed by the system, which
    // alone can follow /dev/stdout to a pipe: anything but a regular file is
    // written as it is. Opened without truncating, only to learn what it is.
    bool missing = false;
    FileIdentity reached;
    if (std::FILE* file = open_for_writing(name, false, missing)) {
        reached = identify_open_file(file);
        if (!reached.regular) {
            file_ = file;
            identity_ = reached;
            return OPEN_OK;
        }
        std::fclose(file);
    } else if (!missing) {
        return OPEN_FAILED;
    }
    // A regular file, or none yet: the new output goes beside the file the
    // links finally name.
    target_ = final_target(name, through_descriptor_);
    std::FILE* existing = open_for_writing(target_, false, missing);
    if (existing == nullptr && !missing) {
        return OPEN_FAILED;
    }
    const FileIdentity identity = existing != nullptr ? identify_open_file(existing) : FileIdentity{};
    if (existing != nullptr && !identity.regular && !reached.regular) {
        file_ = existing;  // made since the name was first opened
        identity_ = identity;
        return OPEN_OK;
    }
    // Judged by the open files: neither may be the input, and if the name
    // first led to a regular file, the links must lead to that one; otherwise
    // they changed meanwhile, or lead where no name does (the descriptor of a
    // deleted file), and nothing is safe to replace.
    const bool same_as_input = is_one_of(reached, inputs) || is_one_of(identity, inputs);
    if (same_as_input || (reached.regular && !is_same_regular_file(identity, reached))) {
        if (existing != nullptr) {
            std::fclose(existing);
        }
        return same_as_input ? OPEN_SAME_AS_INPUT : OPEN_FAILED;
    }
    const bool replacing = create_temporary_file(existing);
    if (existing != nullptr && replacing) {
        std::fclose(existing);
    }
    if (replacing) {
        mode_ = MODE_REPLACING;
        identity_ = identity;
        return OPEN_OK;
    }
    return open_in_place(existing, inputs);
}

bool OutputFile::create_temporary_file(std::FILE* model) {
    const fs::path name = target_.filename();
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    // Creating the file exclusively is what makes a name safe to use; the
    // random letters only make a taken name unlikely.
    std::mt19937_64 random(static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    constexpr int ATTEMPTS = 100;
    for (int attempt = 0; attempt < ATTEMPTS; ++attempt) {
        const fs::path candidate = temporary_name(target_, random());
        // Guarded before it exists, so that no signal finds it unguarded; a
        // file that already has such a name can only be one venk left.
        remove_on_termination(candidate, -1, slot_);
        bool name_taken = false;
        file_ = create_new_file(candidate, model, name_taken);
        if (file_ != nullptr) {
            temporary_ = candidate;
            return true;
        }
        keep_on_termination(slot_);
        if (!name_taken) {
            return false;
        }
    }
    return false;
}

// No temporary file can be made beside the target, as in a directory this
// user may not write to, but the target itself may be writable. It is only
// opened here: begin() empties it, once every file of the run is open.
OutputFile::OpenResult OutputFile::open_in_place(std::FILE* existing, std::span<const FileIdentity> inputs) {
    bool missing = false;
    file_ = existing != nullptr ? existing : open_for_writing(target_, true, missing);
    if (file_ == nullptr) {
        return OPEN_FAILED;
    }
    // A file created just now may have been replaced since it was looked at.
    identity_ = identify_open_file(file_);
    if (is_one_of(identity_, inputs)) {
        std::fclose(file_);
        file_ = nullptr;
        return OPEN_SAME_AS_INPUT;
    }
    if (!identity_.regular) {
        return OPEN_OK;
    }
    // Unbuffered, so that after a failure no written byte still waits to
    // land behind the truncation.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    mode_ = MODE_IN_PLACE;
    created_ = existing == nullptr;
    if (created_) {
        remove_on_termination(target_, -1, slot_);
    }
    return OPEN_OK;
}

bool OutputFile::begin() {
    if (mode_ != MODE_IN_PLACE) {
        return true;
    }
    remove_on_termination(target_, descriptor_of(file_), slot_);
    begun_ = true;
    return truncate_to_empty(file_);
}

ResultCode OutputFile::finish(ResultCode result) {
    if (result == RESULT_OK && std::fflush(file_) != 0) {
        result = RESULT_WRITE_ERROR;
    }
    // Emptied first, in case deleting its name fails.
    if (result != RESULT_OK && mode_ == MODE_IN_PLACE) {
        truncate_to_empty(file_);
    }
    if (std::fclose(file_) != 0 && result == RESULT_OK) {
        result = RESULT_WRITE_ERROR;
    }
    file_ = nullptr;
    return result;
}

ResultCode OutputFile::commit(ResultCode result) {
    if (result == RESULT_OK && mode_ == MODE_REPLACING && (stop_requested() || !replace_file(temporary_, target_))) {
        result = RESULT_WRITE_ERROR;
    }
    if (result == RESULT_OK) {
        keep_on_termination(slot_);
    }
    return result;
}

std::optional<fs::path> OutputFile::remove_after_failure(bool stopped) {
    std::optional<fs::path> left_behind;
    std::error_code error;
    if (mode_ == MODE_REPLACING && !fs::remove(temporary_, error) && error) {
        left_behind = temporary_;
    }
    // The name given goes too, so that no stale output remains under it,
    // unless it is the system's name of a descriptor or the run was stopped,
    // which keeps an earlier output as a signal does. Written in place, the
    // file itself goes, wherever the name led.
    std::optional<fs::path> written;
    if (mode_ == MODE_IN_PLACE) {
        written = target_;
    } else if (mode_ == MODE_REPLACING && !through_descriptor_ && !stopped) {
        written = name_;
    }
    if (written && !fs::remove(*written, error) && error && !left_behind) {
        left_behind = written;
    }
    keep_on_termination(slot_);
    return left_behind;
}

std::optional<fs::path> OutputFile::abandon() {
    // A file to be written in place keeps its bytes until begin(); one that
    // this run created goes.
    if (mode_ == MODE_IN_PLACE && !begun_) {
        std::fclose(file_);
        file_ = nullptr;
        keep_on_termination(slot_);
        std::error_code error;
        return created_ && !fs::remove(target_, error) && error ? std::optional(target_) : std::nullopt;
    }
    finish(RESULT_WRITE_ERROR);
    // Nothing was written: as after a stopped run, the name keeps its old
    // contents, and only what the opening made goes.
    return remove_after_failure(true);
}

}  // namespace venk::cli
