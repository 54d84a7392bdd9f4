#!/bin/bash
# Builds the Windows tree and prints the benchmark figures: the size of Vindelor.exe, its
# start-up time next to its floor and their difference (bench/startup.sh), the capture copy next
# to memcpy, the clipboard exchange and the selection's end next to BitBlt, the image transforms
# and BMP files next to plain file I/O, the tray's response, and the idle program's CPU,
# wake-ups and memory next to an idle floor's (bench/idle.sh), on a 1024x768 and a 3840x2160
# screen; then
# bench/latency.sh: Print Screen to dialog and to page, capture copy and start-up next to their
# floors.
#
#   bench/run-benchmarks.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
scripts/setup.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows >/dev/null
bin=$root/build/windows/bin

size=$(stat -c %s "$bin/Vindelor.exe")
printf 'Vindelor.exe: %d bytes (%d KB; target <= 400 KB)\n' "$size" $((size / 1024))

for screen in 1024x768x24 3840x2160x24; do
  state=$root/build/windows/bench-$screen
  trap 'harness/services.sh stop "$state" >/dev/null 2>&1 || true' EXIT
  VINDELOR_SCREEN=$screen harness/services.sh start "$state" >/dev/null
  echo
  echo "== screen $screen"
  bench/startup.sh "$state"
  harness/wine-run.sh "$state" "$bin/CaptureBench.exe"
  harness/wine-run.sh "$state" "$bin/ClipboardBench.exe"
  harness/wine-run.sh "$state" "$bin/OutputBench.exe"
  VINDELOR_QUEUES="three B" harness/wine-run.sh "$state" "$bin/OptionsBench.exe"
  harness/wine-run.sh "$state" "$bin/PrintBench.exe"
  harness/wine-run.sh "$state" "$bin/TrayBench.exe"
  bench/idle.sh "$state"
  harness/services.sh stop "$state" >/dev/null
done

echo
echo "== latency and start-up next to their floors (bench/latency.sh)"
VINDELOR_LATENCY_BUILT=1 bench/latency.sh
