#!/usr/bin/env bash
# The library opens no file, and the tool none but its input, its output and
# the temporary file beside the output: runs the tool (build-release/venk, or
# the one named as the argument) under strace on the bundled sample, for a
# compression at each level and an expansion, and on it as an image, in and
# out, and fails if it opens anything
# else than those and the shared libraries the dynamic loader maps. The call
# most likely to is the one that draws the index's random key: some C++
# runtimes read std::random_device from /dev/urandom.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=$(realpath "${1:-build-release/venk}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/sample_tiles.bin "$work/tiles.bin"
cd "$work"

check() {
  local input=${*: -2:1} output=${*: -1}
  strace -f -qq -e trace=open,openat,openat2,creat -o trace "$tool" "$@"
  # The name each call opened, and what of them is neither the loader's nor the tool's own.
  sed -n 's/^[0-9]* *\(open\|openat\|openat2\|creat\)(\(AT_FDCWD, \)\?"\([^"]*\)".*/\3/p' trace >opened
  grep -qx "$input" opened || { echo "venk $*: strace saw no open of the input" >&2; exit 1; }
  # The loader's probes may be relative: CMake pads the RUNPATH of a tool
  # built with the shared library with an empty entry, the working directory.
  if grep -v -x -e '/etc/ld\.so\.cache' -e '.*\.so\(\.[0-9]\+\)*' -e "$input" -e "$output" \
       -e "\.$output\.venk-.*" opened; then
    echo "venk $*: opened the files above, which are neither its own nor the loader's" >&2
    exit 1
  fi
  echo "   venk $*: opened only $(sort -u opened | grep -v -e '^/' -e '\.so\(\.[0-9]\+\)*$' | tr '\n' ' ')and shared libraries"
}
check -c tiles.bin tiles.venk
check -c -b tiles.bin best.venk
check -d tiles.venk back.bin
# An image in, and a picture out: the PNG library opens no file either.
if "$tool" -d tiles.venk sheet.png 2>/dev/null; then
  check -d tiles.venk picture.png
  check -c sheet.png sheet.venk
fi
