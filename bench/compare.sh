#!/usr/bin/env bash
# Whole-process times of `venk -c`, `venk -c -b`, the plain scan, `venk -d`
# and `cp` on the benchmark blobs (median of repeated runs); then `venk -c`
# against the build whose index has a fixed key on the worst case and on the
# flood aimed at that key; then the peak resident memory of venk on each blob
# and on a 256 MiB random file.
#
#   bench/compare.sh            build the bench preset (Release, build-bench/) and measure
#   RUNS=21 bench/compare.sh    more runs per median (default 11); the plain
#                               scan and the fixed-key build run PLAIN_RUNS
#                               times on worst and flood (default 3)
#
# The commands take turns within each round, so a machine whose load changes
# during the measurement slows all of them alike.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-bench
runs=${RUNS:-11}
plain_runs=${PLAIN_RUNS:-3}

(cd "$root" && cmake --workflow --preset bench >/dev/null)
venk=$build/venk
plain=$build/bench/venk-plain-scan
fixed=$build/bench/venk-fixed-key

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs the command once and adds its wall time in microseconds to the list
# named by $1. Failing runs count too: rejecting an input is measured as well.
time_once() {
  local list=$work/$1.times start
  shift
  start=${EPOCHREALTIME/./}
  "$@" >/dev/null 2>&1 || true
  echo $((${EPOCHREALTIME/./} - start)) >>"$list"
}

# The inputs on which the plain scan and the fixed-key build take seconds, so
# they run only PLAIN_RUNS times.
slow_for_some() { [[ $1 == worst || $1 == flood ]]; }

median_ms() { sort -n "$work/$1.times" | awk '{ t[NR] = $1 } END { printf "%.2f", t[int((NR + 1) / 2)] / 1000 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f×", a / b }'; }

# Times every command for one input; `venk -d` only if the input compresses.
measure() {
  local input=$1 blob=$2 rounds=$3 scan_rounds=$4 round
  local stream=$work/$input.venk
  local expands=false
  if "$venk" -c "$blob" "$stream" 2>/dev/null; then
    expands=true
    if [[ $scan_rounds -gt 0 ]]; then
      "$plain" "$blob" "$work/plain.venk"
      cmp -s "$stream" "$work/plain.venk" || { echo "the plain scan wrote another stream" >&2; exit 1; }
    fi
    if slow_for_some "$input"; then
      "$fixed" "$blob" "$work/fixed.venk"
      cmp -s "$stream" "$work/fixed.venk" || { echo "the fixed-key build wrote another stream" >&2; exit 1; }
    fi
    "$venk" -d "$stream" "$work/back.bin"
    cmp -s "$blob" "$work/back.bin" || { echo "$input did not come back unchanged" >&2; exit 1; }
    "$venk" -c -b "$blob" "$work/best.venk"
    "$venk" -d "$work/best.venk" "$work/back.bin"
    cmp -s "$blob" "$work/back.bin" || { echo "$input did not come back unchanged from -b" >&2; exit 1; }
  fi
  for ((round = 0; round < rounds; round++)); do
    time_once "$input.cp" cp "$blob" "$work/copy.bin"
    time_once "$input.c" "$venk" -c "$blob" "$work/out.venk"
    time_once "$input.b" "$venk" -c -b "$blob" "$work/out.venk"
    if $expands; then time_once "$input.d" "$venk" -d "$stream" "$work/out.bin"; fi
    if ((round < scan_rounds)); then time_once "$input.plain" "$plain" "$blob" "$work/out.venk"; fi
    if slow_for_some "$input" && ((round < plain_runs)); then
      time_once "$input.fixed" "$fixed" "$blob" "$work/out.venk"
    fi
  done
  local copy compress best scan="–" expand="–" scan_ratio="–" expand_ratio="–" name=$input
  copy=$(median_ms "$input.cp")
  compress=$(median_ms "$input.c")
  best=$(median_ms "$input.b")
  if ((scan_rounds > 0)); then
    scan=$(median_ms "$input.plain")
    scan_ratio=$(ratio "$scan" "$compress")
  fi
  if $expands; then
    expand=$(median_ms "$input.d")
    expand_ratio=$(ratio "$expand" "$copy")
  else
    name="$input (too big)"
  fi
  echo "| $name | $copy | $compress | $best | $scan | $expand | $(ratio "$compress" "$copy") | $(ratio "$best" "$compress") | $scan_ratio | $expand_ratio |"
}

echo "Whole-process wall time in ms, median of $runs runs ($plain_runs for the plain scan on worst and flood)."
echo
echo "| input | cp | venk -c | venk -c -b | plain scan | venk -d | -c / cp | -b / -c | plain / -c | -d / cp |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for input in worst flood zero straddle random; do
  "$build/bench/make-input" "$input" "$work/$input.bin"
  scan_rounds=$(slow_for_some "$input" && echo "$plain_runs" || echo "$runs")
  measure "$input" "$work/$input.bin" "$runs" "$scan_rounds"
done
big=$work/random256.bin
head -c $((256 << 20)) /dev/urandom >"$big"
measure "random 256 MiB" "$big" $(((runs + 1) / 2)) 0

echo
echo "The flood against the index: its blocks all start their search in one slot of an index keyed with"
echo "the fixed key of venk-fixed-key ($plain_runs runs). venk -c must stay within 3× of its own time on worst."
echo
echo "| input | venk -c | fixed-key build | venk -c / worst | fixed key / worst |"
echo "|---|---:|---:|---:|---:|"
worst_c=$(median_ms worst.c)
for input in worst flood; do
  compress=$(median_ms "$input.c")
  fixed_key=$(median_ms "$input.fixed")
  echo "| $input | $compress | $fixed_key | $(ratio "$compress" "$worst_c") | $(ratio "$fixed_key" "$worst_c") |"
done

echo
echo "Peak resident memory in KiB (maximum resident set size from GNU time):"
echo
echo "| run | KiB |"
echo "|---|---:|"
peak() { /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>&1 || true; tail -n 1 "$work/rss"; }
for input in worst flood zero straddle random; do
  echo "| venk -c $input | $(peak "$venk" -c "$work/$input.bin" "$work/out.venk") |"
  echo "| venk -c -b $input | $(peak "$venk" -c -b "$work/$input.bin" "$work/out.venk") |"
done
echo "| venk -c random 256 MiB | $(peak "$venk" -c "$big" "$work/out.venk") |"
echo "| venk -c -b random 256 MiB | $(peak "$venk" -c -b "$big" "$work/out.venk") |"
echo "| venk -d worst | $(peak "$venk" -d "$work/worst.venk" "$work/out.bin") |"
echo "| cp worst | $(peak cp "$work/worst.bin" "$work/out.bin") |"
