#!/bin/bash
# Runs a Windows program like wine-run.sh, but in a Wine prefix of its own that is thrown away
# afterwards: for tests that install programs. Wine starts the programs of the user's Run key
# whenever a prefix starts, so what one test installs must not reach the next.
#
#   fresh-prefix-run.sh STATE_DIR PROGRAM [ARGS...]
#
# The prefix is a copy of STATE_DIR/template-prefix, booted on first use (about 15 s) and kept
# for the rest of the run. Display, printers and home are those of services.sh.
set -euo pipefail
# shellcheck source=harness/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

vh_services_env fresh-prefix-run.sh "$@"
state=$1
shift
state=$(cd "$state" && pwd) # Wine wants an absolute WINEPREFIX
template=$state/template-prefix

exec 8>"$state/template.lock"
flock 8
if [[ ! -f $template/.ready ]]; then
  rm -rf -- "$template"
  WINEPREFIX=$template vh_wine_boot "$template" "$state/logs/template-boot.log" no-window-manager
  vh_wine_forget "$template"
  touch "$template/.ready"
fi
exec 8>&- # unlocks

prefix=$(mktemp -d "$state/prefix-XXXXXX")
# shellcheck disable=SC2317 # called by the trap
cleanup() {
  vh_wine_stop "$prefix"
  vh_wine_forget "$prefix"
  rm -rf -- "$prefix"
}
trap cleanup EXIT
cp -a "$template/." "$prefix/"
rm -f "$prefix/wineserver" # the template's server directory is not this copy's
export WINEPREFIX=$prefix
status=0
wine "$@" || status=$?
((status == 0)) || echo "fresh-prefix-run.sh: $(basename "$1") ended with exit code $status" >&2
exit "$status"
