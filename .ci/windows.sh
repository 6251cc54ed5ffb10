#!/usr/bin/env bash
# The Windows build, checked from Linux: cross-compiles venk.exe and its tests
# with mingw-w64, runs the tests under Wine, then runs the same command lines
# with venk.exe and with the native tool in two identical directories and
# requires the same exit status, the same printed bytes and the same files,
# also under a file name with non-ASCII characters. Last, it packs the
# release zip from the same build and checks what it holds.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

packages=(cmake make g++ googletest g++-mingw-w64-x86-64-posix wine64 wine unzip)
.ci/install_missing.sh "${packages[@]}"
.ci/fetch_lodepng.sh

# The same settings as the mingw test preset: a private Wine prefix, no debug
# chatter, no prompts to install Mono or Gecko, and a UTF-8 locale, without
# which Wine mangles non-ASCII arguments and file names.
export WINEPREFIX="$PWD/build-mingw/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
wine=/usr/lib/wine/wine64
[[ -x $wine ]] || wine=$(command -v wine64 || command -v wine)

# One Wine server for the whole run; without it every test starts its own and
# pays seconds for it. The server and the services that creating the prefix
# starts outlive their commands with the standard streams they were given, so
# those go to a log: a pipe reading this script's output would not end.
mkdir -p "$WINEPREFIX"
wine_log=build-mingw/wine-start.log
wineserver -p >"$wine_log" 2>&1
trap 'wineserver -k || true' EXIT
echo "== Wine prefix"
"$wine" cmd /c exit >>"$wine_log" 2>&1
echo "   ready after $((SECONDS - started)) s"

echo "== Windows build and tests under Wine"
cmake --workflow --preset mingw

echo "== native tool for comparison"
cmake --preset demo >/dev/null
cmake --build --preset demo

echo "== venk.exe against the native tool"
native="$PWD/build/venk"
windows="$PWD/build-mingw/venk.exe"
work="$PWD/build-mingw/compare"
rm -rf "$work"
mkdir -p "$work/linux" "$work/windows"
name='tuiles-ça-日本'
for side in linux windows; do
  cp examples/sample_tiles.bin "$work/$side/$name.bin"
  head -c 3200 examples/sample_tiles.bin >"$work/$side/font.bin"
  printf 'thirty-three bytes, not one tile\n' >"$work/$side/odd.bin"
done

# Runs one command line on both sides and compares everything they left;
# standard input is the file $standard_input of each side, if set.
compare() {
  local status
  for side in linux windows; do
    local tool=("$native")
    [[ $side == windows ]] && tool=("$wine" "$windows")
    status=0
    (cd "$work/$side" && "${tool[@]}" "$@" <"${standard_input:-/dev/null}" >"../$side.out" 2>"../$side.err") ||
      status=$?
    echo "$status" >"$work/$side.status"
  done
  for result in status out err; do
    if ! cmp -s "$work/linux.$result" "$work/windows.$result"; then
      echo "venk $*: the two tools differ in their $result" >&2
      diff <(od -c "$work/linux.$result") <(od -c "$work/windows.$result") >&2 || true
      exit 1
    fi
  done
  diff -r "$work/linux" "$work/windows" >&2 || {
    echo "venk $*: the two tools left different files" >&2
    exit 1
  }
  echo "   venk $*: exit $(cat "$work/linux.status"), same bytes"
}

for variant in 16 15; do
  compare -c "-$variant" "$name.bin" "$name.venk$variant"
  compare -d "-$variant" "$name.venk$variant" "$name-$variant.bin"
  compare -b -s "-$variant" "$name.bin" "$name.best$variant"
  compare -s -d "-$variant" "$name.best$variant" "$name-best-$variant.bin"
  cmp "examples/sample_tiles.bin" "$work/windows/$name-$variant.bin"
done
compare -v
compare "$name-manquant.bin" "$name.out"
compare "$name.bin" "./$name.bin"
compare "$name.bin" "$name.venk15"   # replaces an existing output
compare odd.bin "$name.venk16"
compare -x --venk15 -16
# Standard input and output carry every byte as it is, and packs.
standard_input="$name.bin" compare -b -s - -
standard_input="$name.venk15" compare -d -15 - "$name-from-pipe.bin"
cmp "examples/sample_tiles.bin" "$work/windows/$name-from-pipe.bin"
compare -d "$name.best15" -
compare -p -b -s font.bin "$name.bin" "$name.pack" -i "$name.inc" -g
compare -p font.bin odd.bin "$name.pack"
# Images in, a picture and a palette out.
compare -d "$name.best16" "$name.png" --columns 20
compare -a "$name.png" "$name-image.c" --palette "$name.pal"
compare -p font.bin "$name.png" "$name.image-pack"
compare --sprite 2x2 "$name.png" "$name.sprites"

echo "== release zip: venk.exe, README.md and LICENSE"
cpack --preset release-windows
zip=build-mingw/venk-1.3.0-win64.zip
unzip -l "$zip"
listed=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
expected=$(printf '%s\n' venk-1.3.0-win64/LICENSE venk-1.3.0-win64/README.md venk-1.3.0-win64/venk.exe)
[[ $listed == "$expected" ]] || { echo "the zip holds other files than $expected" >&2; exit 1; }
# The zip's venk.exe is the build's, stripped of its symbols and debugging
# information.
x86_64-w64-mingw32-strip -o build-mingw/venk-stripped.exe build-mingw/venk.exe
for file in venk.exe README.md LICENSE; do
  source=build-mingw/venk-stripped.exe
  [[ $file != venk.exe ]] && source=$file
  unzip -p "$zip" "venk-1.3.0-win64/$file" | cmp - "$source"
done
echo "   venk.exe: $(stat -c %s build-mingw/venk.exe) bytes built, $(stat -c %s build-mingw/venk-stripped.exe) in the zip"

echo "== Windows checks done in $((SECONDS - started)) s"
