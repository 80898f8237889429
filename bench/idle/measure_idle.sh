#!/usr/bin/env bash
# What a program costs while it shows a still screen: starts it on the X server in DISPLAY,
# lets it settle, then over a window of seconds reads the CPU time of all its threads
# (/proc/<pid>/task/*/schedstat, in nanoseconds) and their context switches (voluntary and not, summed over
# /proc/<pid>/task/*/status: each is a wake-up), and prints CPU % of one core and wake-ups/s.
#   bench/idle/measure_idle.sh <program> [settle seconds] [window seconds] [args...]
# With PER_THREAD=1 it also lists each thread that woke at least once a second.
# The program is ended (SIGTERM, by its own process id) afterwards. Run it once for the game
# and once for build/bench/bench/idle_reference and compare the two lines.
set -euo pipefail
program=$1
settle=${2:-15}
window=${3:-30}
shift $(($# < 3 ? $# : 3))
[ -n "${DISPLAY:-}" ] || { echo "needs DISPLAY" >&2; exit 2; }

"$program" "$@" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
sleep "$settle"
kill -0 "$pid" 2>/dev/null || { echo "$program ended before the measurement" >&2; exit 1; }

cpu_ns() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{n += $1} END {printf "%.0f", n}'; }
switches() {
  cat /proc/"$pid"/task/*/status 2>/dev/null |
    awk '/^voluntary_ctxt_switches/ {n += $2} END {print n}'
}
threads() { ls /proc/"$pid"/task | wc -l; }

per_thread() {
  for t in /proc/"$pid"/task/*; do
    echo "$(basename "$t") $(tr ' ' _ <"$t/comm") $(awk '/^voluntary_ctxt_switches/ {print $2}' "$t/status")"
  done 2>/dev/null | sort
}
p0=$(per_thread)
c0=$(cpu_ns); s0=$(switches); t0=$(date +%s.%N)
sleep "$window"
c1=$(cpu_ns); s1=$(switches); t1=$(date +%s.%N)
p1=$(per_thread)
awk -v c="$((c1 - c0))" -v s="$((s1 - s0))" -v t0="$t0" -v t1="$t1" \
    -v name="$(basename "$program")" -v th="$(threads)" 'BEGIN {
  secs = t1 - t0
  printf "%-16s threads %2d  cpu %6.3f %%  wake-ups %7.1f /s\n", name, th, 100 * c / 1e9 / secs, s / secs
}'
if [ "${PER_THREAD:-0}" = 1 ]; then
  join <(echo "$p0") <(echo "$p1") | awk -v w="$window" '{r = ($5 - $3) / w; if (r >= 1) printf "    %-16s %7.1f /s\n", $2, r}' | sort -k2 -rn
fi
