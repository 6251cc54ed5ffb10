#!/usr/bin/env bash
# Runs the Install recipe from README.md, as written there, on a copy of the
# source tree as a machine without GoogleTest would: the configure command
# gets -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON and the prefix is a scratch
# directory instead of /usr/local. Then checks what it installed and that the
# configure step said, in one line, why no tests were built.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=tests/package/checks.sh
source "$source_dir/tests/package/checks.sh"

# The first sh block after the Install heading.
recipe=$(awk '/^## Install$/ { found = 1 } found && /^```sh$/ { inside = 1; next }
              inside && /^```$/ { exit } inside { print }' "$source_dir/README.md")
[[ -n $recipe ]] || fail "README.md has no Install recipe"
prefix="$work/prefix"
edited=$(sed -e 's|^cmake -S \. -B build |&-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON |' \
  -e "s|--prefix /usr/local|--prefix '$prefix'|" <<<"$recipe")
if ! grep -q 'DISABLE_FIND_PACKAGE_GTest' <<<"$edited" || ! grep -q -- "--prefix '$prefix'" <<<"$edited"; then
  fail "the Install recipe no longer has the configure and install lines this test edits: $recipe"
fi

# A fresh tree holding what git tracks (or would track), with no build directory.
mkdir "$work/venk"
(cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 tar -cf - --no-recursion) | tar -xf - -C "$work/venk"

echo "== README Install recipe, without GoogleTest"
echo "$edited"
(cd "$work/venk" && bash -euo pipefail -c "$edited") >"$work/recipe.log" 2>&1 ||
  { cat "$work/recipe.log"; fail "the Install recipe failed"; }
grep -q 'GoogleTest not found: the tests are not built' "$work/recipe.log" ||
  fail "configure did not say that the tests are not built"
[[ ! -e "$work/venk/build/tests" ]] || fail "the tests were configured without GoogleTest"
check_installed_files "$prefix" lib libvenk.a
echo "== Install recipe passed"
