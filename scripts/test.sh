#!/bin/bash
# Sets up, builds and runs the whole test suite: the host tier (native, with sanitizers and
# the fuzz run), then the win and e2e tiers under Wine.
#
#   scripts/test.sh            everything
#   scripts/test.sh -L e2e     extra arguments go to the Windows ctest run (-L e2e, -R Capture…)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

scripts/setup.sh

# The Windows tests start their own services (Xvfb, Wine prefix, cupsd) as CTest fixtures
# (harness, and harness-<name> for tests with a screen of their own); stop them here too in case
# ctest itself is interrupted.
stop_services() {
  local state
  for state in "$root"/build/windows/harness "$root"/build/windows/harness-*; do
    [[ -d $state ]] && harness/services.sh stop "$state" >/dev/null 2>&1 || true
  done
}
trap stop_services EXIT

cmake --preset host
cmake --build --preset host
ctest --preset host

cmake --preset windows
cmake --build --preset windows
# A second compiler for the same target, built only: the code stays plain C++20 and Win32.
cmake --preset windows-clang
cmake --build --preset windows-clang
ctest --preset windows "$@"
