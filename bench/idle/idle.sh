#!/usr/bin/env bash
# An idle desklet's cost: kivhost runs headless with a skin and a scenario
# that only waits; after start-up the script samples, over SECONDS seconds,
# the context switches of all the process's threads (each one is a wake-up),
# its CPU time, and at the end its resident memory.
#
#   bench/idle/idle.sh [BIN_DIR] [SKIN] [SECONDS]
#
# BIN_DIR defaults to build/release/bin (./run builds it), SKIN to the hello
# sample, SECONDS to 60.
set -euo pipefail
cd "$(dirname "$0")/../.."
bin=${1:-build/release/bin}
skin=${2:-skins/hello/hello.xml}
seconds=${3:-60}
settle=3

scenario=$(mktemp)
trap 'rm -f "$scenario"' EXIT
echo "wait $(( (seconds + settle + 2) * 1000 ))" > "$scenario"
"$bin/kivhost" --headless --quiet --scenario "$scenario" "$skin" &
pid=$!
sleep "$settle"

switches() {
  local total=0 n
  for status in /proc/"$pid"/task/*/status; do
    n=$(awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { s += $2 } END { print s + 0 }' "$status" 2>/dev/null || echo 0)
    total=$(( total + n ))
  done
  echo "$total"
}
cpu_ticks() { awk '{ print $14 + $15 }' /proc/"$pid"/stat; }

s0=$(switches); c0=$(cpu_ticks); t0=$(date +%s.%N)
sleep "$seconds"
s1=$(switches); c1=$(cpu_ticks); t1=$(date +%s.%N)
threads=$(ls /proc/"$pid"/task | wc -l)
rss_kb=$(awk '/^VmRSS/ { print $2 }' /proc/"$pid"/status)
wait "$pid" || true

hz=$(getconf CLK_TCK)
awk -v s="$(( s1 - s0 ))" -v c="$(( c1 - c0 ))" -v t0="$t0" -v t1="$t1" -v hz="$hz" -v rss="$rss_kb" \
    -v threads="$threads" -v skin="$skin" 'BEGIN {
  t = t1 - t0
  printf "idle %s for %.1f s: %d threads, %.2f wake-ups/s, CPU %.3f %% of a core, RSS %.1f MB\n",
         skin, t, threads, s / t, 100 * c / hz / t, rss / 1024
}'
