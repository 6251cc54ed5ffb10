#!/usr/bin/env bash
# The compression table: makes the real tile sets (bench/tilesets/), checks
# that every stream of every set, default and -b, in both variants, expands
# back to its blob, then prints for each set the default dictionary, the best
# layout's and the least any layout can take.
#
#   bench/compression.sh [OUTDIR]     as root: installs the packages that hold the art
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build-bench/tilesets}

(cd "$root" && cmake --workflow --preset bench >/dev/null)
"$root/bench/tilesets/make_sets.sh" "$out" "$root/build-bench/venk"
echo
"$root/build-bench/bench/layout-gap" "$out"/*.bin "$root/examples/sample_tiles.bin"
