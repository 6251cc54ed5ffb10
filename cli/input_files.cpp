#include "input_files.hpp"

#include "messages.hpp"

namespace venk::cli {

bool InputFiles::open(const std::vector<std::string>& names, bool pack, const ImageReading& reading) {
    for (const std::string& name : names) {
        std::FILE* file = stdin;
        if (name != STANDARD_STREAM_NAME) {
            // A name that cannot become a path is one that cannot be opened.
            const std::optional<std::filesystem::path> path = path_from_utf8(name);
            file = path ? open_binary_file(*path, "rb") : nullptr;
            if (file == nullptr) {
                std::fprintf(stderr, CANT_OPEN_INPUT_FORMAT, name.c_str());
                return false;
            }
            open_files_.push_back(file);
            paths_.push_back(*path);
        }
        // An input that cannot be read, such as a directory, fails before
        // the output is touched.
        if (!can_be_read(file)) {
            const char* message = venk::result_message(RESULT_READ_ERROR);
            if (pack) {
                std::fprintf(stderr, PACK_INPUT_RESULT_FORMAT, message, name.c_str());
            } else {
                std::fprintf(stderr, RESULT_FORMAT, message);
            }
            return false;
        }
        identities_.push_back(identify_open_file(file));
        // An image is read whole now, so that a bad one touches no output.
        if (file != stdin && is_image_name(name)) {
            auto image = std::make_unique<ImageInput>();
            const bool read = image->read(file, name, reading);
            std::fclose(file);
            open_files_.pop_back();
            if (!read) {
                return false;
            }
            files_.push_back(std::move(image));
            streams_.push_back(files_.back().get());
            continue;
        }
        // A pack's input is opened again when its turn comes, so that no pack
        // runs out of descriptors; one file is read as it was checked, and so
        // is a pipe, whose bytes cannot be read twice.
        if (pack && identities_.back().regular) {
            std::fclose(file);
            open_files_.pop_back();
            files_.push_back(std::make_unique<FileInputStream>(paths_.back(), identities_.back()));
        } else {
            files_.push_back(std::make_unique<FileInputStream>(file));
        }
        streams_.push_back(files_.back().get());
    }
    return true;
}

void InputFiles::close() {
    for (std::FILE* file : open_files_) {
        std::fclose(file);
    }
    open_files_.clear();
}

bool InputFiles::is_named_by(const std::filesystem::path& name) const {
    for (const std::filesystem::path& path : paths_) {
        if (is_same_regular_file(path, name)) {
            return true;
        }
    }
    return false;
}

}  // namespace venk::cli
