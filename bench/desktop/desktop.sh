#!/usr/bin/env bash
# What desklets on a desktop cost: kivhost with the sample desklet on an Xvfb
# display of the script's own, idle for SECONDS seconds (CPU time, wake-ups,
# memory), then with 10 sample desklets, for the memory each one beyond the
# first adds. With the frame probe (built with the benchmarks) also: the
# frames a second of a 400x400 desklet whose one layer moves every 16 ms,
# with the CPU time it takes, and the time from a button press to the new
# pixels of the sample's button.
#
#   bench/desktop/desktop.sh [BIN_DIR] [SECONDS] [PROBE]
#
# BIN_DIR defaults to build/release/bin, SECONDS to 60, PROBE to
# build/bench/bin/frame_probe. Needs Xvfb (scripts/install-deps installs it).
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/../.."
source bench/support/process_cost.sh
bin=${1:-build/release/bin}
seconds=${2:-60}
probe=${3:-build/bench/bin/frame_probe}
settle=3
skin=$bin/hello/hello.xml

command -v Xvfb >/dev/null || { echo "desktop.sh: Xvfb is missing (scripts/install-deps)" >&2; exit 1; }
[ -x "$bin/kivhost" ] || { echo "desktop.sh: no kivhost in $bin (build it first, see README.md)" >&2; exit 1; }

# kivhost keeps the desklets it shows; these are the script's own.
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
display=":$(( 500 + $$ % 400 ))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
child=""
cleanup() {
  if [ -n "$child" ]; then kill "$child" 2>/dev/null || true; fi
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$XDG_CONFIG_HOME" "${work:-}"
}
trap cleanup EXIT
sleep 1

# measure COUNT: kivhost with COUNT sample desklets; prints process_cost's line.
measure() {
  local count=$1 skins=()
  for ((i = 0; i < count; i++)); do skins+=("$skin"); done
  # NOTE: no accessibility bus on the script's display.
  DISPLAY=$display NO_AT_BRIDGE=1 "$bin/kivhost" --quiet "${skins[@]}" 2>/dev/null &
  child=$!
  sleep "$settle"
  local line
  line=$(process_cost "$child" "$seconds")
  kill "$child"
  wait "$child" 2>/dev/null || true
  child=""
  echo "$line"
}

# The moving desklet: the sample's pictures, one layer stepping along.
work=$(mktemp -d)
cp "$bin/hello/panel.png" "$bin/hello/dot_red.png" "$work/"
cat > "$work/moving.xml" <<'XML'
<skindata><skininfo><name>Moving</name></skininfo>
  <sides><side id="0" width="400" height="400"/></sides>
  <desklet><label>MovingTest</label><oncreate>var x = 0</oncreate></desklet>
  <timers><timer name="step" type="0" interval="16" ontimer="x = (x + 3) % 380; kiv.Layers('dot').X = x"/></timers>
  <layers>
    <layer name="panel" src="panel.png" width="400" height="400"/>
    <layer name="dot" src="dot_red.png" x="0" y="190"/>
  </layers></skindata>
XML

echo "desktop.sh: one idle desklet for $seconds s" >&2
one=$(measure 1)
echo "desktop.sh: ten idle desklets for $seconds s" >&2
ten=$(measure 10)

fps="-"; moving="-"; latency="-"
if [ -x "$probe" ]; then
  echo "desktop.sh: a moving desklet for $seconds s" >&2
  DISPLAY=$display NO_AT_BRIDGE=1 "$bin/kivhost" --quiet "$work/moving.xml" 2>/dev/null &
  child=$!
  sleep "$settle"
  DISPLAY=$display "$probe" fps MovingTest "$seconds" > "$work/fps" &
  moving=$(process_cost "$child" "$seconds")
  wait $! || true
  fps=$(cat "$work/fps")
  kill "$child"; wait "$child" 2>/dev/null || true; child=""

  echo "desktop.sh: presses on the sample's button" >&2
  DISPLAY=$display NO_AT_BRIDGE=1 "$bin/kivhost" --quiet "$skin" 2>/dev/null &
  child=$!
  sleep "$settle"
  # The sun button of the sample, at (12, 72) on a desklet at (100, 100).
  latency=$(DISPLAY=$display "$probe" latency "Hello, Vorel" 132 192 30 || echo "-")
  kill "$child"; wait "$child" 2>/dev/null || true; child=""
else
  echo "desktop.sh: no frame probe at $probe (build the benchmarks); frames and latency left out" >&2
fi

awk -v one="$one" -v ten="$ten" -v s="$seconds" -v fps="$fps" -v moving="$moving" -v latency="$latency" 'BEGIN {
  split(one, a, " "); split(ten, b, " ")
  printf "Idle desklets on Xvfb over %d s each:\n", s
  printf "%-22s %12s %12s %8s %8s\n", "", "CPU % core", "wake-ups/s", "RSS MB", "threads"
  printf "%-22s %12.3f %12.2f %8.1f %8d\n", "kivhost, 1 desklet", a[2], a[3], a[4], a[5]
  printf "%-22s %12.3f %12.2f %8.1f %8d\n", "kivhost, 10 desklets", b[2], b[3], b[4], b[5]
  printf "each desklet beyond the first: %.2f MB\n", (b[4] - a[4]) / 9
  if (fps != "-") {
    split(moving, m, " ")
    printf "a 400x400 desklet with a layer moving every 16 ms: %s frames/s at %.1f %% of a core\n", fps, m[2]
  }
  if (latency != "-") printf "button press to new pixels: %s ms (median of 30)\n", latency
}'
