#include "picture_output.hpp"

#include "image_input.hpp"
#include "messages.hpp"
#include "platform.hpp"

#ifdef VENK_CLI_IMAGES
#include <venk/image.hpp>
#endif

namespace venk::cli {
namespace {

// Four lines of sixteen colours: as many as a picture can be drawn with.
constexpr std::size_t MOST_COLOURS = 64;

// The palette of the file `file`, named `name`, of big-endian words.
bool read_colour_words(std::FILE* file, const std::string& name, std::vector<std::uint16_t>& words) {
    std::uint8_t bytes[2 * MOST_COLOURS + 1];
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, file);
    if (std::ferror(file) != 0 || got == 0 || got % 2 != 0 || got > 2 * MOST_COLOURS) {
        std::fprintf(stderr, BAD_COLOURS_FILE_FORMAT, name.c_str());
        return false;
    }
    for (std::size_t i = 0; i < got; i += 2) {
        words.push_back(static_cast<std::uint16_t>(bytes[i] << 8 | bytes[i + 1]));
    }
    return true;
}

}  // namespace

bool can_handle_images(const std::string& name) {
#ifdef VENK_CLI_IMAGES
    static_cast<void>(name);
    return true;
#else
    std::fprintf(stderr, IMAGE_SUPPORT_MISSING_FORMAT, name.c_str());
    return false;
#endif
}

bool read_colours(const std::string& name, std::vector<std::uint16_t>& words) {
    const std::optional<std::filesystem::path> path = path_from_utf8(name);
    std::FILE* file = path ? open_binary_file(*path, "rb") : nullptr;
    if (file == nullptr) {
        std::fprintf(stderr, CANT_OPEN_INPUT_FORMAT, name.c_str());
        return false;
    }
    bool read = false;
    if (is_image_name(name)) {
        ImageInput image;
        read = can_handle_images(name) && image.read(file, name, {});
        words.assign(image.palette().begin(), image.palette().end());
    } else {
        read = read_colour_words(file, name, words);
    }
    std::fclose(file);
    return read;
}

ResultCode picture_of(std::span<const std::uint8_t> tiles, std::uint32_t columns,
                      std::span<const std::uint16_t> colours, std::vector<std::uint8_t>& png) {
#ifdef VENK_CLI_IMAGES
    PictureOptions options;
    options.columns = columns;
    options.palette = colours.first(std::min(colours.size(), MOST_COLOURS));
    const ImageResult result = write_png(tiles, png, options);
    if (result == IMAGE_OUT_OF_MEMORY) {
        return RESULT_OUT_OF_MEMORY;
    }
    return result == IMAGE_OK ? RESULT_OK : RESULT_NO_TILES;
#else
    static_cast<void>(tiles);
    static_cast<void>(columns);
    static_cast<void>(colours);
    static_cast<void>(png);
    return RESULT_INVALID_OPTIONS;
#endif
}

std::string palette_file_bytes(std::span<const std::uint16_t> words) {
    std::string bytes;
    for (const std::uint16_t word : words) {
        bytes += static_cast<char>(word >> 8);
        bytes += static_cast<char>(word & 0xFF);
    }
    return bytes;
}

}  // namespace venk::cli
