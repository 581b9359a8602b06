#!/usr/bin/env bash
# What a clock that shows the seconds costs: kivhost headless with the
# clock sample skin against Conky writing ${time %H:%M:%S} to the console
# once a second, then kivhost with 1, 10 and 50 clock desklets in one
# process. Each runs on its own; after start-up and a few seconds to settle
# the script samples it over SECONDS seconds: CPU time (% of a core),
# wake-ups (context switches of all its threads) per second and resident
# memory, and prints them in one table. For kivhost the table also says how
# many of its clocks showed another time at the end than at the start.
#
#   bench/clock/clock.sh [BIN_DIR] [SECONDS]
#
# BIN_DIR defaults to build/release/bin, SECONDS to 60. CLOCK_SKIN names
# another skin to run instead of skins/clock/clock.xml. Conky comes with
# scripts/install-deps --bench; without it only kivhost is measured.
set -euo pipefail
export LC_ALL=C  # decimal points in the figures
cd "$(dirname "$0")/../.."
source bench/support/process_cost.sh
bin=${1:-build/release/bin}
seconds=${2:-60}
skin=${CLOCK_SKIN:-skins/clock/clock.xml}
settle=3
startup_limit=120  # seconds for kivhost to make all its desklets

[ -x "$bin/kivhost" ] || { echo "clock.sh: no kivhost in $bin (build it first, see README.md)" >&2; exit 1; }
[ -f "$skin" ] || { echo "clock.sh: no skin $skin" >&2; exit 1; }

work=$(mktemp -d)
child=""
cleanup() {
  if [ -n "$child" ]; then kill "$child" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

rows=()
# row LABEL STARTUP_SECONDS "SECONDS CPU WAKEUPS RSS THREADS" (process_cost's line) TICKING
row() {
  local t cpu wakeups rss threads
  read -r t cpu wakeups rss threads <<< "$3"
  rows+=("$(printf "%-20s %8s %12s %12s %8s %8s %9s" "$1" "$2" "$cpu" "$wakeups" "$rss" "$threads" "$4")")
}
# row_failed LABEL WHAT_HAPPENED: the script ends with a failure then.
failed=0
row_failed() { rows+=("$(printf "%-20s %s" "$1" "$2")"); failed=1; }
row_skipped() { rows+=("$(printf "%-20s %s" "$1" "$2")"); }

measure_conky() {
  if ! command -v conky > /dev/null; then
    echo "clock.sh: conky is not installed; scripts/install-deps --bench installs it (Debian package conky-std)" >&2
    row_skipped "conky" "not installed (scripts/install-deps --bench)"
    return
  fi
  cat > "$work/conky.conf" <<'CONF'
conky.config = {
  out_to_console = true,
  out_to_x = false,
  background = false,
  update_interval = 1,
}
conky.text = [[${time %H:%M:%S}]]
CONF
  echo "clock.sh: conky for $seconds s" >&2
  conky -c "$work/conky.conf" > /dev/null 2> "$work/conky.err" &
  child=$!
  sleep "$settle"
  local figures
  if ! figures=$(process_cost "$child" "$seconds"); then
    echo "clock.sh: conky stopped; it said:" >&2
    cat "$work/conky.err" >&2
    row_failed "conky" "stopped early"
    child=""
    return
  fi
  kill "$child" 2>/dev/null || true
  wait "$child" 2> /dev/null || true
  child=""
  row "conky" "-" "$figures" "-"
}

# How many desklets of the state file AFTER show another picture in their
# time layer than in BEFORE, as "CHANGED/ALL".
clocks_ticking() {
  python3 - "$1" "$2" <<'PY'
import json, sys
def digests(path):
    return [next((l["image"] or {}).get("sha256") for l in d["layers"] if l["name"] == "time")
            for d in json.load(open(path))["desklets"]]
before, after = digests(sys.argv[1]), digests(sys.argv[2])
print("%d/%d" % (sum(a != b for a, b in zip(before, after)), len(after)))
PY
}

# The scenario writes a state file first: it runs once every desklet is
# made, so its file says that start-up is over. After the sampling it
# writes another, to see whether the clocks went on, and kivhost then
# closes its desklets and ends by itself. The desklets' error-log lines go
# to a file that is shown when it is not empty.
measure_kivhost() {
  local count=$1 label=$2 skins=() i
  for (( i = 0; i < count; i++ )); do skins+=("$skin"); done
  local ready="$work/ready-$count.json" after="$work/after-$count.json" scenario="$work/scenario-$count.txt"
  local log="$work/kivhost-$count.err"
  printf 'state %s\nwait %d\nstate %s\nwait 1000\n' "$ready" $(( (settle + seconds + 1) * 1000 )) "$after" \
    > "$scenario"
  echo "clock.sh: kivhost with $count desklet(s) for $seconds s" >&2
  local start end figures status=0
  start=$(date +%s.%N)
  "$bin/kivhost" --headless --scenario "$scenario" "${skins[@]}" 2> "$log" &
  child=$!
  while [ ! -s "$ready" ]; do
    if ! kill -0 "$child" 2>/dev/null; then
      wait "$child" || status=$?
      child=""
      row_failed "$label" "ended with $status during start-up"
      return
    fi
    if awk -v s="$start" -v now="$(date +%s.%N)" -v lim="$startup_limit" 'BEGIN { exit !(now - s > lim) }'; then
      kill "$child" 2>/dev/null || true
      wait "$child" 2>/dev/null || true
      child=""
      row_failed "$label" "not started after $startup_limit s"
      return
    fi
    sleep 0.1
  done
  end=$(date +%s.%N)
  sleep "$settle"
  if ! figures=$(process_cost "$child" "$seconds"); then
    wait "$child" || status=$?
    child=""
    row_failed "$label" "ended with $status before the sampling was over"
    return
  fi
  wait "$child" || status=$?
  child=""
  if [ -s "$log" ]; then
    echo "clock.sh: kivhost with $count desklet(s) said $(wc -l < "$log") line(s), the first of them:" >&2
    head -n 6 "$log" >&2
  fi
  if [ "$status" -ne 0 ]; then
    row_failed "$label" "exited with $status at its end"
    return
  fi
  row "$label" "$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }')" "$figures" \
      "$(clocks_ticking "$ready" "$after")"
}

measure_conky
measure_kivhost 1 "kivhost, 1 clock"
measure_kivhost 10 "kivhost, 10 clocks"
measure_kivhost 50 "kivhost, 50 clocks"

echo
echo "Clocks over $seconds s each, after start-up and $settle s to settle ($skin):"
printf "%-20s %8s %12s %12s %8s %8s %9s\n" "" "start s" "CPU % core" "wake-ups/s" "RSS MB" "threads" "ticking"
printf "%s\n" "${rows[@]}"
exit "$failed"
