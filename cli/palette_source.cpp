#include "palette_source.hpp"

namespace venk::cli {
namespace {

// One palette's words, eight a line, each `prefix` and four hex digits,
// every line after `start`.
std::string word_lines(std::span<const std::uint16_t> words, std::string_view start, std::string_view prefix,
                       std::string_view separator, std::string_view last_separator) {
    static constexpr std::string_view DIGITS = "0123456789abcdef";
    constexpr std::size_t PER_LINE = 8;
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        text += i % PER_LINE == 0 ? start : separator;
        text += prefix;
        for (int shift = 12; shift >= 0; shift -= 4) {
            text += DIGITS[words[i] >> shift & 0xF];
        }
        if (i % PER_LINE == PER_LINE - 1 || i + 1 == words.size()) {
            text += last_separator;
            text += '\n';
        }
    }
    return text;
}

}  // namespace

std::string word_array_definition(SourceForm form, const std::string& symbol, std::span<const std::uint16_t> words) {
    if (form == SourceForm::C) {
        return "\nconst unsigned short " + symbol + "[" + std::to_string(words.size()) + "] = {\n" +
               word_lines(words, "    ", "0x", ", ", ",") + "};\n";
    }
    const bool gnu = form == SourceForm::GNU_AS;
    return (gnu ? "\t.balign\t2\n\t.globl\t" : "\teven\n\txdef\t") + symbol + "\n" + symbol + ":\n" +
           word_lines(words, gnu ? "\t.word\t" : "\tdc.w\t", gnu ? "0x" : "$", ",", "");
}

std::string palette_definitions(SourceForm form, const SourceContent& content) {
    std::string text;
    for (const NamedPalette& palette : content.palettes) {
        text += word_array_definition(form, palette.symbol, palette.words);
    }
    return text;
}

std::string palette_declarations(const SourceContent& content) {
    std::string text;
    for (const NamedPalette& palette : content.palettes) {
        text += "extern const unsigned short " + palette.symbol + "[" + upper_case(palette.symbol) + "_COLOURS];\n";
    }
    return text;
}

}  // namespace venk::cli
