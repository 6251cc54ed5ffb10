#include "source_names.hpp"

#include <algorithm>
#include <cctype>

namespace venk::cli {
namespace {

// The keywords of C23 and C++20 that are spelt like plain identifiers.
constexpr std::string_view KEYWORDS[] = {
    "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break", "case", "catch",
    "char", "char16_t", "char32_t", "char8_t", "class", "co_await", "co_return", "co_yield", "compl", "concept",
    "const", "const_cast", "consteval", "constexpr", "constinit", "continue", "decltype", "default", "delete", "do",
    "double", "dynamic_cast", "else", "enum", "explicit", "export", "extern", "false", "float", "for", "friend",
    "goto", "if", "inline", "int", "long", "mutable", "namespace", "new", "noexcept", "not", "not_eq", "nullptr",
    "operator", "or", "or_eq", "private", "protected", "public", "register", "reinterpret_cast", "requires",
    "restrict", "return", "short", "signed", "sizeof", "static", "static_assert", "static_cast", "struct",
    "switch", "template", "this", "thread_local", "throw", "true", "try", "typedef", "typeid", "typename",
    "typeof", "typeof_unqual", "union", "unsigned", "using", "virtual", "void", "volatile", "wchar_t", "while",
    "xor", "xor_eq",
};

// What GNU as in MRI mode (as -M) refuses as a label, in any case: the
// registers of the whole 68000 family, CPU32 and ColdFire, and a few names
// of cache and FPU operands, as measured on binutils 2.40 with -m68000.
constexpr std::string_view REGISTERS[] = {
    "a0", "a0l", "a0u", "a1", "a1l", "a1u", "a2", "a2l", "a2u", "a3", "a3l", "a3u", "a4", "a4l", "a4u", "a5",
    "a5l", "a5u", "a6", "a6l", "a6u", "a7", "a7l", "a7u", "ac", "ac0", "ac1", "acc", "acc0", "acc1", "acc2",
    "acc3", "accext01", "accext23", "acr0", "acr1", "acr2", "acr3", "acr4", "acr5", "acr6", "acr7", "acusr",
    "asid", "bac0", "bac1", "bac2", "bac3", "bac4", "bac5", "bac6", "bac7", "bad0", "bad1", "bad2", "bad3",
    "bad4", "bad5", "bad6", "bad7", "bc", "buscr", "caar", "cac", "cacr", "cal", "cc", "ccr", "control", "cop0",
    "cop1", "cop2", "cop3", "cop4", "cop5", "cop6", "cop7", "cpucr", "crp", "d0", "d0l", "d0u", "d1", "d1l",
    "d1u", "d2", "d2l", "d2u", "d3", "d3l", "d3u", "d4", "d4l", "d4u", "d5", "d5l", "d5u", "d6", "d6l", "d6u",
    "d7", "d7l", "d7u", "dacr0", "dacr1", "dc", "dfc", "dfcr", "drp", "dtt0", "dtt1", "edrambar", "flashbar",
    "fp", "fp0", "fp1", "fp2", "fp3", "fp4", "fp5", "fp6", "fp7", "fpc", "fpcr", "fpi", "fpiar", "fps", "fpsr",
    "iacr0", "iacr1", "iaddr", "ic", "isp", "itt0", "itt1", "macsr", "mask", "mbar2", "mbb", "mbo", "mmubar",
    "mmusr", "mpcr", "msp", "nc", "pc", "pcr", "pcr1l0", "pcr1l1", "pcr1u0", "pcr1u1", "pcr2l0", "pcr2l1",
    "pcr2u0", "pcr2u1", "pcr3l0", "pcr3l1", "pcr3u0", "pcr3u1", "pcsr", "psr", "rambar0", "rambar1", "rgpiobar",
    "rombar", "rombar0", "rombar1", "scc", "secmbar", "sfc", "sfcr", "sp", "sr", "srp", "ssp", "status", "tc",
    "tcr", "tt0", "tt1", "urp", "usp", "val", "vbr", "za0", "za1", "za2", "za3", "za4", "za5", "za6", "za7",
    "zd0", "zd1", "zd2", "zd3", "zd4", "zd5", "zd6", "zd7", "zpc",
};
static_assert(std::ranges::is_sorted(REGISTERS), "is_register searches the list by halves");

bool is_ascii_letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool is_ascii_alphanumeric(char c) {
    return is_ascii_letter(c) || (c >= '0' && c <= '9');
}

bool is_keyword(std::string_view name) {
    return std::ranges::find(KEYWORDS, name) != std::ranges::end(KEYWORDS);
}

bool is_register(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return std::ranges::binary_search(REGISTERS, std::string_view(lower));
}

}  // namespace

bool is_usable_symbol(std::string_view name) {
    if (name.empty() || !is_ascii_letter(name.front()) || name.back() == '_' ||
        name.find("__") != std::string_view::npos) {
        return false;
    }
    const bool plain = std::ranges::all_of(name, [](char c) { return is_ascii_alphanumeric(c) || c == '_'; });
    return plain && !is_keyword(name) && !is_register(name);
}

std::string index_name_from_file_name(const std::filesystem::path& input) {
    const std::u8string stem = input.stem().u8string();
    std::string name;
    for (const char8_t unit : stem) {
        const char c = static_cast<char>(unit);
        if (is_ascii_alphanumeric(c)) {
            name += c;
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
    }
    if (!name.empty() && name.back() == '_') {
        name.pop_back();
    }
    return name.empty() ? "venk" : name;
}

std::string symbol_from_file_name(const std::filesystem::path& output) {
    const std::string symbol = index_name_from_file_name(output);
    return is_usable_symbol(symbol) ? symbol : "venk_" + symbol;
}

std::filesystem::path header_beside(const std::filesystem::path& output) {
    return std::filesystem::path(output).replace_extension(".h");
}

bool is_header_name(const std::filesystem::path& output) {
    const std::filesystem::path extension = output.extension();
    return extension == ".h" || extension == ".H";
}

}  // namespace venk::cli
