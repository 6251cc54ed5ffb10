#!/usr/bin/env bash
# Installs venk into a temporary prefix, once as a static and once as a shared
# library, and builds and runs the consumer programs, in C++ and in C99,
# against each install: through find_package(venk) and through pkg-config;
# and drives the shared one from Python through ctypes. Then builds the
# consumers once more with the source tree added by add_subdirectory. Exits
# non-zero on any failure.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=tests/package/checks.sh
source "$source_dir/tests/package/checks.sh"

# A shared library exports the public interface and nothing else of venk.
check_exported_symbols() {
  local library=$1 leaked
  local calls='(de)?compress(_(tiles|memory)(_at_level|_with_stats)?)?\(|(image_)?result_message\(|(read|write)_png\(|make_tile_map\('
  leaked=$(nm -DC --defined-only "$library" | grep 'venk::' | grep -vE "venk::($calls|(Input|Output)Stream\b)" || true)
  [[ -z "$leaked" ]] || fail "internal symbols are exported: $leaked"
}

check_manual_page() {
  local page=$1 warnings_seen
  command -v man >/dev/null || { echo "== man is not installed; manual page not rendered"; return; }
  warnings_seen=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) ||
    fail "man could not render the manual page"
  [[ -z "$warnings_seen" ]] || fail "the manual page renders with warnings: $warnings_seen"
}

for linkage in static shared; do
  echo "== package test, $linkage library"
  build="$work/$linkage-build"
  prefix="$work/$linkage-prefix"
  shared=OFF library=libvenk.a
  [[ $linkage == shared ]] && shared=ON library=libvenk.so
  cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=$shared \
    -DVENK_BUILD_TESTS=OFF >"$build.log" || { cat "$build.log"; fail "venk did not configure"; }
  cmake --build "$build" -j 2
  # The prefix is chosen only now, as a packager would.
  cmake --install "$build" --prefix "$prefix" >/dev/null
  check_installed_files "$prefix" lib "$library"
  if [[ $linkage == shared ]]; then
    check_exported_symbols "$prefix/lib/$library"
    check_exported_symbols "$prefix/lib/libvenk_image.so"
  fi

  echo "-- consumer through find_package(venk)"
  run_cmake_consumer "$work/$linkage-cmake-consumer" -DCMAKE_PREFIX_PATH="$prefix"

  echo "-- consumer through pkg-config"
  PKG_CONFIG_PATH="$prefix/lib/pkgconfig" LD_LIBRARY_PATH="$prefix/lib" \
    run_pkg_config_consumer "$work/$linkage-pkg-config-consumer"

  if [[ $linkage == shared ]]; then
    echo "-- Python through ctypes"
    python3 "$consumer_dir/venk_ctypes.py" "$prefix/lib/libvenk.so.1"
  fi
done

check_manual_page "$work/static-prefix/share/man/man1/venk.1"

echo "== package test, source tree added with add_subdirectory"
run_cmake_consumer "$work/subdirectory-consumer" -DVENK_SOURCE_DIR="$source_dir"
echo "== package test passed"
