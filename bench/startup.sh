#!/bin/bash
# The program's start-up (StartupBench) next to its floor (StartupFloor, the same windows, tray
# icon and timers in plain Win32), one after the other in the same Wine session: their figures,
# the windows each had when its loop fetched its first message, and the difference of the two
# medians, what the toolkit itself costs.
#
#   bench/startup.sh STATE_DIR   under the running services of STATE_DIR (run-benchmarks.sh)
#   bench/startup.sh             builds the two, and runs them under services of its own
#                                ($VINDELOR_SCREEN, default 1024x768x24)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bin=$root/build/windows/bin

state=${1:-}
if [[ -z $state ]]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j2 --target StartupBench StartupFloor >/dev/null
  state=$root/build/windows/startup
  trap 'harness/services.sh stop "$state" >/dev/null 2>&1 || true' EXIT
  harness/services.sh start "$state" >/dev/null
fi

# StartupBench goes first: its first start writes the settings that StartupFloor reads.
status=0
own=$(harness/wine-run.sh "$state" "$bin/StartupBench.exe" | tr -d '\r') || status=$?
printf '%s\n' "$own"
floor=$(harness/wine-run.sh "$state" "$bin/StartupFloor.exe" | tr -d '\r') || status=$?
printf '%s\n' "$floor"
((status == 0)) || exit "$status"
median() { awk -v label="$1" 'index($0, label) == 1 {
    for (i = 1; i < NF; ++i) if ($i == "median") { print $(i + 1); exit }
  }'; }
awk -v own="$(median "start-up, entry to message loop" <<<"$own")" \
  -v floor="$(median "floor start-up, entry to message loop" <<<"$floor")" \
  -v label="start-up minus floor, the toolkit's own cost" 'BEGIN {
    printf "%-44s %9.3f ms   (median %.3f - floor median %.3f)\n", label, own - floor, own, floor
  }'
