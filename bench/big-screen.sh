#!/bin/bash
# The real Vindelor.exe on a 7680 x 4320 screen (VINDELOR_SCREEN sets another), driven from
# outside by bench/BigScreenBench.cpp over a known picture that covers the screen:
#   - Print Screen with Immediate Action prints a page whose picture is the screen;
#   - "Save as BMP" writes the exact screen;
#   - selections at the bottom-right corner are cut out right;
# then the figures: the peak resident size (the kernel's VmHWM) of Wine's process of Vindelor.exe
# during that print, next to a minimal program that prints the same screen through the same
# driver from a 24-bit bitmap (bench/BigScreenPrint.cpp 24), both measured from outside by
# bench/sample-peaks.py. The target: Vindelor.exe peaks at most 1.1 screen images above the
# minimal program, an image being the work image, width x height x 4 bytes.
#
#   bench/big-screen.sh
#
# Takes a few minutes: each page of the whole screen is over 100 MB of PostScript. The services
# run in build/windows/bench-8k and are stopped at the end; the page files are deleted unless
# VINDELOR_KEEP_PAGES is set.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
scripts/setup.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target BigScreenBench >/dev/null
bin=$root/build/windows/bin
screen=${VINDELOR_SCREEN:-7680x4320x24}
state=$root/build/windows/bench-8k
sampler=

finish() {
  if [[ -n $sampler ]]; then kill "$sampler" 2>/dev/null || true; fi
  harness/services.sh stop "$state" >/dev/null 2>&1 || true
  if [[ -z ${VINDELOR_KEEP_PAGES:-} ]]; then rm -rf "${state:?}/pages"/*/; fi
}
trap finish EXIT

VINDELOR_SCREEN=$screen harness/services.sh start "$state" >/dev/null
echo "== screen $screen"
python3 bench/sample-peaks.py "$state" &
sampler=$!
status=0
VINDELOR_PEAK_SAMPLER=1 harness/wine-run.sh "$state" "$bin/BigScreenBench.exe" || status=$?
echo "done -" >"$state/bench-phase"  # in case the driver stopped early
for _ in $(seq 100); do kill -0 "$sampler" 2>/dev/null || break; sleep 0.1; done
kill "$sampler" 2>/dev/null || true
wait "$sampler" 2>/dev/null || true
sampler=

# bench-peaks: PHASE PID SAMPLES PRIVATE_AT_START PEAK_PRIVATE PEAK_RESIDENT KERNEL_PEAK (KiB)
IFS=x read -r width height _ <<<"$screen"
awk -v image=$((width * height * 4)) '
  { start[$1] = $4; peak[$1] = $5; resident[$1] = $6; kernel[$1] = $7; samples[$1] = $3 }
  END {
    mb = 1024 * 1024
    if (!("print" in peak) || !("minimal" in peak)) {
      print "no memory figures: the print or the minimal program was not measured"
      exit 1
    }
    # Sampling caught the peak when its highest resident size is the kernel record.
    row = "%-44s %9.1f MB (%d samples; peak resident %.1f MB sampled, %.1f MB by the kernel)\n"
    printf row, "peak private memory: Vindelor.exe printing", peak["print"] / 1024,
      samples["print"], resident["print"] / 1024, kernel["print"] / 1024
    printf row, "peak private memory: minimal print program", peak["minimal"] / 1024,
      samples["minimal"], resident["minimal"] / 1024, kernel["minimal"] / 1024
    if ("minimal24" in peak) {
      printf row, "  the same with 24-bit rows (as the program)", peak["minimal24"] / 1024,
        samples["minimal24"], resident["minimal24"] / 1024, kernel["minimal24"] / 1024
    }
    # The figure the target is about: the peak resident size (VmHWM) above the 24-bit floor.
    if ("minimal24" in kernel) {
      hwm = (kernel["print"] - kernel["minimal24"]) * 1024
      target = 1.1 * image
      printf "%-44s %9.1f MB\n", "VmHWM: minimal print program, 24-bit", kernel["minimal24"] / 1024
      printf "%-44s %9.1f MB\n", "VmHWM: Vindelor.exe printing", kernel["print"] / 1024
      printf "%-44s %9.1f MB = %.2f x the image (%.1f MB)\n", "VmHWM: Vindelor.exe above the floor",
        hwm / mb, hwm / image, image / mb
      printf "%-44s %9.1f MB (floor + 1.1 x the image): %s\n", "  target",
        kernel["minimal24"] / 1024 + target / mb, hwm <= target ? "met" : "missed"
    } else {
      print "no VmHWM figure: the 24-bit minimal program was not measured"
      status = 1
    }
    above = (peak["print"] - peak["minimal"]) * 1024
    printf "%-44s %9.1f MB = %.2f x the image\n",
      "private memory above the minimal program", above / mb, above / image
    # Where it goes: the minimal program holds its bitmap and the driver its copies; Vindelor.exe
    # holds its work image (a capture of the screen) while idle, and what it adds while printing.
    driver = peak["minimal"] - start["minimal"] - image / 1024
    printf "%-44s %9.1f MB\n", "  the driver'"'"'s copies (minimal program)", driver / 1024
    printf "%-44s %9.1f MB\n", "  Vindelor.exe idle before the print", start["print"] / 1024
    printf "%-44s %9.1f MB\n", "  Vindelor.exe'"'"'s own extra while printing",
      (peak["print"] - start["print"] - driver) / 1024
    exit status
  }' "$state/bench-peaks" || status=1
sed "s/^/  bench-peaks (KiB): /" "$state/bench-peaks" || true
exit "$status"
