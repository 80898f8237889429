#!/usr/bin/env bash
# Runs each program in programs/ with tvlua and with the stock `lua5.1' interpreter (Debian's
# lua5.1 package, which this script needs), checks that both print the same, and prints the
# time ratio tvlua / lua5.1 per program (best of several runs) and their geometric mean.
#   bench/script/compare.sh [path/to/tvlua] [runs]
# Build tvlua optimised first: ./build.sh bench (then build/bench/tools/tvlua/tvlua).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tvlua=${1:-"$here/../../build/bench/tools/tvlua/tvlua"}
runs=${2:-3}
command -v lua5.1 >/dev/null || { echo "needs lua5.1 (apt-get install lua5.1)" >&2; exit 2; }
[ -x "$tvlua" ] || { echo "no tvlua at $tvlua (run ./build.sh bench)" >&2; exit 2; }

# Best wall time of $runs runs in seconds; the program's output goes to $out.
best_time() {
  local best="" t
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s.%N)
    "$@" >"$out"
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  echo "$best"
}

out=$(mktemp)
ref=$(mktemp)
trap 'rm -f "$out" "$ref"' EXIT
printf "%-16s %10s %10s %7s\n" program tvlua lua5.1 ratio
logsum=0
n=0
worst=0
status=0
for prog in "$here"/programs/*.lua; do
  name=$(basename "$prog" .lua)
  tl=$(best_time "$tvlua" "$prog")
  cp "$out" "$ref"
  tr=$(best_time lua5.1 "$prog")
  if ! cmp -s "$out" "$ref"; then
    echo "$name: outputs differ" >&2
    status=1
  fi
  ratio=$(echo "$tl / $tr" | bc -l)
  printf "%-16s %9.3fs %9.3fs %7.2f\n" "$name" "$tl" "$tr" "$ratio"
  logsum=$(echo "$logsum + l($ratio)" | bc -l)
  n=$((n + 1))
  if [ "$(echo "$ratio > $worst" | bc -l)" = 1 ]; then worst=$ratio; fi
done
geo=$(echo "e($logsum / $n)" | bc -l)
printf "geometric mean %.2f, worst %.2f (goal: mean <= 1.0, none above 1.5)\n" "$geo" "$worst"
exit $status
