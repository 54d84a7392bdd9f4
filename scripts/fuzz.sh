#!/bin/bash
# Builds the host tier's libFuzzer targets (with ASan and UBSan) and runs each, one after the
# other, over a fresh copy of its committed seed corpus; then reports per target what it ran,
# the coverage it reached and what it found. Fails when anything is found.
#
#   scripts/fuzz.sh [RUNS]    RUNS executions per target (default 10000000)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
runs=${1:-10000000}
cmake --preset host >/dev/null
cmake --build --preset host --target fuzz_ParseBmp fuzz_RegistryData

failed=0
for target in ParseBmp:bmp RegistryData:registry; do
  name=${target%%:*}
  work=build/host/fuzz-run/$name
  rm -rf "$work" && mkdir -p "$work/artifacts" && cp -r "tests/fuzz/corpus/${target#*:}" "$work/corpus"
  start=$EPOCHREALTIME status=0
  UBSAN_OPTIONS=print_stacktrace=1 "build/host/tests/fuzz/Fuzz$name" -runs="$runs" \
    -print_final_stats=1 -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$work/artifacts/" "$work/corpus" >"$work/log" 2>&1 || status=$?
  findings=$(find "$work/artifacts" -type f | tr '\n' ' ')
  if ((status != 0)) && [[ -z $findings ]]; then findings="the fuzzer failed ($status)"; fi
  [[ -z $findings ]] || failed=1
  echo "== $name (log: $work/log)"
  echo "executions: $(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")"
  echo "seconds:    $(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }')"
  echo "coverage:   $(grep -o 'cov: [0-9]* ft: [0-9]* corp: [^ ]*' "$work/log" | tail -n 1)"
  echo "findings:   ${findings:-none}"
done
exit "$failed"
