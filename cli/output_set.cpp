#include "output_set.hpp"

#include "messages.hpp"
#include "print.hpp"

namespace venk::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* ROLE_NAMES[OUTPUT_ROLES] = {"output",       "header",   "index file",
                                                  "palette file", "map file", "map header"};

std::size_t slot_of(OutputRole role) {
    return static_cast<std::size_t>(role);
}

// Whether two names lead to one file, existing or yet to be made.
bool same_name(const std::string& first, const std::string& second) {
    const std::optional<fs::path> one = path_from_utf8(first);
    const std::optional<fs::path> other = path_from_utf8(second);
    std::error_code error;
    return one && other &&
           (is_same_regular_file(*one, *other) ||
            fs::weakly_canonical(fs::absolute(*one, error), error) ==
                fs::weakly_canonical(fs::absolute(*other, error), error));
}

// The later role first: "index file and output are the same file".
void report_clash(std::size_t earlier, std::size_t later) {
    std::fprintf(stderr, SAME_OUTPUT_FORMAT, ROLE_NAMES[later], ROLE_NAMES[earlier]);
}

}  // namespace

void report_left_behind(const std::optional<fs::path>& left_behind) {
    if (left_behind) {
        const std::u8string name = left_behind->u8string();
        std::fprintf(stderr, CANT_DELETE_OUTPUT_FORMAT, std::string(name.begin(), name.end()).c_str());
    }
}

void OutputSet::add(OutputRole role, std::string name) {
    entries_[slot_of(role)].name = std::move(name);
}

OutputFile* OutputSet::file(OutputRole role) {
    std::optional<OutputFile>& file = entries_[slot_of(role)].file;
    return file ? &*file : nullptr;
}

bool OutputSet::names_clash() const {
    for (std::size_t later = 1; later < entries_.size(); ++later) {
        for (std::size_t earlier = 0; earlier < later; ++earlier) {
            if (entries_[earlier].name && entries_[later].name &&
                same_name(*entries_[earlier].name, *entries_[later].name)) {
                report_clash(earlier, later);
                return true;
            }
        }
    }
    return false;
}

bool OutputSet::open_one(OutputRole role, Entry& entry, const InputFiles& inputs) {
    OutputFile& output = entry.file.emplace(static_cast<int>(slot_of(role)));
    const std::optional<fs::path> path = path_from_utf8(*entry.name);
    const OutputFile::OpenResult opened = path ? output.open(*path, inputs.identities()) : OutputFile::OPEN_FAILED;
    if (opened == OutputFile::OPEN_OK) {
        return true;
    }
    entry.file.reset();
    // If its name leads to an input, that is still the more useful message.
    if (opened == OutputFile::OPEN_SAME_AS_INPUT || (path && inputs.is_named_by(*path))) {
        print(stderr, SAME_FILE);
    } else {
        std::fprintf(stderr, CANT_OPEN_OUTPUT_FORMAT, entry.name->c_str());
    }
    return false;
}

// Judged by the open files, so that no link, hard link or descriptor name
// (/dev/stdout) hides that two outputs are one file, or that standard output
// is an input or one of them.
bool OutputSet::files_clash(const InputFiles& inputs, bool to_standard_output) const {
    const FileIdentity standard_output = to_standard_output ? identify_open_file(stdout) : FileIdentity{};
    if (to_standard_output && is_one_of(standard_output, inputs.identities())) {
        print(stderr, SAME_FILE);
        return true;
    }
    for (std::size_t later = 0; later < entries_.size(); ++later) {
        if (!entries_[later].file) {
            continue;
        }
        const FileIdentity& identity = entries_[later].file->identity();
        if (is_same_destination(identity, standard_output)) {
            report_clash(slot_of(OutputRole::OUTPUT), later);
            return true;
        }
        for (std::size_t earlier = 0; earlier < later; ++earlier) {
            if (entries_[earlier].file && is_same_destination(entries_[earlier].file->identity(), identity)) {
                report_clash(earlier, later);
                return true;
            }
        }
    }
    return false;
}

bool OutputSet::open(const InputFiles& inputs, bool to_standard_output, bool c_source) {
    if (names_clash()) {
        return false;
    }
    for (std::size_t slot = 0; slot < entries_.size(); ++slot) {
        if (entries_[slot].name && !open_one(static_cast<OutputRole>(slot), entries_[slot], inputs)) {
            abandon();
            return false;
        }
        // A C file's header goes beside it, which needs a file.
        const Entry& output = entries_[slot];
        const bool has_header = slot == slot_of(OutputRole::OUTPUT) || slot == slot_of(OutputRole::MAP);
        if (has_header && c_source && output.file && !output.file->is_regular_file()) {
            std::fprintf(stderr, C_SOURCE_NOT_A_FILE_FORMAT, output.name->c_str());
            abandon();
            return false;
        }
    }
    if (files_clash(inputs, to_standard_output)) {
        abandon();
        return false;
    }
    return true;
}

bool OutputSet::begin() {
    for (Entry& entry : entries_) {
        if (entry.file && !entry.file->begin()) {
            std::fprintf(stderr, CANT_OPEN_OUTPUT_FORMAT, entry.name->c_str());
            // Those emptied already are lost and go; the others keep theirs.
            abandon();
            return false;
        }
    }
    return true;
}

void OutputSet::abandon() {
    for (Entry& entry : entries_) {
        if (entry.file) {
            report_left_behind(entry.file->abandon());
            entry.file.reset();
        }
    }
}

ResultCode OutputSet::finish(ResultCode result) {
    for (Entry& entry : entries_) {
        if (entry.file) {
            result = entry.file->finish(result);
        }
    }
    return result;
}

// The output last: a signal between two renames leaves a new header or
// index beside the old output, each whole; a C file gives its array's length
// as a number, so the compiler refuses the pair if the header's differs.
ResultCode OutputSet::commit(ResultCode result) {
    for (std::size_t slot = entries_.size(); slot-- > 0;) {
        if (entries_[slot].file) {
            result = entries_[slot].file->commit(result);
        }
    }
    return result;
}

void OutputSet::remove_after_failure(bool stopped) {
    for (Entry& entry : entries_) {
        if (entry.file) {
            report_left_behind(entry.file->remove_after_failure(stopped));
        }
    }
}

}  // namespace venk::cli
