#include "image_options.hpp"

#include "messages.hpp"
#include "platform.hpp"
#include "print.hpp"
#include "source_names.hpp"
#include "source_output.hpp"

#include <algorithm>
#include <charconv>

namespace venk::cli {
namespace {

void report(CommandLine& line, const char* format, const std::string& value) {
    std::fprintf(stderr, format, value.c_str());
    line.error_seen = true;
}

// A whole decimal number from `lowest` to `highest`, or nothing.
std::optional<unsigned> number_in(std::string_view text, unsigned lowest, unsigned highest) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

// "WxH", each from 1 to 4 tiles.
std::optional<ImageCells> cells_of(std::string_view text) {
    const std::size_t by = text.find('x');
    if (by == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<unsigned> width = number_in(text.substr(0, by), 1, 4);
    const std::optional<unsigned> height = number_in(text.substr(by + 1), 1, 4);
    if (!width || !height) {
        return std::nullopt;
    }
    return ImageCells{static_cast<std::uint8_t>(*width), static_cast<std::uint8_t>(*height)};
}

// An option given twice or without its value; true if it was.
bool report_misuse(CommandLine& line, const ValuedOption& option, const char* name) {
    if (option.given_twice) {
        report(line, OPTION_GIVEN_TWICE_FORMAT, name);
    } else if (option.without_value) {
        report(line, OPTION_NEEDS_VALUE_FORMAT, *option.without_value);
    }
    return option.given_twice || option.without_value;
}

std::size_t image_inputs(const CommandLine& line) {
    return static_cast<std::size_t>(std::count_if(line.names.begin(), line.names.end() - 1,
                                                  [](const std::string& name) { return is_image_name(name); }));
}

// A map file in source form: a C file's header goes beside it, and its
// array, NAME_map, must not take the output's name (in any case, as
// assemblers may not tell cases apart).
void report_map_source_errors(CommandLine& line) {
    const std::optional<std::filesystem::path> name = path_from_utf8(*line.map.value);
    const std::string array = symbol_from_file_name(name.value_or("")) + "_map";
    const std::string output_symbol =
        line.symbol.value.value_or(symbol_from_file_name(path_from_utf8(line.names.back()).value_or("")));
    if (line.source == SourceChoice::C && name && is_header_name(*name)) {
        report(line, C_SOURCE_NAMED_AS_HEADER_FORMAT, *line.map.value);
    } else if (line.source == SourceChoice::C && name && !can_be_included(header_beside(*name))) {
        report(line, HEADER_CANT_BE_INCLUDED_FORMAT, *line.map.value);
    } else if (upper_case(array) == upper_case(output_symbol)) {
        report(line, MAP_ARRAY_CLASH_FORMAT, array);
    }
}

// A tile map is made of one image, not of a pack, of tiles cut in reading
// order; its file takes the language of source output.
void report_map_usage_errors(CommandLine& line, std::size_t images) {
    const bool map = !report_misuse(line, line.map, "--map") && line.map.value;
    if (map && *line.map.value == STANDARD_STREAM_NAME) {
        print(stderr, MAP_TO_STANDARD_OUTPUT);
        line.error_seen = true;
    } else if (map && line.action == ActionChoice::DECOMPRESS) {
        report(line, OPTION_WHEN_DECOMPRESSING_FORMAT, "--map");
    } else if (map && line.pack_requested) {
        report(line, MAP_OF_A_PACK_FORMAT, "--map");
    } else if (map && images == 0) {
        report(line, NEEDS_IMAGE_INPUT_FORMAT, "--map");
    } else if (map && line.sprite.value) {
        report(line, MAP_OF_SPRITES_FORMAT, "--map");
    } else if (map && line.source != SourceChoice::NONE) {
        report_map_source_errors(line);
    }
    if (!report_misuse(line, line.base, "--base") && line.base.value) {
        if (!number_in(*line.base.value, 0, 2047)) {
            report(line, BAD_BASE_FORMAT, *line.base.value);
        } else if (!line.map.value) {
            report(line, NEEDS_MAP_FORMAT, "--base");
        }
    }
    if (line.no_flip_requested && !line.map.value) {
        report(line, NEEDS_MAP_FORMAT, "--no-flip");
    }
}

}  // namespace

bool writes_picture(const CommandLine& line) {
    return line.action == ActionChoice::DECOMPRESS && !line.names.empty() && is_image_name(line.names.back());
}

void report_image_usage_errors(CommandLine& line) {
    const bool picture = writes_picture(line);
    const std::size_t images = line.action == ActionChoice::DECOMPRESS ? 0 : image_inputs(line);
    if (line.action == ActionChoice::DECOMPRESS && is_image_name(line.names.front())) {
        report(line, DECOMPRESSING_AN_IMAGE_FORMAT, line.names.front());
    }
    if (!picture && line.action != ActionChoice::DECOMPRESS && is_image_name(line.names.back())) {
        report(line, PICTURE_NEEDS_DECOMPRESSION_FORMAT, line.names.back());
    }
    if (picture && (line.source != SourceChoice::NONE || line.index.value)) {
        report(line, PICTURE_AS_SOURCE_FORMAT, line.names.back());
    }
    if (!report_misuse(line, line.sprite, "--sprite") && line.sprite.value) {
        if (!cells_of(*line.sprite.value)) {
            report(line, BAD_SPRITE_FORMAT, *line.sprite.value);
        } else if (images == 0) {
            report(line, NEEDS_IMAGE_INPUT_FORMAT, "--sprite");
        }
    }
    if (!report_misuse(line, line.palette, "--palette") && line.palette.value) {
        if (*line.palette.value == STANDARD_STREAM_NAME) {
            print(stderr, PALETTE_TO_STANDARD_OUTPUT);
            line.error_seen = true;
        } else if (images != 1) {
            report(line, images == 0 ? NEEDS_IMAGE_INPUT_FORMAT : PALETTE_OF_SEVERAL_IMAGES_FORMAT, "--palette");
        }
    }
    if (!report_misuse(line, line.columns, "--columns") && line.columns.value) {
        if (!number_in(*line.columns.value, 1, 65535)) {
            report(line, BAD_COLUMNS_FORMAT, *line.columns.value);
        } else if (!picture) {
            report(line, NEEDS_PICTURE_OUTPUT_FORMAT, "--columns");
        }
    }
    if (!report_misuse(line, line.colours, "--colours") && line.colours.value && !picture) {
        report(line, NEEDS_PICTURE_OUTPUT_FORMAT, "--colours");
    }
    report_map_usage_errors(line, images);
}

ImageRequest image_request(const CommandLine& line) {
    ImageRequest request;
    request.cells = cells_of(line.sprite.value.value_or("1x1")).value_or(ImageCells{});
    request.palette_name = line.palette.value;
    request.picture = writes_picture(line);
    request.columns = number_in(line.columns.value.value_or("16"), 1, 65535).value_or(16);
    request.colours_name = line.colours.value;
    request.map_name = line.map.value;
    request.map.match_flips = !line.no_flip_requested;
    request.map.base = static_cast<std::uint16_t>(number_in(line.base.value.value_or("0"), 0, 2047).value_or(0));
    return request;
}

}  // namespace venk::cli
