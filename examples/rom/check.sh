#!/usr/bin/env bash
# SPDX-License-Identifier: 0BSD
#
# The demo ROMs on an emulated console: builds them and the timing ROM with
# the host venk, runs each in BlastEm on a private X server, compares the
# demos' screens pixel for pixel with the picture rendered from the sample
# blob (and spoilt copies, which must differ), the background ROM's with the
# art venk --map took apart (examples/rom/background.py), and prints the decoders'
# measured cycles per tile and tiles per frame. Leaves everything in
# build-rom/, with the demo's screen as build-rom/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/../.."
started=$SECONDS

packages=(cmake make g++ python3 gcc-m68k-linux-gnu binutils-m68k-linux-gnu blastem xvfb x11-apps)
.ci/install_missing.sh "${packages[@]}"

[[ -f build/CMakeCache.txt ]] || cmake --preset demo >/dev/null
cmake --build --preset demo >/dev/null
build=$PWD/build-rom
make -s -j2 -C examples/rom VENK="$PWD/build/venk" O="$build"

echo "== decode times measured in BlastEm"
python3 examples/rom/timing.py "$build" examples/sample_tiles.bin
echo "== the demo ROMs in BlastEm, against the picture rendered from the blob ($((SECONDS - started)) s so far)"
python3 examples/rom/check.py "$build" examples/sample_tiles.bin --screenshot "$build/screenshot.png"
