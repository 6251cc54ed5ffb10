#!/usr/bin/env bash
# The compression tables: makes the real tile sets (bench/tilesets/), checks
# that every stream of every set, default and -b, in both variants, expands
# back to its blob, then prints for each set the default dictionary, the best
# layout's and the least any layout can take; and for each group of blobs a
# game would ship together, their -b streams made one by one against one -b
# pack of them all, which shares a single dictionary.
#
#   bench/compression.sh [OUTDIR]     as root: installs the packages that hold the art
set -euo pipefail
shopt -s inherit_errexit  # a failure inside $(...) fails the script too
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build-bench/tilesets}
venk=$root/build-bench/venk

(cd "$root" && cmake --workflow --preset bench >/dev/null)
"$root/bench/tilesets/make_sets.sh" "$out" "$venk"
echo
"$root/build-bench/bench/layout-gap" "$out"/*.bin "$root/examples/sample_tiles.bin"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# make_pack STREAM BLOB...: one VENK16 -b stream of all the blobs, in this
# order, with one dictionary: venk -p, whose stream is byte for byte venk -b
# on the blobs one after the other.
make_pack() {
    local stream=$1
    shift
    "$venk" -c -b -p "$@" "$stream"
}

# sizes BLOB...: "DICTIONARY<tab>STREAM", the bytes of the -b stream of one
# blob or of the pack of several, or "too big" for both; fails on any other
# error or when the stream does not expand back to the blobs one after the
# other.
sizes() {
    local stream=$work/stream made
    if (($# == 1)); then
        "$venk" -c -b "$1" "$stream" 2>"$work/err" && made=yes || made=no
    else
        make_pack "$stream" "$@" 2>"$work/err" && made=yes || made=no
    fi
    if [[ $made == no ]]; then
        grep -q 'too big' "$work/err" && { printf 'too big\ttoo big\n'; return 0; }
        cat "$work/err" >&2
        return 1
    fi
    "$venk" -d "$stream" "$work/back"
    cat "$@" | cmp -s - "$work/back" || { echo "the -b stream of $* does not expand back to it" >&2; return 1; }
    # the dictionary's size is the stream's second big-endian word
    printf '%d\t%d\n' "$(od -An -tu2 --endian=big -j2 -N2 "$stream")" "$(stat -c %s "$stream")"
}

# gain BEFORE AFTER: how much smaller AFTER is, in percent
gain() {
    if [[ $1 == "too big" || $2 == "too big" ]]; then
        echo "–"
    else
        awk -v before="$1" -v after="$2" 'BEGIN { printf "%.1f %%\n", 100 * (before - after) / before }'
    fi
}

# One row per group, the members' streams added up against the pack, then one
# row per member with its own stream.
echo
echo "| group | member | tiles | separate D | pack D | D gain | separate streams | pack stream | stream gain |"
echo "|---|---|---:|---:|---:|---:|---:|---:|---:|"
for group in $(tail -n +2 "$out/groups.tsv" | cut -f 1 | uniq); do
    blobs=() rows=() tiles=0 dictionaries=0 streams=0
    while IFS=$'\t' read -r name member _ _ member_tiles; do
        [[ $name == "$group" ]] || continue
        blobs+=("$out/groups/$group/$member.bin")
        result=$(sizes "${blobs[-1]}")
        IFS=$'\t' read -r dictionary stream <<<"$result"
        rows+=("| | $member | $member_tiles | $dictionary | | | $stream | | |")
        tiles=$((tiles + member_tiles))
        if [[ $dictionary == "too big" || $dictionaries == "too big" ]]; then
            dictionaries="too big" streams="too big"
        else
            dictionaries=$((dictionaries + dictionary)) streams=$((streams + stream))
        fi
    done < <(tail -n +2 "$out/groups.tsv")
    result=$(sizes "${blobs[@]}")
    IFS=$'\t' read -r pack_dictionary pack_stream <<<"$result"
    echo "| $group | all ${#blobs[@]} | $tiles | $dictionaries | $pack_dictionary | $(gain "$dictionaries" "$pack_dictionary")" \
        "| $streams | $pack_stream | $(gain "$streams" "$pack_stream") |"
    printf '%s\n' "${rows[@]}"
done
