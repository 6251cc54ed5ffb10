#!/usr/bin/env bash
# Installs the Debian package made by `cmake --workflow --preset release`
# (or the one named as the argument) with dpkg, checks what a user gets: the
# tool, its manual page, the licence, the consumer program built against
# the library through find_package(venk) and pkg-config with no paths given,
# and the shared library loaded by Python's ctypes by its name alone; then
# removes the package and checks that nothing of it is left. Needs root.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
deb=${1:-$source_dir/build-release/venk_1.3.0_amd64.deb}
work=$(mktemp -d)
# shellcheck source=tests/package/checks.sh
source "$source_dir/tests/package/checks.sh"
[[ -f $deb ]] || fail "$deb does not exist; make it with cmake --workflow --preset release"
# One package test at a time on this machine: the package is installed system-wide.
exec {lock}>/tmp/venk-deb-test.lock
flock "$lock"
if dpkg -s venk >/dev/null 2>&1; then
  fail "a venk package is installed already; this test would replace it"
fi

# dpkg refuses to run while another dpkg or apt holds its lock; wait for it.
run_dpkg() {
  local tries=0 output
  until output=$(dpkg "$@" 2>&1); do
    if [[ $output != *lock* ]] || ((++tries == 60)); then
      echo "$output" >&2
      fail "dpkg $* failed"
    fi
    sleep 2
  done
  echo "$output"
}

# Whatever happens, the package does not stay installed.
trap 'dpkg -s venk >/dev/null 2>&1 && dpkg --purge venk >/dev/null; rm -rf "$work"' EXIT

echo "== dpkg -i $(basename "$deb")"
run_dpkg -i "$deb"
[[ "$(venk -v)" == 1.2 ]] || fail "venk -v does not print 1.2"
[[ "$(command -v venk)" == /usr/bin/venk ]] || fail "the tool is not /usr/bin/venk"
[[ "$(man -w venk)" == /usr/share/man/man1/venk.1* ]] || fail "man -w venk does not find the page"
for file in LICENSE copyright; do
  [[ -s /usr/share/doc/venk/$file ]] || fail "/usr/share/doc/venk/$file is missing"
done

echo "-- consumer through find_package(venk)"
run_cmake_consumer "$work/cmake-consumer"
echo "-- consumer through pkg-config"
run_pkg_config_consumer "$work/pkg-config-consumer"
echo "-- Python through ctypes, the library found by the loader alone"
env -u LD_LIBRARY_PATH python3 "$consumer_dir/venk_ctypes.py" || fail "ctypes.CDLL(\"libvenk.so.1\") failed"

# Purged, not removed: CPack's ldconfig call in postrm keeps a removed
# package known to dpkg.
echo "== dpkg --purge venk"
run_dpkg --purge venk
[[ ! -e /usr/bin/venk && ! -e /usr/include/venk ]] || fail "files are left after dpkg --purge"
[[ $(ldconfig -p) != *libvenk* ]] || fail "the loader still lists libvenk after dpkg --purge"
echo "== Debian package test passed"
