#!/usr/bin/env bash
# Build the real tile sets used by the compression benchmarks.
#
#   bench/tilesets/make_sets.sh OUTDIR [VENK]
#
# Installs the Debian packages holding the art (only those missing), converts
# each set to OUTDIR/NAME.bin (32-byte 8x8 4bpp tiles) and lists the sets in
# OUTDIR/sets.tsv. It also makes groups of blobs that a game would ship
# together (fonts of one family, sheets of one game), each member of group
# GROUP in OUTDIR/groups/GROUP/MEMBER.bin, listed in pack order in
# OUTDIR/groups.tsv; bench/compression.sh packs them. Then, if the tool VENK
# (default: build/venk of this checkout) exists, it compresses every set as
# VENK16 and VENK15, in the default layout and with -b, expands each stream
# again, checks that the round trip gives back the blob and prints a table of
# stream sizes. The blobs are the same bytes on every run; README.md in this
# directory says where each set and group comes from and under which licence.
set -euo pipefail
export LC_ALL=C  # the order of globbed files is part of a set

if [[ $# -lt 1 || $# -gt 2 ]]; then
    echo "usage: $0 OUTDIR [VENK]" >&2
    exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
out=$1
venk=${2:-$here/../../build/venk}
mkdir -p "$out"

"$here/../../.ci/install_missing.sh" console-setup-linux angband-data freeciv-data cataclysm-dda-data \
    crawl-tiles-data minetest-data >/dev/null

fonts=/usr/share/consolefonts
angband=/usr/share/angband/xtra/graf
freeciv=/usr/share/games/freeciv
cdda=/usr/share/games/cataclysm-dda/gfx
crawl=/usr/share/crawl/dat/tiles
minetest=/usr/share/games/minetest/games/minetest_game/mods

printf 'name\tpackage\tsources\ttiles\n' >"$out/sets.tsv"
printf 'group\tmember\tpackage\tsources\ttiles\n' >"$out/groups.tsv"

# convert BLOB psf|png MAX_TILES FILE...: prints "SOURCES<tab>TILES"
convert() {
    local blob=$1 kind=$2 max=$3 result
    shift 3
    result=$(python3 "$here/art_to_tiles.py" "$kind" "$blob" --max-tiles "$max" "$@")
    # the converter prints "TILES<tab>SOURCES"; the lists want the sources first
    printf '%s\t%s\n' "${result#*$'\t'}" "${result%%$'\t'*}"
}

# make_set NAME PACKAGE psf|png MAX_TILES FILE...
make_set() {
    local name=$1 package=$2 row
    shift 2
    row=$(convert "$out/$name.bin" "$@")
    printf '%s\t%s\t%s\n' "$name" "$package" "$row" >>"$out/sets.tsv"
}

# make_member GROUP MEMBER PACKAGE psf|png MAX_TILES FILE...: the next blob of a group
make_member() {
    local group=$1 member=$2 package=$3 row
    shift 3
    mkdir -p "$out/groups/$group"
    row=$(convert "$out/groups/$group/$member.bin" "$@")
    printf '%s\t%s\t%s\t%s\n' "$group" "$member" "$package" "$row" >>"$out/groups.tsv"
}

make_set font-uni2-vga16 console-setup-linux psf 65535 "$fonts/Uni2-VGA16.psf.gz"
make_set font-uni2-terminusbold32x16 console-setup-linux psf 65535 "$fonts/Uni2-TerminusBold32x16.psf.gz"
make_set fonts-vga8 console-setup-linux psf 65535 "$fonts"/*-VGA8.psf.gz
fonts_8x16=()
for f in "$fonts"/*16.psf.gz; do
    [[ $f == *x16.psf.gz ]] || fonts_8x16+=("$f")  # not the 16-wide ones such as Terminus32x16
done
make_set fonts-8x16 console-setup-linux psf 65535 "${fonts_8x16[@]}"
make_set minetest-default minetest-data png 65535 "$minetest/default/textures"/*.png
make_set angband-8x8 angband-data png 65535 "$angband/8x8.png"
make_set angband-16x16 angband-data png 2048 "$angband/16x16.png"
make_set freeciv-trident freeciv-data png 65535 "$freeciv/trident/tiles.png" "$freeciv/trident/units.png"
make_set cdda-chesthole16 cataclysm-dda-data png 4096 "$cdda/ChestHole16Tileset/tiles.png"
make_set cdda-retrodays cataclysm-dda-data png 2048 "$cdda/RetroDaysTileset/tiles.png"
make_set crawl-floor crawl-tiles-data png 2048 "$crawl/floor.png"

# One face in two sizes and two weights, all 8 pixels wide
for font in Terminus14 Terminus16 TerminusBold14 TerminusBold16; do
    make_member fonts-terminus "Uni2-$font" console-setup-linux psf 65535 "$fonts/Uni2-$font.psf.gz"
done
# Sheets of one Cataclysm-DDA tileset, Cuteclysm (32x32 and 48x48 sprites)
for sheet in creatures expandedcreatures items fields ui; do
    make_member cdda-cuteclysm "$sheet" cataclysm-dda-data png 65535 "$cdda/Cuteclysm/$sheet.png"
done
# The textures of five Minetest mods (16x16), one member per mod
for mod in doors farming flowers tnt wool; do
    make_member minetest-mods "$mod" minetest-data png 65535 "$minetest/$mod/textures"/*.png
done

if [[ ! -x $venk ]]; then
    echo "no $venk: sets written to $out, round trip not checked (build it with cmake --workflow --preset demo)"
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# stream_size BLOB OPTION...: prints the size of the stream venk makes with
# these options, or "too big"; fails on any other error or when the stream
# does not expand back to the blob.
stream_size() {
    local blob=$1 variant=$2
    shift
    if ! "$venk" -c "$@" "$blob" "$work/stream" 2>"$work/err"; then
        grep -q 'too big' "$work/err" && { echo "too big"; return 0; }
        cat "$work/err" >&2
        return 1
    fi
    "$venk" -d "$variant" "$work/stream" "$work/back"
    cmp -s "$blob" "$work/back" || { echo "round trip of $blob ($*) differs" >&2; return 1; }
    stat -c %s "$work/stream"
}

# The best layout (-b) is checked too when this venk has it.
modes=("-16" "-15")
"$venk" -h | grep -q -- '--best' && modes+=("-16 -b" "-15 -b")

printf '%-28s %6s %8s' set tiles bytes
for mode in "${modes[@]}"; do printf ' %9s' "VENK${mode:1:2}${mode:3}"; done
printf ' %8s\n' blocks
tail -n +2 "$out/sets.tsv" | while IFS=$'\t' read -r name _ _ tiles; do
    blob=$out/$name.bin
    printf '%-28s %6s %8s' "$name" "$tiles" "$(stat -c %s "$blob")"
    for mode in "${modes[@]}"; do
        # shellcheck disable=SC2086 # a mode is a variant and maybe -b
        size=$(stream_size "$blob" $mode)
        printf ' %9s' "$size"
    done
    printf ' %8s\n' "$(python3 "$here/distinct_blocks.py" "$blob")"
done
