#!/bin/bash
# Builds the Windows tree and prints the benchmark figures: the size of Vindelor.exe, its
# start-up time next to its floor and their difference (bench/startup.sh), the capture copy next
# to memcpy, the clipboard exchange and the selection's end next to BitBlt, the image transforms
# and BMP files next to plain file I/O, the tray's response, and the idle program's CPU,
# wake-ups and memory, on a 1024x768 and a 3840x2160 screen; then
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

# The real program, resident (its splash ends by itself, its tray icon shows), as the system
# sees it while idle: CPU time and wake-ups (context switches of all its threads) per second, its
# private and its resident memory. VINDELOR_EXE measures another build of the program.
resident_figures() {
  local state=$1 exe=${VINDELOR_EXE:-$bin/Vindelor.exe} pid ticks cpu0 cpu1 switches0 switches1
  harness/wine-run.sh "$state" "$exe" >/dev/null 2>&1 &
  sleep 10
  # Wine's process of the program in this prefix: not wine-run.sh, nor a program of another prefix.
  pid=$(for candidate in $(pgrep -f 'Vindelor.exe$'); do
    tr '\0' '\n' <"/proc/$candidate/environ" 2>/dev/null |
      grep -qxF "WINEPREFIX=$state/prefix" && echo "$candidate"
  done | tail -n 1)
  ticks=$(getconf CLK_TCK)
  switches() { cat /proc/"$pid"/task/*/status | awk '/ctxt_switches/ {s += $2} END {print s}'; }
  cpu0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  switches0=$(switches)
  sleep 30
  cpu1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  switches1=$(switches)
  awk -v used=$((cpu1 - cpu0)) -v ticks="$ticks" -v woken=$((switches1 - switches0)) '
    /^Private_(Clean|Dirty)/ {private += $2}
    /^Rss/ {rss = $2}
    END {
      printf "%-44s %9.2f ms per second (over 30 s)\n", "resident Vindelor.exe: CPU", used * 1000 / ticks / 30
      printf "%-44s %9.1f per second\n", "resident Vindelor.exe: wake-ups", woken / 30
      printf "%-44s %9.1f MB\n", "resident Vindelor.exe: private memory", private / 1024
      printf "%-44s %9.1f MB\n", "resident Vindelor.exe: resident memory", rss / 1024
    }' "/proc/$pid/smaps_rollup"
  kill "$pid" 2>/dev/null || true
}

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
  resident_figures "$state"
  harness/services.sh stop "$state" >/dev/null
done

echo
echo "== latency and start-up next to their floors (bench/latency.sh)"
VINDELOR_LATENCY_BUILT=1 bench/latency.sh
