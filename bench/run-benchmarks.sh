#!/bin/bash
# Builds the Windows tree and prints the benchmark figures: the size of Vindelor.exe, its
# start-up time, the capture copy next to memcpy, and the image transforms and BMP files next to
# plain file I/O, on a 1024x768 and a 3840x2160 screen.
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
  trap 'tests/harness/services.sh stop "$state" >/dev/null 2>&1 || true' EXIT
  VINDELOR_SCREEN=$screen tests/harness/services.sh start "$state" >/dev/null
  echo
  echo "== screen $screen"
  tests/harness/wine-run.sh "$state" "$bin/StartupBench.exe"
  tests/harness/wine-run.sh "$state" "$bin/CaptureBench.exe"
  tests/harness/wine-run.sh "$state" "$bin/OutputBench.exe"
  VINDELOR_QUEUES="three B" tests/harness/wine-run.sh "$state" "$bin/OptionsBench.exe"
  tests/harness/services.sh stop "$state" >/dev/null
done
