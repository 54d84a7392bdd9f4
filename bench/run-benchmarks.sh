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

# The real program, resident (its splash ends by itself), as the system sees it: CPU time used
# per second while idle, and its resident memory.
resident_figures() {
  local state=$1 pid ticks before after rss
  harness/wine-run.sh "$state" "$bin/Vindelor.exe" >/dev/null 2>&1 &
  sleep 10
  pid=$(pgrep -f 'Vindelor.exe$' | head -n 1)
  ticks=$(getconf CLK_TCK)
  before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep 30
  after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
  awk -v used=$((after - before)) -v ticks="$ticks" -v rss="$rss" 'BEGIN {
    printf "%-44s %9.2f ms per second (over 30 s)\n", "resident Vindelor.exe: CPU", used * 1000 / ticks / 30
    printf "%-44s %9.1f MB\n", "resident Vindelor.exe: resident memory", rss / 1024
  }'
}

for screen in 1024x768x24 3840x2160x24; do
  state=$root/build/windows/bench-$screen
  trap 'harness/services.sh stop "$state" >/dev/null 2>&1 || true' EXIT
  VINDELOR_SCREEN=$screen harness/services.sh start "$state" >/dev/null
  echo
  echo "== screen $screen"
  harness/wine-run.sh "$state" "$bin/StartupBench.exe"
  harness/wine-run.sh "$state" "$bin/CaptureBench.exe"
  harness/wine-run.sh "$state" "$bin/OutputBench.exe"
  VINDELOR_QUEUES="three B" harness/wine-run.sh "$state" "$bin/OptionsBench.exe"
  harness/wine-run.sh "$state" "$bin/PrintBench.exe"
  resident_figures "$state"
  harness/services.sh stop "$state" >/dev/null
done
