#!/usr/bin/env bash
# Whole-process times of `venk -c`, the plain scan, `venk -d` and `cp` on the
# benchmark blobs (median of repeated runs), then the peak resident memory of
# venk on each of them and on a 256 MiB random file.
#
#   bench/compare.sh            build in Release into build-bench/ and measure
#   RUNS=21 bench/compare.sh    more runs per median (default 11; the plain
#                               scan's slow cases run PLAIN_RUNS times, default 3)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-bench
runs=${RUNS:-11}
plain_runs=${PLAIN_RUNS:-3}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVENK_BUILD_TESTS=OFF -DVENK_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j2 >/dev/null
venk=$build/venk
plain=$build/bench/venk-plain-scan

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Median wall time in microseconds of running the command $1 times. Failing
# runs count too: rejecting a too-big input is part of what is measured.
median_us() {
  local count=$1 i start
  shift
  local times=()
  for ((i = 0; i < count; i++)); do
    start=${EPOCHREALTIME/./}
    "$@" >/dev/null 2>&1 || true
    times+=($((${EPOCHREALTIME/./} - start)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$((count / 2 + 1))p"
}

ms() { awk -v us="$1" 'BEGIN { printf "%.2f", us / 1000 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f×", a / b }'; }

echo "Whole-process wall time, median of $runs runs (plain scan: $plain_runs on worst), in ms."
echo "Inputs are 65535 tiles (2 MiB less 32 bytes); random overflows the dictionary."
echo
echo "| input | cp | venk -c | plain scan | venk -d | -c / cp | plain / -c | -d / cp |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|"
for input in worst zero straddle random; do
  blob=$work/$input.bin
  "$build/bench/make-input" "$input" "$blob"
  copy=$(median_us "$runs" cp "$blob" "$work/copy.bin")
  compress=$(median_us "$runs" "$venk" -c "$blob" "$work/$input.venk")
  scan_runs=$([[ $input == worst ]] && echo "$plain_runs" || echo "$runs")
  scan=$(median_us "$scan_runs" "$plain" "$blob" "$work/plain.venk")
  if "$venk" -c "$blob" "$work/$input.venk" 2>/dev/null; then
    cmp -s "$work/$input.venk" "$work/plain.venk" || { echo "plain scan wrote a different stream" >&2; exit 1; }
    expand=$(median_us "$runs" "$venk" -d "$work/$input.venk" "$work/back.bin")
    cmp -s "$blob" "$work/back.bin" || { echo "round trip failed on $input" >&2; exit 1; }
    echo "| $input | $(ms "$copy") | $(ms "$compress") | $(ms "$scan") | $(ms "$expand") |" \
      "$(ratio "$compress" "$copy") | $(ratio "$scan" "$compress") | $(ratio "$expand" "$copy") |"
  else
    echo "| $input (too big) | $(ms "$copy") | $(ms "$compress") | $(ms "$scan") | – |" \
      "$(ratio "$compress" "$copy") | $(ratio "$scan" "$compress") | – |"
  fi
done

big=$work/random256.bin
head -c $((256 << 20)) /dev/urandom >"$big"
big_runs=$(((runs + 1) / 2))
copy=$(median_us "$big_runs" cp "$big" "$work/copy.bin")
compress=$(median_us "$big_runs" "$venk" -c "$big" "$work/big.venk")
echo "| random 256 MiB (too big) | $(ms "$copy") | $(ms "$compress") | – | – | $(ratio "$compress" "$copy") | – | – |"

if [[ -x /usr/bin/time ]]; then
  echo
  echo "Peak resident memory (GNU time, maximum resident set size):"
  echo
  echo "| run | KiB |"
  echo "|---|---:|"
  peak() { /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>&1 || true; tail -n 1 "$work/rss"; }
  for input in worst zero straddle random; do
    echo "| venk -c $input | $(peak "$venk" -c "$work/$input.bin" "$work/out.venk") |"
  done
  echo "| venk -c random 256 MiB | $(peak "$venk" -c "$big" "$work/out.venk") |"
  echo "| venk -d worst | $(peak "$venk" -d "$work/worst.venk" "$work/out.bin") |"
  echo "| cp worst | $(peak cp "$work/worst.bin" "$work/out.bin") |"
fi
