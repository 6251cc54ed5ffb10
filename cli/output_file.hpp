// The output of a run, written so that its name holds either the whole new
// output or, after a failure, nothing: a regular file is written under a
// temporary name beside the file it replaces and renamed over it only once
// every byte is written, flushed and closed.
#pragma once

#include "platform.hpp"

#include <venk/venk.hpp>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>

namespace venk::cli {

class OutputFile {
public:
    enum OpenResult : std::uint8_t { OPEN_OK, OPEN_FAILED, OPEN_SAME_AS_INPUT };

    // `guard_slot` is the signal handler's slot that guards this file (see
    // signals.hpp), one per file written at the same time.
    explicit OutputFile(int guard_slot = 0) : slot_(guard_slot) {}
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Prepares to write what `name` leads to, through any symbolic links:
    // a pipe, terminal or device as it is, a regular file through a temporary
    // file beside it. Refuses a name that leads to one of the `inputs`, judged
    // by the open files and not by their names, so that no renaming by
    // another process can bring venk to write over its input.
    OpenResult open(const std::filesystem::path& name, std::span<const FileIdentity> inputs);
    OpenResult open(const std::filesystem::path& name, const FileIdentity& input) {
        return open(name, std::span<const FileIdentity>(&input, 1));
    }

    // Empties a file that is written in place, which open() leaves as it was
    // so that a run can open all its files before it changes any. Call it
    // once every file of the run is open, before writing; false if the file
    // could not be emptied.
    bool begin();

    std::FILE* stream() const { return file_; }

    // What the output writes to, once open: the regular file it replaces or
    // writes in place (nothing for a new file), or the pipe or device.
    const FileIdentity& identity() const { return identity_; }

    // Whether the output is a regular file, new or replaced, rather than a
    // pipe, terminal or device.
    bool is_regular_file() const { return mode_ != MODE_DIRECT; }

    // Closes the output after a run that ended with `result` and, if it and
    // the final flush and close succeeded and no stop was requested, puts the
    // output in place. Returns the run's result, or RESULT_WRITE_ERROR if a
    // later step failed.
    ResultCode close(ResultCode result) { return commit(finish(result)); }

    // close() in two steps, for outputs put in place together only if all of
    // them were written: finish() flushes and closes the file, commit() puts
    // it in place if `result`, the outcome so far, is RESULT_OK and no stop
    // was requested.
    ResultCode finish(ResultCode result);
    ResultCode commit(ResultCode result);

    // After a failed run: removes the temporary file and deletes the output
    // name, as a failed run leaves no output; an output written in place is
    // deleted where the name led. Returns the name that could not be deleted,
    // if any. Devices, FIFOs, terminals and the system's names of descriptors
    // (/dev/stdout) are never deleted. A `stopped` run only removes what it
    // wrote, and the name keeps an earlier output, as after a signal.
    std::optional<std::filesystem::path> remove_after_failure(bool stopped = false);

    // Gives up before anything was written, as when a file to be written
    // with this one cannot be opened: removes the temporary file, so that a
    // replaced file keeps its contents; a file to be written in place keeps
    // its contents unless begin() emptied it, when it is deleted, and one
    // that open() created is deleted. Returns the name that could not be.
    std::optional<std::filesystem::path> abandon();

private:
    enum Mode : std::uint8_t {
        MODE_DIRECT,     // not a regular file: written as it is, never deleted
        MODE_REPLACING,  // a temporary file, renamed over the target at the end
        MODE_IN_PLACE,   // no temporary file could be made: the target itself
    };

    bool create_temporary_file(std::FILE* model);
    OpenResult open_in_place(std::FILE* existing, std::span<const FileIdentity> inputs);

    std::filesystem::path name_;
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    Mode mode_ = MODE_DIRECT;
    FileIdentity identity_;
    int slot_ = 0;
    bool through_descriptor_ = false;  // the name leads through /dev/stdout or the like
    bool created_ = false;             // written in place, and created by open()
    bool begun_ = false;               // written in place, and emptied by begin()
};

}  // namespace venk::cli
