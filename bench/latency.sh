#!/bin/bash
# Vindelor's latency and start-up next to the floors under them, each screen's figures from one
# run on that screen:
#   - the real Vindelor.exe, driven from outside (LatencyBench): Print Screen to the visible
#     options dialog, and with Immediate Action to the complete page file in the queue's folder;
#   - the capture copy (CaptureBench) next to the least program that copies the screen with
#     BitBlt (BitBltFloor), and beside them the X server's own XGetImage and XShmGetImage of the
#     root window (X11RootImage, native);
#   - the program's start-up (StartupBench) next to the least program that makes the same
#     windows, tray icon and timers in plain Win32, lists the printers, reads the stored settings
#     and enters a message loop (StartupFloor); the difference is the toolkit's own cost.
# The paired programs run alternately, five times each; a figure is the median of their five
# medians, and the spread of those medians (and the lowest single sample) shows how noisy the
# machine was. LatencyBench also times a plain screen BitBlt between its rounds: the load of a
# shared machine changes from minute to minute, and that copy tells what the screen copy cost
# while the program was being timed.
#
#   bench/latency.sh [SCREEN...]    default: 1024x768x24 3840x2160x24
#
# VINDELOR_LATENCY_BUILT=1 skips the setup and the build (bench/run-benchmarks.sh does them).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
if [[ -z ${VINDELOR_LATENCY_BUILT:-} ]]; then
  scripts/setup.sh >/dev/null
  cmake --preset windows >/dev/null
  cmake --build --preset windows >/dev/null
fi
bin=$root/build/windows/bin
native=$root/build/native-bench
mkdir -p "$native"
g++ -std=c++20 -O2 -Wall -Wextra -Werror bench/X11RootImage.cpp -lX11 -lXext \
  -o "$native/X11RootImage"

readonly kPairRuns=5
screens=("$@")
((${#screens[@]})) || screens=(1024x768x24 3840x2160x24)

# value FILE LABEL [WORD]: the number after WORD (default: the label itself) on the line that
# starts with LABEL.
value() {
  awk -v label="$2" -v word="${3:-}" 'index($0, label) == 1 {
      $0 = substr($0, length(label) + 1)
      if (word == "") { print $1; exit }
      for (i = 1; i < NF; ++i) if ($i == word) { print $(i + 1); exit }
    }' "$1"
}

# middle N...: the median of a few numbers; spread N...: "min..max"; lowest N...: the minimum.
lowest() { printf '%s\n' "$@" | sort -g | head -n 1; }
middle() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
spread() { printf '%s\n' "$@" | sort -g | awk 'NR == 1 {lo = $1} {hi = $1} END {print lo ".." hi}'; }

# verdict WHAT FIGURE TARGET: one line of the table.
verdict() {
  awk -v what="$1" -v figure="$2" -v target="$3" 'BEGIN {
      printf "%-46s %9.2f ms   target <= %8.2f ms   %s\n", what, figure, target,
        (figure <= target ? "met" : "missed")
    }'
}

# run STATE LOG PROGRAM...: a Windows program under the state's services, its output kept.
run() {
  local state=$1 log=$2
  shift 2
  harness/wine-run.sh "$state" "$@" | tr -d '\r' >"$log"
}

state=
stop_services() { [[ -z $state ]] || harness/services.sh stop "$state" >/dev/null 2>&1 || true; }
trap stop_services EXIT

for screen in "${screens[@]}"; do
  state=$root/build/windows/latency-$screen
  logs=$state/figures
  VINDELOR_SCREEN=$screen harness/services.sh start "$state" >/dev/null
  mkdir -p "$logs"
  echo
  echo "== screen $screen (load average before: $(cut -d ' ' -f 1-3 /proc/loadavg))"

  own=() floor=() ownFirst=() floorFirst=() copy=() blit=() fresh=() copyMin=() blitMin=()
  for ((i = 1; i <= kPairRuns; ++i)); do
    # StartupBench goes first: its first start writes the settings that StartupFloor reads.
    run "$state" "$logs/startup-$i" "$bin/StartupBench.exe"
    run "$state" "$logs/startup-floor-$i" "$bin/StartupFloor.exe"
    run "$state" "$logs/capture-$i" "$bin/CaptureBench.exe"
    run "$state" "$logs/bitblt-floor-$i" "$bin/BitBltFloor.exe"
    own+=("$(value "$logs/startup-$i" "start-up, entry to message loop" median)")
    ownFirst+=("$(value "$logs/startup-$i" "start-up, first run in the process")")
    floor+=("$(value "$logs/startup-floor-$i" "floor start-up, entry to message loop" median)")
    floorFirst+=("$(value "$logs/startup-floor-$i" "floor start-up, first run in the process")")
    copy+=("$(value "$logs/capture-$i" "capture copy (steps 4-9)" median)")
    blit+=("$(value "$logs/bitblt-floor-$i" "floor BitBlt, kept bitmap" median)")
    fresh+=("$(value "$logs/bitblt-floor-$i" "floor BitBlt, new bitmap each time" median)")
    copyMin+=("$(value "$logs/capture-$i" "capture copy (steps 4-9)" min)")
    blitMin+=("$(value "$logs/bitblt-floor-$i" "floor BitBlt, kept bitmap" min)")
  done
  # shellcheck source=/dev/null # written by services.sh
  (source "$state/env" && "$native/X11RootImage") >"$logs/x11"
  run "$state" "$logs/latency" "$bin/LatencyBench.exe"
  harness/services.sh stop "$state" >/dev/null
  state=

  head -n 1 "$logs/capture-1"
  echo "-- median of $kPairRuns runs' medians   [spread of those medians]   lowest sample"
  printf '%-46s %9.2f ms   [%s]   %s ms\n' \
    "capture copy, CopyWindowIntoWorkImage" "$(middle "${copy[@]}")" "$(spread "${copy[@]}")" \
    "$(lowest "${copyMin[@]}")" \
    "floor: BitBlt into a kept bitmap" "$(middle "${blit[@]}")" "$(spread "${blit[@]}")" \
    "$(lowest "${blitMin[@]}")"
  printf '%-46s %9.2f ms   [%s]\n' \
    "floor: DC, new bitmap, BitBlt" "$(middle "${fresh[@]}")" "$(spread "${fresh[@]}")" \
    "start-up, entry to message loop" "$(middle "${own[@]}")" "$(spread "${own[@]}")" \
    "floor: start-up, entry to message loop" "$(middle "${floor[@]}")" "$(spread "${floor[@]}")" \
    "start-up, first in its process" "$(middle "${ownFirst[@]}")" "$(spread "${ownFirst[@]}")" \
    "floor: start-up, first in its process" "$(middle "${floorFirst[@]}")" \
    "$(spread "${floorFirst[@]}")"
  awk -v own="$(middle "${own[@]}")" -v floor="$(middle "${floor[@]}")" 'BEGIN {
      printf "%-46s %9.2f ms\n", "start-up minus floor (the toolkit)", own - floor
    }'
  grep -h " windows: " "$logs/startup-1" "$logs/startup-floor-1" || true
  grep -F "X11" "$logs/x11" || cat "$logs/x11"
  cat "$logs/latency"

  blitMedian=$(middle "${blit[@]}")
  echo "-- targets"
  verdict "capture copy <= 1.2 x floor BitBlt" "$(middle "${copy[@]}")" \
    "$(awk -v b="$blitMedian" 'BEGIN {print 1.2 * b}')"
  verdict "start-up <= floor + 15 ms" "$(middle "${own[@]}")" \
    "$(awk -v f="$(middle "${floor[@]}")" 'BEGIN {print f + 15}')"
  verdict "start-up, first in process <= floor + 15 ms" "$(middle "${ownFirst[@]}")" \
    "$(awk -v f="$(middle "${floorFirst[@]}")" 'BEGIN {print f + 15}')"
  toDialog=$(value "$logs/latency" "key press to visible dialog" median)
  verdict "key press to dialog <= 200 + BitBlt + 40 ms" "$toDialog" \
    "$(awk -v b="$blitMedian" 'BEGIN {print 200 + b + 40}')"
  verdict "  the same, BitBlt timed between its rounds" "$toDialog" \
    "$(awk -v b="$(value "$logs/latency" "screen BitBlt between the rounds" median)" \
      'BEGIN {print 200 + b + 40}')"
  echo "load average after: $(cut -d ' ' -f 1-3 /proc/loadavg)"
done
