#include "source_output.hpp"

#include "palette_source.hpp"
#include "source_names.hpp"

#include <cctype>

namespace venk::cli {
namespace {

struct Constant {
    std::string name;
    std::size_t value;
};

// The constants of the data, whose size is `size` bytes.
std::vector<Constant> constants(const SourceContent& content, std::size_t size) {
    const std::string prefix = upper_case(content.symbol) + "_";
    std::vector<Constant> list = {{prefix + "SIZE", size}, {prefix + "TILES", content.tiles}};
    for (const IndexEntry& entry : content.index) {
        list.push_back({prefix + upper_case(entry.name) + "_FIRST", entry.first_tile});
        list.push_back({prefix + upper_case(entry.name) + "_TILES", entry.tile_count});
    }
    for (const NamedPalette& palette : content.palettes) {
        list.push_back({upper_case(palette.symbol) + "_COLOURS", palette.words.size()});
    }
    return list;
}

// How one form writes its bytes: each line is `start`, then up to `per_line`
// numbers, each `prefix` and two hex digits and `suffix`, joined by
// `separator`.
struct ByteLines {
    std::string_view start;
    std::size_t per_line;
    std::string_view prefix;
    std::string_view suffix;
    std::string_view separator;
};

std::string byte_lines(std::span<const std::uint8_t> bytes, const ByteLines& style) {
    static constexpr std::string_view DIGITS = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text += i % style.per_line == 0 ? style.start : style.separator;
        text += style.prefix;
        text += DIGITS[bytes[i] >> 4];
        text += DIGITS[bytes[i] & 0xF];
        text += style.suffix;
        if (i % style.per_line == style.per_line - 1 || i + 1 == bytes.size()) {
            text += '\n';
        }
    }
    return text;
}

std::string opening_line(std::string_view comment, const SourceContent& content, std::string_view close = "") {
    return std::string(comment) + " " + content.description + ", written by venk: change the tiles, not this file." +
           std::string(close) + "\n";
}

std::string c_source(const SourceContent& content, std::string_view header_file_name) {
    const std::string size = std::to_string(content.bytes.size());
    return opening_line("/*", content, " */") + "#include \"" + std::string(header_file_name) + "\"\n\n" +
           "/* At an even address, as the 68000 decoder needs it. */\n"
           "#if defined(__GNUC__)\n"
           "__attribute__((aligned(2)))\n"
           "#elif defined(_MSC_VER)\n"
           "__declspec(align(2))\n"
           "#elif defined(__cplusplus) && __cplusplus >= 201103L\n"
           "alignas(2)\n"
           "#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L\n"
           "_Alignas(2)\n"
           "#endif\n"
           "const unsigned char " + content.symbol + "[" + size + "] = {\n" +
           byte_lines(content.bytes, {"    ", 12, "0x", ",", " "}) + "};\n" + palette_definitions(SourceForm::C, content);
}

// What tells the two assembler syntaxes apart.
struct AssemblySyntax {
    std::string_view comment;        // opens the first line's comment
    std::string_view comment_close;  // and closes it
    std::string_view export_directive;  // followed by a symbol
    std::string (*definition)(const Constant& constant);
    std::string_view section;  // opens read-only data at an even address
    ByteLines data;
    std::string_view stack_note;  // marks the object as needing no executable stack
};

// GNU as reads `|` as a comment only without --bitwise-or, and `#` only at
// the start of a line, where `# 12` would be a line number: C comments are
// comments in every mode.
constexpr AssemblySyntax GNU_AS_SYNTAX = {
    "/*",
    " */",
    "\t.globl\t",
    [](const Constant& constant) { return "\t.set\t" + constant.name + ", " + std::to_string(constant.value); },
    "\t.section .rodata\n\t.balign\t2\n",
    {"\t.byte\t", 16, "0x", "", ","},
    "\n\t.section .note.GNU-stack,\"\",@progbits\n",
};

// In MRI mode a bare `section .rodata` is writable data: the third field R
// makes it read-only (the second is its alignment, as a power of 2). A
// section name with a dash must be quoted.
constexpr AssemblySyntax MRI_SYNTAX = {
    "*",
    "",
    "\txdef\t",
    [](const Constant& constant) { return constant.name + "\tequ\t" + std::to_string(constant.value); },
    "\tsection\t.rodata,1,R\n\teven\n",
    {"\tdc.b\t", 16, "$", "", ","},
    "\n\tsection\t\".note.GNU-stack\"\n",
};

std::string assembly_source(const AssemblySyntax& syntax, const SourceContent& content, SourceForm form) {
    const std::string export_directive(syntax.export_directive);
    std::string text = opening_line(syntax.comment, content, syntax.comment_close);
    for (const Constant& constant : constants(content, content.bytes.size())) {
        text += export_directive + constant.name + "\n" + syntax.definition(constant) + "\n";
    }
    return text + "\n" + std::string(syntax.section) + export_directive + content.symbol + "\n" + content.symbol +
           ":\n" + byte_lines(content.bytes, syntax.data) + palette_definitions(form, content) +
           std::string(syntax.stack_note);
}

// A C header's opening comment and include guard (from its file name), then
// its constants as macros, for data of `size` bytes.
std::string c_header_start(const SourceContent& content, std::size_t size, std::string_view file_name) {
    const std::string guard = include_guard(file_name);
    std::string text = opening_line("/*", content, " */") + "#ifndef " + guard + "\n#define " + guard + "\n\n";
    for (const Constant& constant : constants(content, size)) {
        text += "#define " + constant.name + " " + std::to_string(constant.value) + "\n";
    }
    return text;
}

// The array's declaration, for C and C++.
std::string array_declaration(const SourceContent& content) {
    return "\n#ifdef __cplusplus\nextern \"C\" {\n#endif\nextern const unsigned char " + content.symbol + "[" +
           upper_case(content.symbol) + "_SIZE];\n" + palette_declarations(content) + "#ifdef __cplusplus\n}\n#endif\n";
}

}  // namespace

std::string upper_case(std::string_view name) {
    std::string upper(name);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

std::string source_text(SourceForm form, const SourceContent& content, std::string_view header_file_name) {
    switch (form) {
    case SourceForm::C:
        return c_source(content, header_file_name);
    case SourceForm::GNU_AS:
        return assembly_source(GNU_AS_SYNTAX, content, form);
    case SourceForm::MRI:
        break;
    }
    return assembly_source(MRI_SYNTAX, content, SourceForm::MRI);
}

std::string index_text(SourceForm form, const SourceContent& content, std::size_t size, bool declares_array,
                       std::string_view file_name) {
    if (form == SourceForm::C) {
        return c_header_start(content, size, file_name) + (declares_array ? array_declaration(content) : "") +
               "\n#endif\n";
    }
    // Equates without .globl or xdef: every source file that includes them
    // has its own, and none defines a symbol that another could clash with.
    const AssemblySyntax& syntax = form == SourceForm::GNU_AS ? GNU_AS_SYNTAX : MRI_SYNTAX;
    std::string text = opening_line(syntax.comment, content, syntax.comment_close);
    for (const Constant& constant : constants(content, size)) {
        text += syntax.definition(constant) + "\n";
    }
    return text;
}

std::string c_header(const SourceContent& content, std::string_view file_name) {
    return c_header_start(content, content.bytes.size(), file_name) + array_declaration(content) + "\n#endif\n";
}

}  // namespace venk::cli
