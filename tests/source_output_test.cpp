// The names and the text of source output. That each form compiles or
// assembles to the very bytes, with its constants, is checked with real
// compilers by source_output_check.sh.
#include "source_names.hpp"
#include "source_output.hpp"

#include <gtest/gtest.h>

#include <numeric>

namespace venk::test {
namespace {

using namespace venk::cli;

TEST(SourceNames, SymbolsFromFileNames) {
    // The symbol of an output, and the name of an input in a pack's index.
    const struct {
        const char* file;
        const char* symbol;
        const char* index_name;
    } cases[] = {
        {"gfx/sprites.c", "sprites", "sprites"},      {"Font2.s", "Font2", "Font2"},
        {"no_extension", "no_extension", "no_extension"}, {"1-up.c", "venk_1_up", "1_up"},
        {"my sheet (v2).asm", "my_sheet_v2", "my_sheet_v2"}, {"__a--b__.c", "a_b", "a_b"},
        {"sheet.tar.c", "sheet_tar", "sheet_tar"},    {"new.c", "venk_new", "new"},
        {"while.s", "venk_while", "while"},           {"SP.asm", "venk_SP", "SP"},
        {"d1.c", "venk_d1", "d1"},                    {"\xC3\xA9t\xC3\xA9.c", "t", "t"},
        {"\xC3\xA9.c", "venk", "venk"},                {"-.c", "venk", "venk"},
        {"gfx/0abcdefghijklmnopqrstuvwxyz9.c", "venk_0abcdefghijklmnopqrstuvwxyz9",
         "0abcdefghijklmnopqrstuvwxyz9"},
        {"9ABCDEFGHIJKLMNOPQRSTUVWXYZ0.s", "venk_9ABCDEFGHIJKLMNOPQRSTUVWXYZ0", "9ABCDEFGHIJKLMNOPQRSTUVWXYZ0"},
        {"a0123456789z.c", "a0123456789z", "a0123456789z"}, {"main.c", "venk_main", "main"},
        {"log.c", "venk_log", "log"},                 {"tower.c", "tower", "tower"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(symbol_from_file_name(c.file), c.symbol) << c.file;
        EXPECT_TRUE(is_usable_symbol(c.symbol)) << c.symbol;
        EXPECT_EQ(index_name_from_file_name(c.file), c.index_name) << c.file;
    }
    for (const char* name : {"", "2up", "_a", "a_", "a__b", "a-b", "a.b", "class", "static_cast", "D0", "uSp",
                             "za7", "dc", "\xC3\xA9", "main", "std", "std2", "posix", "printf", "free", "logf",
                             "fabsl", "size_t", "uint8_t", "int_least16_t", "stdin", "errno", "atomic_int",
                             "thrd_create", "wcslen"}) {
        EXPECT_FALSE(is_usable_symbol(name)) << name;
    }
    for (const char* name : {"mains", "stdx", "logo", "tower", "items", "stream", "uint8", "floorf2", "Free"}) {
        EXPECT_TRUE(is_usable_symbol(name)) << name;
    }
    // What an #include "..." holds, and the guards of the headers written.
    for (const char* name : {"a\"b.h", "a\nb.h", "a\x7F.h"}) {
        EXPECT_FALSE(can_be_included(name)) << name;
    }
#ifndef _WIN32
    EXPECT_FALSE(can_be_included("a\\b.h"));  // on Windows, b.h in the directory a
#endif
    EXPECT_TRUE(can_be_included("dir\"/it's \xC3\xA9t\xC3\xA9 (v2).h"));
    EXPECT_EQ(include_guard("venk.h"), "VENK_H_FROM_VENK");
    EXPECT_EQ(include_guard("__1-up.h"), "VENK_1_UP_H_FROM_VENK");
}

// Lines that each form must hold for 17 bytes (a full line of data and one
// more) in a pack of two sheets, one of them an image with 9 colours (a full
// line of words and one more).
TEST(SourceText, EveryFormNamesTheDataAndItsIndex) {
    std::vector<std::uint8_t> bytes(17);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0xF0});
    std::vector<std::uint16_t> colours(9);
    std::iota(colours.begin(), colours.end(), std::uint16_t{0x0EE0});
    const SourceContent content{
        bytes, "gfx", 3, "a test pack", {{"font", 0, 2}, {"hero_Walk", 2, 1}}, {{"gfx_hero_Walk_palette", colours}}};
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {source_text(SourceForm::C, content, "gfx.h"),
         {"/* a test pack, written by venk: change the tiles, not this file. */", "#include \"gfx.h\"",
          "__attribute__((aligned(2)))", "__declspec(align(2))", "alignas(2)", "_Alignas(2)",
          "const unsigned char gfx[17] = {",
          "    0xf0, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa, 0xfb,",
          "    0xfc, 0xfd, 0xfe, 0xff, 0x00,", "};", "const unsigned short gfx_hero_Walk_palette[9] = {",
          "    0x0ee0, 0x0ee1, 0x0ee2, 0x0ee3, 0x0ee4, 0x0ee5, 0x0ee6, 0x0ee7,", "    0x0ee8,"}},
        {c_header(content, "gfx.h"),
         {"#ifndef GFX_H_FROM_VENK", "#define GFX_H_FROM_VENK", "#define GFX_SIZE 17", "#define GFX_TILES 3",
          "#define GFX_FONT_FIRST 0",
          "#define GFX_FONT_TILES 2", "#define GFX_HERO_WALK_FIRST 2", "#define GFX_HERO_WALK_TILES 1",
          "#define GFX_HERO_WALK_PALETTE_COLOURS 9", "extern \"C\" {", "extern const unsigned char gfx[GFX_SIZE];",
          "extern const unsigned short gfx_hero_Walk_palette[GFX_HERO_WALK_PALETTE_COLOURS];", "#endif"}},
        {source_text(SourceForm::GNU_AS, content, ""),
         {"/* a test pack, written by venk: change the tiles, not this file. */", "\t.globl\tGFX_SIZE",
          "\t.set\tGFX_SIZE, 17", "\t.set\tGFX_TILES, 3", "\t.globl\tGFX_HERO_WALK_FIRST",
          "\t.set\tGFX_HERO_WALK_FIRST, 2", "\t.set\tGFX_HERO_WALK_TILES, 1", "\t.section .rodata", "\t.balign\t2",
          "\t.globl\tgfx", "gfx:",
          "\t.byte\t0xf0,0xf1,0xf2,0xf3,0xf4,0xf5,0xf6,0xf7,0xf8,0xf9,0xfa,0xfb,0xfc,0xfd,0xfe,0xff",
          "\t.byte\t0x00", "\t.globl\tgfx_hero_Walk_palette", "gfx_hero_Walk_palette:",
          "\t.word\t0x0ee0,0x0ee1,0x0ee2,0x0ee3,0x0ee4,0x0ee5,0x0ee6,0x0ee7", "\t.word\t0x0ee8",
          "\t.set\tGFX_HERO_WALK_PALETTE_COLOURS, 9", "\t.section .note.GNU-stack,\"\",@progbits"}},
        {source_text(SourceForm::MRI, content, ""),
         {"* a test pack, written by venk: change the tiles, not this file.", "\txdef\tGFX_SIZE", "GFX_SIZE\tequ\t17",
          "GFX_TILES\tequ\t3", "\txdef\tGFX_FONT_FIRST", "GFX_FONT_FIRST\tequ\t0", "GFX_FONT_TILES\tequ\t2",
          "\tsection\t.rodata,1,R", "\teven", "\txdef\tgfx", "gfx:",
          "\tdc.b\t$f0,$f1,$f2,$f3,$f4,$f5,$f6,$f7,$f8,$f9,$fa,$fb,$fc,$fd,$fe,$ff", "\tdc.b\t$00",
          "\txdef\tgfx_hero_Walk_palette", "gfx_hero_Walk_palette:", "\tdc.w\t$0ee8",
          "GFX_HERO_WALK_PALETTE_COLOURS\tequ\t9",
          "\tsection\t\".note.GNU-stack\""}},
    };
    for (const auto& c : cases) {
        for (const std::string& line : c.lines) {
            EXPECT_NE(("\n" + c.text).find("\n" + line + "\n"), std::string::npos) << line << " in\n" << c.text;
        }
    }
}

}  // namespace
}  // namespace venk::test
