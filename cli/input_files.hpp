// The inputs of a run, open for reading: one file, standard input ("-"), or
// the several files of a pack; each a blob or an image.
#pragma once

#include "file_streams.hpp"
#include "image_input.hpp"
#include "platform.hpp"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace venk::cli {

class InputFiles {
public:
    InputFiles() = default;
    InputFiles(const InputFiles&) = delete;
    InputFiles& operator=(const InputFiles&) = delete;
    ~InputFiles() { close(); }

    // Opens each name in order, "-" as standard input, and checks that it can
    // be read at all (a directory cannot). At the first that fails, says why
    // on standard error, naming the input in a pack, and returns false. The
    // inputs of a pack are closed again and each is opened when the codec
    // comes to it, so that a pack holds one open input at a time. An input
    // named like an image (see is_image_name) is read as one, as `reading`
    // says, and closed.
    bool open(const std::vector<std::string>& names, bool pack, const ImageReading& reading = {});

    // Closes every input but standard input.
    void close();

    std::span<InputStream* const> streams() const { return streams_; }
    std::size_t bytes_read(std::size_t input) const { return files_[input]->bytes_read(); }
    // An image input's palette; none for a blob.
    std::span<const std::uint16_t> palette(std::size_t input) const { return files_[input]->palette(); }
    // An image input's tile map, if it was made a background.
    const CellMap* map(std::size_t input) const { return files_[input]->map(); }

    // Which files they are, for an output to be refused if it is one of them.
    const std::vector<FileIdentity>& identities() const { return identities_; }

    // Whether `name` leads to one of the inputs by its name; only for
    // choosing the message when the output cannot even be opened.
    bool is_named_by(const std::filesystem::path& name) const;

private:
    std::vector<std::FILE*> open_files_;  // to close; standard input is not among them
    std::vector<std::unique_ptr<Input>> files_;
    std::vector<InputStream*> streams_;
    std::vector<FileIdentity> identities_;
    std::vector<std::filesystem::path> paths_;
};

}  // namespace venk::cli
