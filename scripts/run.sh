#!/bin/bash
# Sets up, builds and runs Vindelor under Wine in the foreground. When
# Vindelor exits, or on Ctrl+C, everything this script started is stopped.
#
#   scripts/run.sh [--no-build]
#   scripts/run.sh keys KEY...    while it runs, from a second terminal: presses keys for it
#                                 (printscreen, alt-printscreen, enter, escape, wait)
#
# Wine prefix: build/run/prefix, made on first use and kept.
# Display: $DISPLAY if it answers, otherwise an invisible Xvfb screen
#   ($VINDELOR_SCREEN, default 1024x768x24) that shows a sample window to print.
# Printers: the machine's CUPS queues if it has any; otherwise a private
#   cupsd (state in build/run/cups) whose queue Vindelor-Pages writes each job
#   to build/run/pages/ as PostScript and as PNG.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=harness/lib.sh
source "$root/harness/lib.sh"
runDir=$root/build/run
program=$root/build/windows/bin/Vindelor.exe
pidFile=$runDir/pids
queueName=Vindelor-Pages

session=$runDir/session
if [[ ${1:-} == keys ]]; then
  # Wine's hotkeys only see keys that reach Wine: a program in the same prefix sends them.
  shift
  [[ -f $session ]] || vh_die "Vindelor does not run: start it with scripts/run.sh first"
  source "$session"
  exec wine "$root/build/windows/bin/vindelor-keys.exe" "$@"
fi

build=1
if [[ ${1:-} == --no-build ]]; then
  build=0
  shift
fi

"$root/scripts/setup.sh"
if ((build)); then
  # Only what runs here: the program, the key tool and the sample window, not the tests and
  # benchmarks.
  (cd "$root" && cmake --preset windows >/dev/null &&
    cmake --build --preset windows --target Vindelor vindelor_keys vindelor_sample)
fi
[[ -f $program ]] || vh_die "$program is missing: build it with cmake --preset windows && cmake --build --preset windows"

mkdir -p "$runDir/logs"
exec 9>"$runDir/lock"
flock -n 9 || vh_die "Vindelor already runs from $runDir (another scripts/run.sh)"
vh_stop_recorded "$pidFile" # whatever a killed run left behind

# shellcheck disable=SC2317 # called by the traps
cleanup() {
  trap - EXIT INT TERM HUP
  set +e # a closed terminal must not cut the cleanup short
  echo "run.sh: stopping"
  vh_wine_stop "$runDir/prefix"
  vh_stop_recorded "$pidFile"
  vh_wine_forget "$runDir/prefix"
  vh_cups_forget "$runDir/cups"
  rm -f "$session"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
trap 'exit 129' HUP

vh_require xdpyinfo x11-utils
windowManager=yes
if [[ -n ${DISPLAY:-} ]] && timeout 10 xdpyinfo >/dev/null 2>&1; then
  echo "run.sh: Vindelor shows on your display $DISPLAY"
else
  windowManager=no
  vh_xvfb_start "$runDir" "$runDir/logs" "$pidFile" "${VINDELOR_SCREEN:-1024x768x24}"
  export DISPLAY=$vh_display
  echo "run.sh: no X display answers, so Vindelor runs on an invisible screen (Xvfb $DISPLAY)"
fi

vh_require lpstat cups-client
systemQueues=$(timeout 10 lpstat -e 2>/dev/null || true)
if [[ -n $systemQueues ]]; then
  echo "run.sh: printing goes to this machine's printers: $(tr '\n' ' ' <<<"$systemQueues")"
else
  vh_cups_configure "$runDir/cups" "$runDir/logs"
  vh_cups_start "$runDir/cups" "$runDir/logs" "$pidFile"
  export CUPS_SERVER=$vh_cups_server
  vh_queue_add "$queueName" "$runDir/pages" png
  vh_lpadmin -d "$queueName"
  echo "run.sh: printing goes to queue $queueName: every job lands in $runDir/pages/ as .ps and .png"
fi

export WINEPREFIX=$runDir/prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=$vh_wine_overrides
if [[ ! -f $WINEPREFIX/.vindelor-ready ]]; then
  echo "run.sh: making the Wine prefix $WINEPREFIX (only this once)"
  rm -rf -- "$WINEPREFIX"
  vh_wine_boot "$WINEPREFIX" "$runDir/logs/wineboot.log" keep-links
  touch "$WINEPREFIX/.vindelor-ready"
fi
vh_wine_window_manager "$WINEPREFIX" "$runDir/logs/wineboot.log" "$windowManager"

printf 'export DISPLAY=%q WINEPREFIX=%q WINEDEBUG=%q WINEDLLOVERRIDES=%q\n' \
  "$DISPLAY" "$WINEPREFIX" "$WINEDEBUG" "$WINEDLLOVERRIDES" >"$session"
[[ -n ${CUPS_SERVER:-} ]] && printf 'export CUPS_SERVER=%q\n' "$CUPS_SERVER" >>"$session"
if [[ $windowManager == no ]]; then
  # Something to recognise on the first printed page of an otherwise empty screen.
  wine "$root/build/windows/bin/vindelor-sample.exe" 9>&- &
  echo "run.sh: the invisible screen shows a sample window with text and six colour fields"
fi
echo "run.sh: Vindelor runs; Ctrl+C stops it"
echo "run.sh: to press Print Screen for it: scripts/run.sh keys printscreen (then: enter prints)"
wine "$program" 9>&- &
status=0
wait "$!" || status=$?
echo "run.sh: Vindelor exited with code $status"
exit "$status"
