#!/usr/bin/env bash
# The Makefile fragments of target/README.md ("From C" and "In a game's
# Makefile"), taken as written, built by GNU make with the m68k cross tools
# into a game that links the streams and the 68000 decoder: once for a game
# in assembly (the rules with -g) and once for a game in C (the rules with -a
# in place of those with -g, as the README says), the first assembled with
# --register-prefix-optional --bitwise-or as well, both linked with the
# README's flags and --fatal-warnings. Each build's ROM image must
# hold, at each stream's symbol and even address, a stream of its constant
# size that the host venk expands to the stream's blobs, with its constant
# tile count; and the game, run under qemu-m68k-static, must decode each
# blob's tiles, as its constants give them, with the 68000 decoder.
#
# Usage: makefile_fragments_check.sh VENK SOURCE_DIR WORK_DIR
# Exits with 77 (skipped) when make, the m68k cross tools or qemu are
# missing, unless VENK_REQUIRE_CROSS_TOOLS is set, as in CI.
set -euo pipefail
venk=$(realpath "$1") source=$(realpath "$2") work=$3

source "$(dirname "${BASH_SOURCE[0]}")/require_tools.sh"
require_tools make m68k-linux-gnu-gcc m68k-linux-gnu-as m68k-linux-gnu-objcopy m68k-linux-gnu-nm qemu-m68k-static

# The streams the fragments make, "SYMBOL BLOB...": a pack has several blobs,
# in the order it packs them. Each blob is a piece of the sample, "FIRST COUNT"
# in tiles (at most 256, the size of the game's buffer).
streams=("sprites_venk sprites" "font_venk font" "levels forest caves")
declare -A pieces=([font]="0 96" [sprites]="96 81" [forest]="177 192" [caves]="369 192")
# The rules whose venk command has one of these options are left out.
left_out=()

# The paragraphs of the README's make blocks in those two sections, in order,
# but those with a venk command that has one of the options given.
fragments() {
  awk -v dropped="$*" '
    function flush(   count, lines, i, option) {
      count = split(paragraph, lines, "\n")
      for (i = 1; i <= count; i++)
        if (lines[i] ~ /^\t\$\(VENK\) /)
          for (option in options)
            if ((lines[i] " ") ~ (" " options[option] " ")) paragraph = ""
      if (paragraph != "") printf "%s\n", paragraph
      paragraph = ""
    }
    BEGIN { split(dropped, options, " ") }
    /^## / { section = substr($0, 4) }
    /^```make$/ && (section == "From C" || section == "In a game'\''s Makefile") { block = 1; next }
    block && /^```$/ { flush(); block = 0; next }
    block && /^$/ { flush(); next }
    block { paragraph = paragraph $0 "\n" }
  ' "$source/target/README.md"
}

# "SYMBOL FIRST COUNT" for each blob's tiles, the constants the game decodes
# them by.
decode_calls() {
  local row symbol blobs blob
  for row in "${streams[@]}"; do
    read -r symbol blobs <<<"$row"
    if [[ $blobs != *" "* ]]; then
      echo "$symbol 0 ${symbol^^}_TILES"
      continue
    fi
    for blob in $blobs; do
      echo "$symbol ${symbol^^}_${blob^^}_FIRST ${symbol^^}_${blob^^}_TILES"
    done
  done
}

# The game in assembly: it shows each blob's tiles and lists each stream's
# size and tile count at `constants`, all through the symbols venk wrote.
game_in_assembly() {
  local symbol first count row
  printf '\t.text\n\t.globl\tgame\ngame:\n'
  while read -r symbol first count; do
    printf '\tmove.l\t#%s,-(%%sp)\n\tmove.l\t#%s,-(%%sp)\n\tpea\t%s\n\tjsr\tshow\n\tlea\t12(%%sp),%%sp\n' \
      "$count" "$first" "$symbol"
  done < <(decode_calls)
  printf '\trts\n\n\t.section .rodata\n\t.globl\tconstants\nconstants:\n'
  for row in "${streams[@]}"; do
    symbol=${row%% *}
    printf '\t.long\t%s_SIZE, %s_TILES\n' "${symbol^^}" "${symbol^^}"
  done
  printf '\t.section .note.GNU-stack,"",@progbits\n'
}

# The same game in C, through the headers venk wrote.
game_in_c() {
  local symbol first count row
  for row in "${streams[@]}"; do
    echo "#include \"gfx/${row%% *}.h\""
  done
  echo "void show(const unsigned char *stream, unsigned long first, unsigned long count);"
  echo "const unsigned long constants[] = {"
  for row in "${streams[@]}"; do
    symbol=${row%% *}
    echo "    ${symbol^^}_SIZE, ${symbol^^}_TILES,"
  done
  echo "};"
  echo "void game(void) {"
  while read -r symbol first count; do
    echo "    show($symbol, $first, $count);"
  done < <(decode_calls)
  echo "}"
}

# The rest of the game: its start-up and a routine that decodes tiles with
# the 68000 decoder and writes them to standard output (through Linux system
# calls, for qemu-m68k-static), the ROM's layout from BASE on, and the game's
# own make rules.
readonly BASE=0x10000
write_system() {
  cat >system.s <<'EOF'
	.text
	.globl	_start, show
_start:
	jsr	game
	moveq	#0,%d1
exit:
	moveq	#1,%d0			/* exit(d1) */
	trap	#0

/* show(stream, first, count), called as from C */
show:
	movem.l	%d2-%d3,-(%sp)
	move.l	12(%sp),%a0
	move.l	16(%sp),%d0
	move.l	20(%sp),%d1
	lea	buffer,%a1
	jsr	venk_m68k_decode_tiles_r
	moveq	#4,%d0			/* write(1, buffer, count * 32) */
	moveq	#1,%d1
	move.l	#buffer,%d2
	move.l	20(%sp),%d3
	lsl.l	#5,%d3
	trap	#0
	moveq	#1,%d1
	cmp.l	%d3,%d0
	bne.s	exit			/* a short write */
	movem.l	(%sp)+,%d2-%d3
	rts

	.bss
buffer:	.space	256 * 32
	.section .note.GNU-stack,"",@progbits
EOF
  cat >rom.ld <<EOF
ENTRY(_start)
SECTIONS
{
  . = $BASE;
  .text : { *(.text*) }
  .rodata : { *(.rodata*) }
  .bss ALIGN(0x2000) : { *(.bss*) *(COMMON) }
}
EOF
  cat >game.mk <<'EOF'
# The game's own part: its start-up and its rule for C.
CC     = $(PREFIX)gcc
CFLAGS = -std=c99 -pedantic -Wall -Wextra -Werror -O2 -m68000 -fno-pic
game.elf: system.o
EOF
}

# The address of SYMBOL in game.elf, in hex.
address_of() {
  m68k-linux-gnu-nm game.elf | awk -v name="$1" '$3 == name { print $1 }'
}

# COUNT big-endian longs at SYMBOL in rom.bin, as decimal numbers.
longs_at() {
  od -An -v -tu4 --endian=big -j $((0x$(address_of "$1") - BASE)) -N $((4 * $2)) rom.bin
}

# Builds the game of DIRECTORY from MAIN_FILE (written by GAME) and the
# fragments without the rules with OPTION, assembling with the options
# ASFLAGS besides theirs and linking with warnings as errors, and checks the
# ROM and the run.
build_and_check() {
  local directory=$work/$1 main=$2 game=$3 option=$4 asflags=$5
  mkdir -p "$directory/gfx" "$directory/venk"
  cd "$directory"
  ln -s "$source/target" venk/target
  local blob first count
  for blob in "${!pieces[@]}"; do
    read -r first count <<<"${pieces[$blob]}"
    dd if="$source/examples/sample_tiles.bin" of="gfx/$blob.bin" bs=32 skip="$first" count="$count" status=none
    # The artist's sheet: the blob drawn into a PNG as wide as its tile
    # count allows (a row of 16, or the largest width that fills every row).
    local columns=16
    while ((count % columns != 0)); do columns=$((columns - 1)); done
    "$venk" "gfx/$blob.bin" "gfx/$blob.venk"
    "$venk" -d "gfx/$blob.venk" "gfx/$blob.png" --columns "$columns"
  done
  write_system
  "$game" >"$main"
  { cat game.mk; fragments "$option" "${left_out[@]}"; echo 'LDFLAGS += -Wl,--fatal-warnings'; } >Makefile
  ASFLAGS=$asflags make VENK="$venk" rom.bin

  # shellcheck disable=SC2207 # od separates the numbers by spaces and lines
  local constants=($(longs_at constants $((2 * ${#streams[@]})))) row symbol blobs address expected=()
  for row in "${streams[@]}"; do
    read -r symbol blobs <<<"$row"
    local size=${constants[0]} tiles=${constants[1]}
    constants=("${constants[@]:2}")
    address=$(address_of "$symbol")
    [[ -n $address ]] || fail "$1: no symbol $symbol"
    ((0x$address % 2 == 0)) || fail "$1: $symbol at the odd address $address"
    dd if=rom.bin of="$symbol.venk" bs=1 skip=$((0x$address - BASE)) count="$size" status=none
    "$venk" -d -16 "$symbol.venk" "$symbol.tiles"
    for blob in $blobs; do cat "gfx/$blob.bin"; done >"$symbol.blobs"
    cmp "$symbol.tiles" "$symbol.blobs" || fail "$1: the $size bytes at $symbol are not the stream of $blobs"
    ((tiles * 32 == $(wc -c <"$symbol.blobs"))) || fail "$1: ${symbol^^}_TILES is $tiles"
    expected+=("$symbol.blobs")
  done
  qemu-m68k-static game.elf >shown.bin || fail "$1: the game failed under qemu"
  cat "${expected[@]}" | cmp - shown.bin || fail "$1: the game decoded other tiles"
  echo "$1: ${#streams[@]} streams linked, expanded and decoded by the 68000 routine through their constants"
}

[[ -n $(fragments) ]] || fail "target/README.md: no make blocks under \"From C\" or \"In a game's Makefile\""
rm -rf "$work"
# The game in assembly as homebrew builds often assemble, where | is no comment.
build_and_check assembly main.s game_in_assembly -a "--register-prefix-optional --bitwise-or"
build_and_check c main.c game_in_c -g ""
