#!/usr/bin/env bash
# Puts LodePNG's C source in .cache/lodepng (git-ignored) for the builds that
# compile the PNG library themselves: the Windows and m68k cross builds and the
# fuzz build, whose systems have no LodePNG package for their target or no
# sanitizer-instrumented one. It comes from npm's lodepng package, which
# carries LodePNG's lodepng.c and lodepng.h in vendor/; the package's own
# install scripts (a Node.js binding) are never run. Pinned by checksum.
set -euo pipefail
cd "$(dirname "$0")/.."

version=2.3.0
sha256=a89c5b358d7df778a72489479c9977fb58305caa905a1b3afe1d6481667a3680
target=.cache/lodepng
[[ -f $target/lodepng.c && $(cat "$target/version" 2>/dev/null) == "$version" ]] && exit 0

command -v npm >/dev/null || .ci/install_missing.sh npm
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "lodepng@$version" >/dev/null)
echo "$sha256  $work/lodepng-$version.tgz" | sha256sum -c --quiet -
tar -xzf "$work/lodepng-$version.tgz" -C "$work" package/vendor/lodepng.c package/vendor/lodepng.h
rm -rf "$target"
mkdir -p "$target"
mv "$work/package/vendor/lodepng.c" "$work/package/vendor/lodepng.h" "$target/"
echo "$version" >"$target/version"
echo "LodePNG $(sed -n 's/^LodePNG version //p' "$target/lodepng.h") from npm's lodepng $version in $target"
