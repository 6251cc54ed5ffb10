# Sourced by the checks that need compilers or cross tools:
#   require_tools TOOL...
# ends the check with 77 (skipped, for CTest) when one of them is missing,
# or fails it when VENK_REQUIRE_CROSS_TOOLS is set, as in CI; and
#   fail MESSAGE...
# fails it with that message.
require_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      [[ -n ${VENK_REQUIRE_CROSS_TOOLS:-} ]] && { echo "$tool is missing" >&2; exit 1; }
      echo "skipped: $tool is missing"
      exit 77
    fi
  done
}

fail() {
  echo "$*" >&2
  exit 1
}
