#!/bin/bash
# The resident program over a long run: 500 Print Screen → dialog → Esc cycles (every tenth a tray
# "Open" → Cancel instead), then 100 prints with Immediate Action. Prints the program's private
# memory, GDI objects, windows and handles after the first 20 cycles, after the first 20 prints
# and at the end; it
# fails when a count grew, and the growth of private memory is set against its 1 MB target.
#
#   bench/soak.sh [CYCLES [PRINTS]]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
scripts/setup.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target SoakBench >/dev/null
state=$root/build/windows/soak
trap 'harness/services.sh stop "$state" >/dev/null 2>&1 || true' EXIT
harness/services.sh start "$state" >/dev/null
started=$(date +%s)
harness/wine-run.sh "$state" build/windows/bin/SoakBench.exe "${1:-500}" "${2:-100}" \
  | grep -E '^(after|at the end|objects|no dialog|cycle)' | tee "$state.log"
# Private memory, sample against sample. It swings by about one screen image with what is held at
# the moment of the sample (after an Esc cycle or after a print), so prints are also set against
# prints.
awk '/^(after|at the end)/ { for (i = 1; i < NF; i++) { if ($i == "private") mb[n + 0] = $(i + 1) } n++ }
     function growth(what, d) {
       printf "private memory growth, %s: %.2f MB (target < 1 MB: %s)\n", what, d,
         d < 1 ? "met" : "missed"
     }
     END { growth("after 20 cycles to the end", mb[n - 1] - mb[0])
           if (n > 2) growth("after 20 prints to the end", mb[n - 1] - mb[1]) }' "$state.log"
echo "soak: $(($(date +%s) - started)) s"
