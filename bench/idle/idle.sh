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
export LC_ALL=C  # decimal points in the figures
cd "$(dirname "$0")/../.."
source bench/support/process_cost.sh
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

read -r t cpu wakeups rss threads < <(process_cost "$pid" "$seconds")
wait "$pid" || true

printf "idle %s for %.1f s: %d threads, %.2f wake-ups/s, CPU %.3f %% of a core, RSS %.1f MB\n" \
       "$skin" "$t" "$threads" "$wakeups" "$cpu" "$rss"
