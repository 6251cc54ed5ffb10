#!/usr/bin/env bash
# Source output built as a game's build would build it: every form the tool
# writes, compressed (both variants, both levels) and expanded, is compiled
# as C99 and C++ on the host and for the 68000, or assembled by GNU as and in
# MRI mode, each in the modes games build with, and must hold the very bytes
# of the binary output of the same run, at an even address in read-only data,
# with its size and tile count as constants, and link with a C object without
# a warning (such as an executable stack or a writable code segment). The C
# array is read back by a C program linked with the C and the C++ object; the
# 68000 objects are read with objcopy and nm. A pack of two sheets is
# checked the same way, with the constants of its index, and so are its index
# files, each included by two sources that link together.
#
# Usage: source_output_check.sh VENK TILES WORK_DIR
# Exits with 77 (skipped) when a compiler or the m68k cross tools are
# missing, unless VENK_REQUIRE_CROSS_TOOLS is set, as in CI.
set -euo pipefail
venk=$1 tiles=$2 work=$3

source "$(dirname "${BASH_SOURCE[0]}")/require_tools.sh"
library_include=$(cd "$(dirname "${BASH_SOURCE[0]}")/../codec/include" && pwd)
require_tools cc c++ m68k-linux-gnu-gcc m68k-linux-gnu-as m68k-linux-gnu-objcopy m68k-linux-gnu-objdump \
  m68k-linux-gnu-nm m68k-linux-gnu-ld
warnings=(-Wall -Wextra -pedantic -Werror)
# The modes of GNU as that games build with: plain, and with the options
# common in homebrew builds, under which `|` is an operator, not a comment.
gas_modes=("" "--register-prefix-optional --bitwise-or")
mri_modes=("-M" "-M --bitwise-or")
rm -rf "$work"
mkdir -p "$work"
cd "$work"
echo 'int main(void) { return 0; }' >game.c
m68k-linux-gnu-gcc -std=c99 "${warnings[@]}" -O2 -m68000 -c game.c -o game.o

# The .rodata of a 68000 object: the same bytes as `expected`, aligned to 2 or
# more, read-only, and the symbols of the list "NAME=VALUE ..." (the array at
# 0); and the object links with a compiled C one, with warnings as errors.
check_object() {
  local object=$1 expected=$2 symbol=$3
  shift 3
  m68k-linux-gnu-objcopy -O binary -j .rodata "$object" "$object.bin"
  cmp "$expected" "$object.bin" || fail "$object: other bytes than $expected"
  local alignment flags
  alignment=$(m68k-linux-gnu-objdump -h "$object" | awk '$2 == ".rodata" { print $7 }')
  [[ $alignment =~ ^2\*\*[1-9]$ ]] || fail "$object: .rodata aligned to $alignment"
  flags=$(m68k-linux-gnu-readelf -SW "$object" | sed 's/^ *\[ *[0-9]*\] *//' | awk '$1 == ".rodata" { print $7 }')
  [[ $flags == A ]] || fail "$object: .rodata has the flags ${flags:-(none)}, not A (read-only data)"
  m68k-linux-gnu-gcc -m68000 -nostdlib -Wl,--fatal-warnings,-e,main game.o "$object" -o "$object.elf" ||
    fail "$object: links with warnings"
  m68k-linux-gnu-nm "$object" | grep -Eq "^00000000 [RD] $symbol\$" || fail "$object: no global $symbol"
  local constant
  for constant in "$@"; do
    [[ $object == *.c.o ]] && continue  # C constants are macros
    m68k-linux-gnu-nm "$object" | grep -Eq "^$(printf %08x "${constant#*=}") A ${constant%=*}\$" ||
      fail "$object: no absolute ${constant%=*} of ${constant#*=}"
  done
}

# A C output and its header: compiled every way, its array read back by a
# C program, its constants printed, and its 68000 object checked.
check_c() {
  local stem=$1 expected=$2 symbol=$3
  shift 3
  cc -std=c99 "${warnings[@]}" -c "$stem.c" -o "$stem.host.o"
  c++ -x c++ "${warnings[@]}" -c "$stem.c" -o "$stem.cxx.o"
  # Where GCC's attribute is missing: C++11 and Microsoft's spelling (which
  # clang knows) compile; C11's aligns on the 68000 too.
  c++ -x c++ -std=c++11 -U__GNUC__ "${warnings[@]}" -c "$stem.c" -o "$stem.cxx11.o"
  if command -v clang >/dev/null; then
    clang -U__GNUC__ -D_MSC_VER=1930 -fms-extensions "${warnings[@]}" -c "$stem.c" -o "$stem.msc.o"
  fi
  m68k-linux-gnu-gcc -std=c99 "${warnings[@]}" -O2 -m68000 -c "$stem.c" -o "$stem.c.o"
  m68k-linux-gnu-gcc -std=c11 -U__GNUC__ "${warnings[@]}" -O2 -m68000 -c "$stem.c" -o "$stem.c11.c.o"
  {
    echo "#include <stdio.h>"
    echo "#include \"$stem.h\""
    echo "int main(int count, char **names) {"
    echo "    FILE *out = count == 2 ? fopen(names[1], \"wb\") : NULL;"
    echo "    if (!out || fwrite($symbol, 1, sizeof $symbol, out) != sizeof $symbol || fclose(out)) return 1;"
    local constant
    for constant in "$@"; do
      echo "    printf(\"%s=%ld\\n\", \"${constant%=*}\", (long)${constant%=*});"
    done
    echo "    return 0;"
    echo "}"
  } >"$stem.read.c"
  local object
  for object in "$stem.host.o" "$stem.cxx.o"; do
    cc -std=c99 "${warnings[@]}" "$stem.read.c" "$object" -o "$stem.read"
    [[ $(./"$stem.read" "$object.bin") == "$(printf '%s\n' "$@")" ]] || fail "$stem.c: other constants"
    cmp "$expected" "$object.bin" || fail "$object: other bytes than $expected"
  done
  check_object "$stem.c.o" "$expected" "$symbol" "$@"
  check_object "$stem.c11.c.o" "$expected" "$symbol" "$@"
}

# Assembles SOURCE in each of the modes named (gas_modes or mri_modes) and
# checks each object.
check_assembly() {
  local source=$1 modes=$2 mode
  shift 2
  local -n mode_list=$modes
  for mode in "${mode_list[@]}"; do
    # shellcheck disable=SC2086 # the options are separate words
    m68k-linux-gnu-as $mode -m68000 "$source" -o "$source.o" || fail "$source: as $mode failed"
    check_object "$source.o" "$@"
  done
}

blob_tiles=$(($(wc -c <"$tiles") / 32))
for options in "" "-b" "-15" "-b -15"; do
  # shellcheck disable=SC2086 # the options are separate words
  "$venk" $options "$tiles" reference.venk
  size=$(wc -c <reference.venk)
  constants=("SPRITES_SIZE=$size" "SPRITES_TILES=$blob_tiles")
  # shellcheck disable=SC2086
  "$venk" $options -a "$tiles" sprites.c
  check_c sprites reference.venk sprites "${constants[@]}"
  # shellcheck disable=SC2086
  "$venk" $options --gas "$tiles" sprites.s
  check_assembly sprites.s gas_modes reference.venk sprites "${constants[@]}"
  # shellcheck disable=SC2086
  "$venk" $options -m "$tiles" sprites.asm
  check_assembly sprites.asm mri_modes reference.venk sprites "${constants[@]}"
  echo "venk ${options:-(no options)}: C, GNU as and MRI source hold the stream's $size bytes"
done

# Expanded tiles, under a name given on the command line.
"$venk" -d -a -n tiles reference.venk expanded.c
check_c expanded "$tiles" tiles "TILES_SIZE=$(wc -c <"$tiles")" "TILES_TILES=$blob_tiles"
"$venk" -d -g -n tiles reference.venk expanded.s
check_assembly expanded.s gas_modes "$tiles" tiles "TILES_SIZE=$(wc -c <"$tiles")" "TILES_TILES=$blob_tiles"
"$venk" -d --mri --name tiles reference.venk expanded.asm
check_assembly expanded.asm mri_modes "$tiles" tiles "TILES_SIZE=$(wc -c <"$tiles")" "TILES_TILES=$blob_tiles"
echo "venk -d: C, GNU as and MRI source hold the expanded tiles"

# A pack of two sheets cut from the tiles: the bytes of venk on the two one
# after the other, and its index as constants in every form of source output
# and in every form of index file.
head -c $((96 * 32)) "$tiles" >font.bin
tail -c $((128 * 32)) "$tiles" >hero-walk.bin
cat font.bin hero-walk.bin | "$venk" - concatenation.venk
"$venk" -p font.bin hero-walk.bin packed.venk -i packed_index.h
cmp concatenation.venk packed.venk || fail "the pack is not the stream of its inputs one after the other"
"$venk" -p -b font.bin hero-walk.bin packed_best.venk
index=("PACKED_SIZE=$(wc -c <packed.venk)" PACKED_TILES=224 PACKED_FONT_FIRST=0 PACKED_FONT_TILES=96
       PACKED_HERO_WALK_FIRST=96 PACKED_HERO_WALK_TILES=128)
"$venk" -p -a font.bin hero-walk.bin packed.c
check_c packed packed.venk packed "${index[@]}"
"$venk" -p -g font.bin hero-walk.bin packed.s
check_assembly packed.s gas_modes packed.venk packed "${index[@]}"
"$venk" -p -m font.bin hero-walk.bin packed.asm
check_assembly packed.asm mri_modes packed.venk packed "${index[@]}"
echo "a pack's index: named constants in C, GNU as and MRI source"

# An index file is included by two sources, which link together: it
# defines no storage and exports nothing. One of them exports the constants
# for nm to read, and the C program prints them.
{
  echo "#include <stdio.h>"
  echo "#include \"packed_index.h\""
  echo "#include \"packed_index.h\""
  echo "int main(void) {"
  for constant in "${index[@]}"; do
    echo "    printf(\"%s=%ld\\n\", \"${constant%=*}\", (long)${constant%=*});"
  done
  echo "    return 0;"
  echo "}"
} >index_read.c
cc -std=c99 "${warnings[@]}" index_read.c -o index_read
c++ -x c++ "${warnings[@]}" index_read.c -o index_read_cxx
for program in ./index_read ./index_read_cxx; do
  [[ $("$program") == "$(printf '%s\n' "${index[@]}")" ]] || fail "packed_index.h: other constants"
done
check_index() {
  local include=$1 user=$2 exporter=$3 data=$4 modes=$5 mode
  shift 5
  {
    echo "$user"
    for constant in "$@"; do echo "$exporter${constant%=*}"; done
  } >"$include.1.s"
  printf '%s\n%s\n' "$user" "$data" >"$include.2.s"
  local -n mode_list=$modes
  for mode in "${mode_list[@]}"; do
    # shellcheck disable=SC2086 # the options are separate words
    m68k-linux-gnu-as $mode -m68000 "$include.1.s" -o "$include.1.o" || fail "$include: as $mode failed"
    # shellcheck disable=SC2086
    m68k-linux-gnu-as $mode -m68000 "$include.2.s" -o "$include.2.o" || fail "$include: as $mode failed"
    m68k-linux-gnu-ld -r "$include.1.o" "$include.2.o" -o "$include.o"
    for constant in "$@"; do
      m68k-linux-gnu-nm "$include.o" | grep -Eq "^$(printf %08x "${constant#*=}") A ${constant%=*}\$" ||
        fail "$include: no ${constant%=*} of ${constant#*=}"
    done
  done
}
"$venk" -p font.bin hero-walk.bin packed.venk -i packed_index.inc
cmp concatenation.venk packed.venk || fail "with an index, the output is still the binary stream"
check_index packed_index.inc $'\t.include "packed_index.inc"' $'\t.globl\t' $'\t.section .rodata\n\t.word\tPACKED_TILES' gas_modes \
  "${index[@]}"
"$venk" -p -m -n packed font.bin hero-walk.bin packed_mri.asm -i packed_index.i
check_assembly packed_mri.asm mri_modes packed.venk packed "${index[@]}"
check_index packed_index.i $'\tinclude\tpacked_index.i' $'\txdef\t' $'\tsection\t.rodata\n\tdc.w\tPACKED_TILES' mri_modes \
  "${index[@]}"
echo "a pack's index files: a C header, a GNU as and an MRI include, each usable by several sources"

# A C program that uses a GNU as pack through a C index file: the header
# declares the array that the assembler source defines.
"$venk" -p -b -g font.bin hero-walk.bin levels.s -i levels.h
check_assembly levels.s gas_modes packed_best.venk levels
echo 'const unsigned char *hero_walk(void) { return levels + LEVELS_HERO_WALK_FIRST; }' |
  cat <(echo '#include "levels.h"') - >levels_use.c
cc -std=c99 "${warnings[@]}" -c levels_use.c -o levels_use.host.o
c++ -x c++ "${warnings[@]}" -c levels_use.c -o levels_use.cxx.o
m68k-linux-gnu-gcc -std=c99 "${warnings[@]}" -O2 -m68000 -c levels_use.c -o levels_use.o
m68k-linux-gnu-ld -r levels_use.o levels.s.o -o levels.o
! m68k-linux-gnu-nm -u levels.o | grep -q levels || fail "levels.h: the C program does not link with levels.s"
echo "a GNU as pack and its C index file: C code compiles and links with the assembler's array"

# Names: a symbol is refused or compiles (in C++ too, beside the standard
# headers), whatever file name gives it; a header name that #include cannot
# hold is refused, any other compiles; and the headers of a stream named
# venk, its C output's and its index file's, go with the library's own.
for symbol in main printf log std posix size_t stdin; do
  if "$venk" -a -n "$symbol" font.bin named.c 2>/dev/null; then
    printf '#include <cstdio>\n#include <cmath>\n#include "named.h"\n' >named.cpp
    cc -std=c99 "${warnings[@]}" -c named.c -o named.o && c++ "${warnings[@]}" -c named.cpp -o named.cpp.o ||
      fail "-n $symbol: written, but it does not compile"
  fi
  rm -f named.c named.h
  "$venk" -a font.bin "$symbol.c"
  cc -std=c99 "${warnings[@]}" -c "$symbol.c" -o named.o
  c++ -x c++ "${warnings[@]}" -c "$symbol.c" -o named.o
done
if "$venk" -a font.bin 'say "hi".c' 2>/dev/null; then
  cc -std=c99 "${warnings[@]}" -c 'say "hi".c' -o named.o || fail "a header name with a quote does not compile"
fi
"$venk" -a font.bin "it's été (v2).c"
cc -std=c99 "${warnings[@]}" -c "it's été (v2).c" -o named.o
"$venk" -a font.bin venk.c
"$venk" font.bin venk.venk -i venk_index.h
{
  echo "#include <venk/venk.h>"
  echo "#include \"venk.h\""
  echo "#include \"venk_index.h\""
  echo "int main(void) { return VENK_RESULT_OK + (int)(sizeof venk - VENK_SIZE) + VENK_TILES - 96; }"
} >with_library.c
for compiler in "cc -std=c99" "c++ -x c++"; do
  # shellcheck disable=SC2086 # the compiler's words
  $compiler "${warnings[@]}" -I "$library_include" with_library.c venk.c -o with_library
  ./with_library || fail "venk.h beside <venk/venk.h>: other constants"
done
echo "names: reserved symbols refused or compiled, header names included, guards apart from the library's"

# An image: its stream and its palette in every form, compiled and assembled,
# the palette's words at an even address after the stream, with their count.
if "$venk" -d reference.venk sheet.png --columns 11 2>/dev/null; then  # 561 tiles: 51 rows of 11
  "$venk" sheet.png from_image.venk
  "$venk" -d from_image.venk back.bin
  cmp back.bin "$tiles" || fail "sheet.png: other tiles than the stream it was drawn from"
  "$venk" -a sheet.png sheet.c
  printf '#include "sheet.h"\nint main(void) { return SHEET_PALETTE_COLOURS != 16 || sheet_palette[15] != 0x0eee; }\n' \
    >sheet_main.c
  cc -std=c99 "${warnings[@]}" sheet_main.c sheet.c -o sheet_main && ./sheet_main || fail "sheet.c: no grey palette"
  "$venk" -g sheet.png sheet.s
  "$venk" -m sheet.png sheet.asm
  for source in sheet.s sheet.asm; do
    options=() && [[ $source == *.asm ]] && options=(-M)
    m68k-linux-gnu-as "${options[@]}" -m68000 "$source" -o "$source.o"
    m68k-linux-gnu-nm "$source.o" | grep -Eq '^00000010 A SHEET_PALETTE_COLOURS$' || fail "$source: no colour count"
    address=$(m68k-linux-gnu-nm "$source.o" | awk '$3 == "sheet_palette" { print $1 }')
    ((0x$address % 2 == 0 && 0x$address >= $(wc -c <from_image.venk))) || fail "$source: palette at $address"
  done
  echo "an image: its stream and grey palette in C, GNU as and MRI source"
  # Its tile map in every form: the 68000 objects hold the binary map's words.
  "$venk" sheet.png distinct.venk --map sheet.map
  "$venk" -a sheet.png distinct.c --map bg.c
  printf '#include "bg.h"\nint main(void) { return sizeof bg_map != 2 * BG_MAP_WIDTH * BG_MAP_HEIGHT; }\n' >bg_main.c
  cc -std=c99 "${warnings[@]}" bg_main.c bg.c -o bg_main && ./bg_main || fail "bg.c: other sizes"
  m68k-linux-gnu-gcc -std=c99 "${warnings[@]}" -O2 -m68000 -c bg.c -o bg.c.o
  check_object bg.c.o sheet.map bg_map
  "$venk" -g sheet.png distinct.s --map bg.s
  check_assembly bg.s gas_modes sheet.map bg_map BG_MAP_WIDTH=11 BG_MAP_HEIGHT=51
  "$venk" -m sheet.png distinct.asm --map bg.asm
  check_assembly bg.asm mri_modes sheet.map bg_map BG_MAP_WIDTH=11 BG_MAP_HEIGHT=51
  echo "a background: its tile map in C, GNU as and MRI source"
fi
