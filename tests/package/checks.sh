# shellcheck shell=bash
# Shell functions shared by the package tests (run.sh, deb.sh,
# install_recipe.sh), which source this file. They expect $work to name a
# scratch directory.

consumer_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_root=$(cd "$consumer_dir/../.." && pwd)
warnings=(-Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow -Werror)
c_warnings=(-Wall -Wextra -pedantic -Werror)

fail() {
  echo "package test: $*" >&2
  exit 1
}

# Configures and builds one consumer project with the given extra options.
build_consumer_project() {
  local project=$1 build=$2
  shift 2
  cmake -S "$project" -B "$build" -DCMAKE_BUILD_TYPE=Release "$@" >"$build.log" ||
    { cat "$build.log"; fail "the consumer project in $project did not configure"; }
  cmake --build "$build" -j 2
}

# Builds and runs the C++ and the C consumer project with the given extra
# options.
run_cmake_consumer() {
  local build=$1
  shift
  build_consumer_project "$consumer_dir" "$build" "$@"
  build_consumer_project "$consumer_dir/c" "$build-c" "$@"
  "$build/consumer"
  "$build-c/consumer_c" "$source_root"
  "$build-c/image_consumer_c"
}

# Compiles and runs the C++ and the C consumer with the flags pkg-config
# gives for venk; PKG_CONFIG_PATH and LD_LIBRARY_PATH are taken from the
# caller.
run_pkg_config_consumer() {
  local program=$1
  # shellcheck disable=SC2046 # the flags are meant to split into words
  "${CXX:-c++}" -std=c++20 "${warnings[@]}" "$consumer_dir/consumer.cpp" -o "$program" \
    $(pkg-config --cflags --libs venk)
  "$program"
  # shellcheck disable=SC2046
  "${CC:-cc}" -std=c99 "${c_warnings[@]}" "$consumer_dir/consumer.c" -o "$program-c" \
    $(pkg-config --cflags --libs venk)
  "$program-c" "$source_root"
  # shellcheck disable=SC2046
  "${CC:-cc}" -std=c99 "${c_warnings[@]}" "$consumer_dir/image_consumer.c" -o "$program-image-c" \
    $(pkg-config --cflags --libs venk-image)
  "$program-image-c"
}

# Checks that everything an install puts in place is there under the prefix,
# with the library directory and library file named, and that the tool runs.
check_installed_files() {
  local prefix=$1 libdir=$2 library=$3
  for file in bin/venk include/venk/venk.hpp include/venk/venk.h include/venk/export.hpp "$libdir/$library" \
    "$libdir/cmake/venk/venkConfig.cmake" "$libdir/cmake/venk/venkConfigVersion.cmake" \
    "$libdir/pkgconfig/venk.pc" share/man/man1/venk.1 share/doc/venk/LICENSE \
    include/venk/image.hpp include/venk/image.h "$libdir/cmake/venk/venkImageTargets.cmake" \
    "$libdir/pkgconfig/venk-image.pc"; do
    [[ -e "$prefix/$file" ]] || fail "$file is not installed"
  done
  [[ "$("$prefix/bin/venk" -v)" == 1.2 ]] || fail "the installed tool does not run"
}
