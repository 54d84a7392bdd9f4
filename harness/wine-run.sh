#!/bin/bash
# Runs a Windows program against the services of services.sh and exits with
# its exit code; CMake uses it as the emulator of Windows test programs.
#
#   wine-run.sh STATE_DIR PROGRAM [ARGS...]
#
# With VINDELOR_QUEUES set (queues.sh arguments, such as "three B" or "none"),
# the program runs with those print queues, and the set "one" is put back
# afterwards. CTest sets it per test (ENVIRONMENT property).
#
# Fails (exit 125) when the services are not running: wine would then start a
# wineserver of its own that outlives the test.
set -euo pipefail
# shellcheck source=harness/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

vh_services_env wine-run.sh "$@"
state=$1
shift
if ! vh_recorded_pid "$state/pids" wineserver >/dev/null; then
  echo "wine-run.sh: the wineserver of $state is not running: the test services" \
    "are stopped or broken (see $state/logs)" >&2
  exit 125
fi
if [[ -n ${VINDELOR_QUEUES:-} ]]; then
  # The sets that add to the usual one start from it, whatever a test before left.
  "$vh_harness/queues.sh" "$state" one >&2
  # shellcheck disable=SC2086 # the queue set is a word list
  "$vh_harness/queues.sh" "$state" $VINDELOR_QUEUES >&2
  trap '"$vh_harness/queues.sh" "$state" one >&2' EXIT
fi
# A failing program leaves a trace of how it ended, even when it printed
# nothing itself (a crash before its output was flushed).
started=$SECONDS
status=0
wine "$@" || status=$?
if ((status != 0)); then
  echo "wine-run.sh: $(basename "$1") ended with exit code $status" \
    "after $((SECONDS - started)) s" >&2
fi
exit "$status"
