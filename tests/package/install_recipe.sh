#!/usr/bin/env bash
# Runs the Install recipe from README.md, as written there, on a copy of the
# source tree, with a scratch directory as the prefix instead of /usr/local.
# Then checks what it installed, and that it built the tool and the library
# only, not the tests, even where GoogleTest is installed (as in CI).
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
edited=$(sed -e "s|--prefix /usr/local|--prefix '$prefix'|" <<<"$recipe")
grep -q -- "--prefix '$prefix'" <<<"$edited" ||
  fail "the Install recipe no longer has the install line this test edits: $recipe"

# A fresh tree holding what git tracks (or would track), with no build directory.
mkdir "$work/venk"
(cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 tar -cf - --no-recursion) | tar -xf - -C "$work/venk"

echo "== README Install recipe"
echo "$edited"
(cd "$work/venk" && bash -euo pipefail -c "$edited") >"$work/recipe.log" 2>&1 ||
  { cat "$work/recipe.log"; fail "the Install recipe failed"; }
[[ ! -e "$work/venk/build/tests" ]] || fail "the Install recipe built the tests"
check_installed_files "$prefix" lib libvenk.a
echo "== Install recipe passed"
