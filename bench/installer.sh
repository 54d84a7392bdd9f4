#!/bin/bash
# What a Windows user downloads and waits for: the sizes of the installer and of the portable zip,
# and the time a silent install and a silent uninstall take under Wine, each pair in a throwaway
# prefix where nothing was installed before (medians of RUNS, default 5).
#
#   bench/installer.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
scripts/setup.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target packages InstallerBench >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
installer=$root/build/windows/Vindelor-$version-setup.exe
echo "Vindelor-$version-setup.exe: $(stat -c %s "$installer") bytes;" \
  "Vindelor-$version-x64.zip: $(stat -c %s "build/windows/Vindelor-$version-x64.zip") bytes;" \
  "Vindelor.exe: $(stat -c %s build/windows/bin/Vindelor.exe) bytes"

state=$root/build/windows/installer-bench
trap 'harness/services.sh stop "$state" >/dev/null 2>&1 || true' EXIT
harness/services.sh start "$state" >/dev/null
for ((run = 0; run < ${1:-5}; run++)); do
  harness/fresh-prefix-run.sh "$state" build/windows/bin/InstallerBench.exe "Z:${installer//\//\\}"
done | tee "$state.log"
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "median: install $(awk '{ print $2 }' "$state.log" | median) ms," \
  "uninstall $(awk '{ print $5 }' "$state.log" | median) ms"
