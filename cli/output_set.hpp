// The files one run writes besides standard output: its output, a C
// output's header, an index file, a palette file, and a tile map with, in C,
// its header. They are opened together, and none is
// changed until all are open and none is an input or another of them; they
// are put in place together once all are written.
#pragma once

#include "input_files.hpp"
#include "output_file.hpp"

#include <array>
#include <optional>
#include <string>

namespace venk::cli {

// A background's tile map and, in C, its header come last: each file is put
// in place after those of later roles.
enum class OutputRole : std::uint8_t { OUTPUT, HEADER, INDEX, PALETTE, MAP, MAP_HEADER };
inline constexpr std::size_t OUTPUT_ROLES = 6;

class OutputSet {
public:
    // Names the file written in `role`; each role at most once.
    void add(OutputRole role, std::string name);

    // Opens every named file without changing it. Refuses, with a message, a
    // file that is one of the inputs, or that is another file of the set or,
    // when `to_standard_output`, standard output, by name or by the open
    // files, whatever names or descriptors lead to them. With `c_source`,
    // refuses an output or map file that is no regular file, as its header
    // goes beside it. False after any failure, with every file as it was.
    bool open(const InputFiles& inputs, bool to_standard_output, bool c_source);

    // Empties the files written in place, once all are open and the run is
    // sure to write them; false, with a message, if one could not be, after
    // giving up the rest.
    bool begin();

    // The open file in `role`, or nullptr if the run writes none.
    OutputFile* file(OutputRole role);

    // Gives every open file up before anything was written: each keeps its
    // old contents (see OutputFile::abandon). Reports a name left behind.
    void abandon();

    // Flushes and closes every file after a run that ended with `result`,
    // then puts them in place if all went well; returns the first failure.
    // In two steps for a run whose standard output is written between them.
    ResultCode finish(ResultCode result);
    ResultCode commit(ResultCode result);

    // After a failed or stopped run: removes what the run wrote, reporting a
    // name left behind (see OutputFile::remove_after_failure).
    void remove_after_failure(bool stopped);

private:
    struct Entry {
        std::optional<std::string> name;
        std::optional<OutputFile> file;
    };
    bool names_clash() const;
    bool open_one(OutputRole role, Entry& entry, const InputFiles& inputs);
    bool files_clash(const InputFiles& inputs, bool to_standard_output) const;

    std::array<Entry, OUTPUT_ROLES> entries_;  // by OutputRole; the guard slot of each is its role
};

// Reports a file that could not be deleted after a failure, if any.
void report_left_behind(const std::optional<std::filesystem::path>& left_behind);

}  // namespace venk::cli
