#!/bin/bash
# The services that the Windows tests run against, private to one test run and
# kept in STATE_DIR:
#
#   services.sh start STATE_DIR
#       Wipes STATE_DIR, then starts a cupsd (socket STATE_DIR/cups/cups.sock,
#       or one in /tmp if that path is too long for a socket; one queue as by
#       `queues.sh STATE_DIR one`), an Xvfb on a free display
#       (screen $VINDELOR_SCREEN, default 1024x768x24), and a wineserver for a
#       new prefix STATE_DIR/prefix together with Wine's services and desktop
#       (held by probe/keeper.cpp). Writes STATE_DIR/env (source it to run
#       wine against these services) and STATE_DIR/pids. Logs: STATE_DIR/logs.
#   services.sh stop STATE_DIR
#       Ends every Wine process of the prefix and every process that start
#       recorded. Safe to repeat, and when nothing runs.
#
# $VINDELOR_SCREEN is one screen, WxHxDEPTH, on an Xvfb, or two monitors,
# PRIMARY+SECOND@left|right (1024x768+800x600@left: an 800x600 monitor left
# of a 1024x768 primary), on Xorg's dummy driver, which needs root.
#
# A desktop of today, when asked for: $VINDELOR_TEMP_FOLDER (such as
# "Temp Тест 東京") becomes the user's temporary folder, C:\ followed by that
# name, and $VINDELOR_DPI (such as 192) the display's pixels per inch.
#
# Every wait is bounded by $VINDELOR_WAIT_SECONDS (default 60).
set -euo pipefail
# shellcheck source=harness/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

readonly kMarker=.vindelor-state

usage() {
  echo "usage: services.sh start|stop STATE_DIR" >&2
  exit 2
}

stop_services() {
  local state=$1
  [[ -d $state ]] || return 0
  local prefix
  # Throwaway prefixes that an interrupted fresh-prefix-run.sh left behind.
  for prefix in "$state"/prefix-??????; do
    [[ -d $prefix ]] || continue
    vh_wine_stop "$prefix"
    vh_wine_forget "$prefix"
  done
  vh_wine_stop "$state/prefix"
  vh_stop_recorded "$state/pids"
  vh_wine_forget "$state/prefix"
  vh_cups_forget "$state/cups"
  rm -f "$state/env"
}

write_env() {
  local state=$1
  {
    printf 'export %s=%q\n' \
      VINDELOR_STATE "$state" \
      DISPLAY "$DISPLAY" \
      CUPS_SERVER "$CUPS_SERVER" \
      WINEPREFIX "$WINEPREFIX" \
      WINEDEBUG "$WINEDEBUG" \
      WINEDLLOVERRIDES "$WINEDLLOVERRIDES" \
      HOME "$HOME" \
      LC_ALL "$LC_ALL"
    echo 'unset PRINTER LPDEST'
  } >"$state/env.tmp"
  mv "$state/env.tmp" "$state/env"
}

started=0
building=

# The settings of $VINDELOR_TEMP_FOLDER and $VINDELOR_DPI, in the prefix's
# registry; Wine takes both only when a wineserver starts, which follows.
desktop_settings() {
  local logs=$1 lines=() dword folder=${VINDELOR_TEMP_FOLDER:-}
  if [[ -n $folder ]]; then
    [[ $folder != *[\\/:]* ]] || vh_die "VINDELOR_TEMP_FOLDER is one folder name on C:, got '$folder'"
    mkdir -p "$WINEPREFIX/drive_c/$folder"
    lines+=('[HKEY_CURRENT_USER\Environment]' "\"TEMP\"=\"C:\\\\$folder\"" "\"TMP\"=\"C:\\\\$folder\"")
  fi
  if [[ -n ${VINDELOR_DPI:-} ]]; then
    dword=$(printf 'dword:%08x' "$VINDELOR_DPI")
    lines+=('[HKEY_CURRENT_USER\Control Panel\Desktop]' "\"LogPixels\"=$dword"
      '[HKEY_CURRENT_CONFIG\Software\Fonts]' "\"LogPixels\"=$dword")
  fi
  ((${#lines[@]})) || return 0
  printf '%s\n' "${lines[@]}" | vh_reg_unicode >"$WINEPREFIX/drive_c/windows/temp/desktop.reg"
  if ! (vh_detach "$logs/wineboot.log" timeout 60 wine reg import 'C:\windows\temp\desktop.reg') ||
    ! (vh_detach "$logs/wineboot.log" timeout 60 wineserver -w); then
    vh_tail "$logs/wineboot.log"
    return 1
  fi
}

on_exit() {
  ((started)) && return
  set +e
  echo "services.sh: start failed; stopping what was started" >&2
  if [[ -n $building ]]; then wait "$building" 2>/dev/null || true; fi
  stop_services "$state"
}

start_services() {
  local screen=${VINDELOR_SCREEN:-1024x768x24}
  state=$1
  vh_require_services
  if [[ -d $state && -n $(ls -A "$state") && ! -e $state/$kMarker ]]; then
    vh_die "$state is not empty and was not made by services.sh: refusing to wipe it"
  fi
  stop_services "$state"
  rm -rf -- "$state"
  mkdir -p "$state"/{logs,pages,home}
  state=$(cd "$state" && pwd)
  touch "$state/$kMarker"
  local logs=$state/logs pids=$state/pids
  trap 'on_exit' EXIT
  trap 'exit 130' INT TERM
  trap 'exit 129' HUP

  mkdir -p "$state/bin"
  vh_keeper_build "$state/bin/keeper.exe" >"$logs/keeper-build.log" 2>&1 &
  building=$!

  vh_cups_configure "$state/cups" "$logs"
  vh_cups_start "$state/cups" "$logs" "$pids"
  "$vh_harness/queues.sh" "$state" one

  local bootOptions=(no-window-manager)
  if [[ $screen == *@* ]]; then
    vh_monitors_start "$state" "$logs" "$pids" "$screen"
    bootOptions+=(monitors)
  else
    vh_xvfb_start "$state" "$logs" "$pids" "$screen"
  fi

  # Everything Wine does stays in STATE_DIR: $HOME holds what Wine and libcups
  # keep in a home (~/.cups/lpoptions, ~/.local, ...), and the locale is fixed
  # so that dates and numbers look the same everywhere.
  export DISPLAY=$vh_display CUPS_SERVER=$vh_cups_server WINEPREFIX=$state/prefix \
    WINEDEBUG=-all WINEDLLOVERRIDES=$vh_wine_overrides HOME=$state/home LC_ALL=C.UTF-8
  unset PRINTER LPDEST
  vh_wine_boot "$WINEPREFIX" "$logs/wineboot.log" "${bootOptions[@]}"
  desktop_settings "$logs"
  vh_wineserver_start "$WINEPREFIX" "$logs" "$pids"
  if ! wait "$building"; then
    vh_tail "$logs/keeper-build.log"
    exit 1
  fi
  vh_keeper_start "$WINEPREFIX" "$state/bin/keeper.exe" "$logs" "$pids"

  write_env "$state"
  started=1
}

(($# == 2)) || usage
case $1 in
  start)
    begin=$SECONDS
    start_services "$2"
    echo "services.sh: started in $((SECONDS - begin)) s; source $2/env to use them"
    ;;
  stop) stop_services "$2" ;;
  *) usage ;;
esac
