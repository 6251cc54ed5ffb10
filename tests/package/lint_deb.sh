#!/usr/bin/env bash
# Checks the Debian package made by `cmake --workflow --preset release` (or
# the one named as the argument) with lintian, printing what it reports, and
# fails on any error. One is expected while the package names no maintainer
# address (the default; -DVENK_DEBIAN_MAINTAINER="Name <address>" gives one):
# malformed-contact, which is then left out.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
deb=${1:-$source_dir/build-release/venk_1.3.0_amd64.deb}
[[ -f $deb ]] || { echo "$deb does not exist; make it with cmake --workflow --preset release" >&2; exit 1; }

ignored=()
[[ $(dpkg-deb --field "$deb" Maintainer) == *'<'*'@'*'>' ]] || ignored=(--suppress-tags malformed-contact)
echo "== lintian $(basename "$deb")"
# lintian warns on standard error that it would rather not run as root.
lintian --fail-on error "${ignored[@]}" "$deb" 2> >(grep -v 'running with root privileges' >&2)
echo "== no lintian errors"
