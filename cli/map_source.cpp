#include "map_source.hpp"

#include "palette_source.hpp"
#include "source_names.hpp"

#include <array>

namespace venk::cli {
namespace {

std::string opening_text(const CellMap& map) {
    return "Tile map of " + std::to_string(map.width) + " x " + std::to_string(map.height) +
           " cells, written by venk: change the image, not this file.";
}

struct Constant {
    std::string name;
    std::uint32_t value;
};

std::array<Constant, 2> constants(const std::string& name, const CellMap& map) {
    const std::string prefix = upper_case(name) + "_MAP_";
    return {{{prefix + "WIDTH", map.width}, {prefix + "HEIGHT", map.height}}};
}

std::string c_source(const std::string& name, const CellMap& map, std::string_view header_file_name) {
    return "/* " + opening_text(map) + " */\n#include \"" + std::string(header_file_name) + "\"\n" +
           word_array_definition(SourceForm::C, name + "_map", map.words);
}

// The constants are exported, as those of a stream are; the array is
// read-only data at an even address.
std::string assembly_source(SourceForm form, const std::string& name, const CellMap& map) {
    const bool gnu = form == SourceForm::GNU_AS;
    std::string text = gnu ? "/* " + opening_text(map) + " */\n" : "* " + opening_text(map) + "\n";
    for (const Constant& constant : constants(name, map)) {
        const std::string value = std::to_string(constant.value);
        text += gnu ? "\t.globl\t" + constant.name + "\n\t.set\t" + constant.name + ", " + value + "\n"
                    : "\txdef\t" + constant.name + "\n" + constant.name + "\tequ\t" + value + "\n";
    }
    text += gnu ? "\n\t.section .rodata\n" : "\n\tsection\t.rodata,1,R\n";
    text += word_array_definition(form, name + "_map", map.words);
    return text + (gnu ? "\n\t.section .note.GNU-stack,\"\",@progbits\n" : "\n\tsection\t\".note.GNU-stack\"\n");
}

}  // namespace

std::string map_source_text(SourceForm form, const std::string& name, const CellMap& map,
                            std::string_view header_file_name) {
    return form == SourceForm::C ? c_source(name, map, header_file_name) : assembly_source(form, name, map);
}

std::string map_c_header(const std::string& name, const CellMap& map, std::string_view file_name) {
    const std::string guard = include_guard(file_name);
    const std::array<Constant, 2> sizes = constants(name, map);
    std::string text = "/* " + opening_text(map) + " */\n#ifndef " + guard + "\n#define " + guard + "\n\n";
    for (const Constant& constant : sizes) {
        text += "#define " + constant.name + " " + std::to_string(constant.value) + "\n";
    }
    return text + "\n#ifdef __cplusplus\nextern \"C\" {\n#endif\nextern const unsigned short " + name + "_map[" +
           sizes[0].name + " * " + sizes[1].name + "];\n#ifdef __cplusplus\n}\n#endif\n\n#endif\n";
}

}  // namespace venk::cli
