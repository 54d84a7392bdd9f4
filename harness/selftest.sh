#!/bin/bash
# Checks the harness against running services (services.sh start): for each
# set of queues, what a Windows program lists, which printer is its default and
# where the page it prints ends up; also a queue removed while it runs.
#
#   selftest.sh STATE_DIR PRINTERS_EXE    (PRINTERS_EXE built from
#                                          probe/printers.cpp)
#
# It changes the queues, so nothing else may use them meanwhile; it leaves the
# set "one" behind, as services.sh starts it.
set -euo pipefail
harness=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
(($# == 2)) || { echo "usage: selftest.sh STATE_DIR PRINTERS_EXE" >&2; exit 2; }
state=$1
probe=$2
passed=0
failed=0

check() { # WHAT EXPECTED ACTUAL
  if [[ $2 == "$3" ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $1: expected [$2], got [$3]"
  fi
}

printers() { sed -n 's/^printer //p' | paste -sd ' '; }
default_printer() { sed -n 's/^default \([^,]*\).*/\1/p' | tail -n 1; }

# outcome PROBE_OUTPUT FILES_BEFORE: "refused" when printing failed in the
# program, else "QUEUE .EXT" of the file that the job left in pages/.
outcome() {
  local newest deadline=$((SECONDS + 10))
  if grep -q '^print failed' <<<"$1"; then
    echo refused
    return
  fi
  while (($(find "$state/pages" -type f | wc -l) <= $2)) && ((SECONDS < deadline)); do sleep 0.05; done
  newest=$(find "$state/pages" -type f -printf '%T@ %P\n' | sort -n | tail -n 1 | cut -d' ' -f2)
  echo "${newest%%/*} .${newest##*.}"
}

cases=(
  # queues.sh arguments | printers listed | default | outcome
  "none|||refused"
  "one|VindelorA|VindelorA|VindelorA .ps"
  "three B|VindelorA VindelorB VindelorC|VindelorB|VindelorB .ps"
  "remove VindelorB|VindelorA VindelorC|VindelorA|VindelorA .ps"
  "failing|VindelorA VindelorC VindelorFail|VindelorFail|VindelorFail .failed"
  "rejecting|VindelorA VindelorC VindelorFail VindelorReject|VindelorReject|refused"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r args wantPrinters wantDefault wantOutcome <<<"$entry"
  # shellcheck disable=SC2086 # args are words
  "$harness/queues.sh" "$state" $args
  before=$(find "$state/pages" -type f | wc -l)
  out=$("$harness/wine-run.sh" "$state" "$probe" | tr -d '\r' || true)
  check "$args: printers" "$wantPrinters" "$(printers <<<"$out")"
  check "$args: default" "$wantDefault" "$(default_printer <<<"$out")"
  check "$args: outcome" "$wantOutcome" "$(outcome "$out" "$before")"
done

# The default queue disappears while a program runs: the program sees it go
# and prints to the new default.
"$harness/queues.sh" "$state" three C
held=$(mktemp)
"$harness/wine-run.sh" "$state" "$probe" --hold 3 >"$held" &
deadline=$((SECONDS + 20))
until grep -q '^default' "$held" || ((SECONDS > deadline)); do sleep 0.05; done
"$harness/queues.sh" "$state" remove VindelorC
before=$(find "$state/pages" -type f | wc -l)
wait "$!" || true
after=$(tr -d '\r' <"$held" | sed -n '/^after hold/,$p')
rm -f "$held"
check "running program: printers after removal" "VindelorA VindelorB" "$(printers <<<"$after")"
check "running program: default after removal" "VindelorA" "$(default_printer <<<"$after")"
check "running program: outcome" "VindelorA .ps" "$(outcome "$after" "$before")"

"$harness/queues.sh" "$state" one
echo "$passed passed, $failed failed"
((failed == 0))
