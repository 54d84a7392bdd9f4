# shellcheck shell=bash
# Pieces shared by the test services (services.sh, queues.sh, wine-run.sh) and
# scripts/run.sh: daemons that are detached and recorded, a private cupsd with
# file queues, a private Xvfb, a Wine prefix. Source it from bash scripts that
# use `set -euo pipefail`.
# shellcheck disable=SC2034 # vh_* results are read by the sourcing scripts

vh_harness=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

vh_wait_seconds=${VINDELOR_WAIT_SECONDS:-60}
vh_wine_overrides="mscoree,mshtml=;winemenubuilder.exe=d"
PATH=$PATH:/usr/sbin:/sbin
umask 022

vh_die() {
  echo "error: $*" >&2
  exit 1
}

# vh_require TOOL PACKAGE: a missing tool names the Debian package to install.
vh_require() {
  command -v "$1" >/dev/null 2>&1 ||
    vh_die "'$1' not found: install the Debian package '$2' (scripts/setup.sh installs all)"
}

# vh_require_services: every tool that services.sh and queues.sh use.
vh_require_services() {
  vh_require cupsd cups
  vh_require lpadmin cups-client
  vh_require lpstat cups-client
  vh_require cupsreject cups-client
  vh_require Xvfb xvfb
  vh_require wine wine
  vh_require wineserver wine
  [[ -x /usr/lib/wine/wine64 ]] || vh_die "64-bit Wine not found: install the Debian package 'wine64'"
  vh_require x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
  vh_require setsid util-linux
  vh_require timeout coreutils
}

# vh_services_env SCRIPT STATE_DIR PROGRAM [ARGS...]: checks a runner's
# arguments and sources the environment that services.sh wrote in STATE_DIR.
# Exits 125 on a usage error or when there is none: wine would then start a
# wineserver of its own that outlives the caller.
vh_services_env() {
  if (($# < 3)); then
    echo "usage: $1 STATE_DIR PROGRAM [ARGS...]" >&2
    exit 125
  fi
  if [[ ! -f $2/env ]]; then
    echo "$1: $2/env is missing: the test services are not started" \
      "(harness/services.sh start $2)" >&2
    exit 125
  fi
  # shellcheck source=/dev/null # written by services.sh
  source "$2/env"
}

# vh_tail FILE...: the end of logs, for error reports.
vh_tail() {
  local file
  for file in "$@"; do
    [[ -s $file ]] || continue
    echo "---- last lines of $file" >&2
    tail -n 25 "$file" >&2
  done
}

# vh_wait WHAT PID CMD...: polls CMD until it succeeds; fails when PID (if not
# empty) has died or after vh_wait_seconds.
vh_wait() {
  local what=$1 pid=$2
  shift 2
  local deadline=$((SECONDS + vh_wait_seconds))
  until "$@"; do
    if [[ -n $pid ]] && ! kill -0 "$pid" 2>/dev/null; then
      echo "error: gave up waiting for $what: the process has exited" >&2
      return 1
    fi
    if ((SECONDS >= deadline)); then
      echo "error: gave up waiting for $what after ${vh_wait_seconds}s" >&2
      return 1
    fi
    sleep 0.1
  done
}

# vh_start_time PID: when the process started (ticks since boot); tells a
# recorded process from a later one that got the same pid.
vh_start_time() {
  local stat fields
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  read -ra fields <<<"${stat##*) }"
  echo "${fields[19]}"
}

# vh_detach LOG CMD...: runs CMD with stdin from /dev/null, output to LOG and
# no other inherited descriptors (VH_FD3 names a file to open as fd 3).
vh_detach() {
  local log=$1 fd
  shift
  for fd in "/proc/$BASHPID/fd"/*; do
    fd=${fd##*/}
    if ((fd > 2)); then eval "exec $fd>&-"; fi
  done
  if [[ -n ${VH_FD3:-} ]]; then exec 3>"$VH_FD3"; fi
  exec "$@" </dev/null >>"$log" 2>&1
}

# vh_spawn PIDS NAME LOG CMD...: starts CMD as a daemon in a session of its
# own, detached as by vh_detach, and appends "NAME PID START" to PIDS. Sets
# vh_pid.
vh_spawn() {
  local pids=$1 name=$2 log=$3
  shift 3
  (vh_detach "$log" setsid "$@") &
  vh_pid=$!
  echo "$name $vh_pid $(vh_start_time "$vh_pid")" >>"$pids"
}

# vh_recorded_pid PIDS NAME: the pid recorded under NAME if that process still
# runs.
vh_recorded_pid() {
  local name pid start
  [[ -f $1 ]] || return 1
  while read -r name pid start; do
    if [[ $name == "$2" && $(vh_start_time "$pid") == "$start" ]]; then
      echo "$pid"
      return 0
    fi
  done <"$1"
  return 1
}

# vh_stop_recorded PIDS: TERM to every recorded process that still runs (last
# started first), KILL after a bounded wait. Then removes PIDS.
vh_stop_recorded() {
  local pids=$1 name pid start live=() deadline
  [[ -f $pids ]] || return 0
  while read -r name pid start; do
    [[ -n $start && $(vh_start_time "$pid") == "$start" ]] || continue
    live+=("$pid")
    kill -TERM "$pid" 2>/dev/null || true
  done < <(tac "$pids")
  deadline=$((SECONDS + 10))
  for pid in "${live[@]}"; do
    while kill -0 "$pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
  done
  rm -f "$pids"
}

# vh_wine_pids PREFIX: Wine processes (loader or wineserver) that run in PREFIX.
vh_wine_pids() {
  local environ pid exe
  for environ in /proc/[0-9]*/environ; do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    exe=$(readlink "/proc/$pid/exe" 2>/dev/null) || continue
    [[ $exe == */wine/* ]] || continue
    if grep -qzxF "WINEPREFIX=$1" "$environ" 2>/dev/null; then echo "$pid"; fi
  done
}

# vh_wine_user_pids PREFIX: Wine processes of PREFIX other than the
# wineserver, Wine's own system processes and the harness's keeper.
vh_wine_user_pids() {
  local pid command
  for pid in $(vh_wine_pids "$1"); do
    command=$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null) || continue
    case $command in
      *wineserver* | "C:\\windows\\system32\\"* | *keeper.exe*) ;;
      *) echo "$pid" ;;
    esac
  done
}

# vh_wine_stop PREFIX: ends every Wine process of PREFIX, its wineserver too.
vh_wine_stop() {
  local prefix=$1 pid deadline
  [[ -d $prefix ]] || return 0
  WINEPREFIX=$prefix timeout 20 wineserver -k >/dev/null 2>&1 || true
  deadline=$((SECONDS + 10))
  while [[ -n $(vh_wine_pids "$prefix") ]] && ((SECONDS < deadline)); do sleep 0.1; done
  for pid in $(vh_wine_pids "$prefix"); do kill -KILL "$pid" 2>/dev/null || true; done
}

# ---- cupsd ------------------------------------------------------------------

# vh_cups_socket DIR: where a private cupsd whose state is in DIR listens.
# A socket path must fit in 108 bytes; a deep DIR gets a short one in /tmp,
# linked from DIR/socket-dir and removed by vh_cups_forget.
vh_cups_socket() {
  local dir=$1 short
  if ((${#dir} + 10 <= 100)); then
    echo "$dir/cups.sock"
    return
  fi
  if [[ ! -L $dir/socket-dir ]]; then
    short=$(mktemp -d /tmp/vindelor-cups.XXXXXX)
    ln -sfn "$short" "$dir/socket-dir"
  fi
  echo "$(readlink "$dir/socket-dir")/cups.sock"
}

vh_cups_forget() {
  local link=$1/socket-dir
  if [[ -L $link ]]; then
    rm -rf -- "$(readlink "$link")"
    rm -f "$link"
  fi
}

# vh_cups_configure DIR LOGDIR: writes the configuration of a private cupsd
# whose whole state is in DIR: no network, no authentication, our backend.
vh_cups_configure() {
  local dir=$1 logs=$2 socket sub
  mkdir -p "$dir"/{etc/ppd,spool/tmp,cache,state,serverbin/backend} "$logs"
  socket=$(vh_cups_socket "$dir")
  for sub in cgi-bin daemon driver filter monitor notifier; do
    ln -sfn "/usr/lib/cups/$sub" "$dir/serverbin/$sub"
  done
  # Mode 0700: cupsd (as root) then runs the backend as root, so that it may
  # write anywhere; a cupsd of a normal user runs it as that user anyway.
  install -m 0700 "$vh_harness/cups/pagefile" "$dir/serverbin/backend/pagefile"
  cat >"$dir/cups-files.conf" <<EOF
ServerRoot $dir/etc
ServerBin $dir/serverbin
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
Printcap $dir/printcap
AccessLog $logs/cups-access_log
ErrorLog $logs/cups-error_log
PageLog $logs/cups-page_log
FileDevice Yes
SystemGroup root
EOF
  cat >"$dir/cupsd.conf" <<EOF
LogLevel info
MaxLogSize 0
Listen $socket
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
WebInterface No
ErrorPolicy abort-job
JobRetryLimit 0
DefaultPolicy open
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy open>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
EOF
}

vh_cups_ready() {
  [[ -S $1 ]] && CUPS_SERVER=$1 lpstat -r 2>/dev/null | grep -q 'scheduler is running'
}

# vh_cups_start DIR LOGDIR PIDS: starts a cupsd configured by vh_cups_configure
# and waits until it answers. Sets vh_cups_server (the value for CUPS_SERVER).
vh_cups_start() {
  local dir=$1 logs=$2 pids=$3
  vh_require cupsd cups
  vh_require lpstat cups-client
  vh_cups_server=$(vh_cups_socket "$dir")
  rm -f "$vh_cups_server"
  vh_spawn "$pids" cupsd "$logs/cupsd.log" \
    cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf"
  if ! vh_wait "cupsd to answer on $vh_cups_server" "$vh_pid" vh_cups_ready "$vh_cups_server"; then
    vh_tail "$logs/cupsd.log" "$logs/cups-error_log"
    return 1
  fi
}

# vh_lpadmin ARGS...: lpadmin against $CUPS_SERVER, quiet unless it fails
# (it warns on every call that drivers are deprecated).
vh_lpadmin() {
  local out
  if ! out=$(lpadmin "$@" 2>&1); then
    echo "$out" >&2
    return 1
  fi
}

# vh_queue_add NAME DIR [FLAGS] [PPD]: a queue whose jobs the pagefile backend
# writes into DIR (FLAGS: png, fail or png&fail; see cups/pagefile), with the
# driver file PPD (default cups/pagefile.ppd, 300 dots per inch).
vh_queue_add() {
  local name=$1 dir=$2 flags=${3:-} ppd=${4:-$vh_harness/cups/pagefile.ppd} uri
  uri="pagefile://${dir// /%20}${flags:+?$flags}"
  vh_lpadmin -p "$name" -E -v "$uri" -P "$ppd" \
    -o printer-error-policy=abort-job -o printer-is-shared=false
}

# vh_ppd_at_dpi DPI OUT: cups/pagefile.ppd printing at DPI dots per inch.
vh_ppd_at_dpi() {
  sed -e "s/300dpi/$1dpi/g" -e "s|300 DPI|$1 DPI|" \
    -e "s/HWResolution\[300 300\]/HWResolution[$1 $1]/" "$vh_harness/cups/pagefile.ppd" >"$2"
}

# vh_queue_names: the queues of $CUPS_SERVER, one a line.
vh_queue_names() {
  lpstat -e 2>/dev/null || true
}

# vh_reg_unicode: the registry lines on stdin (UTF-8, without a header) as a
# file for `wine reg import` on stdout, in UTF-16 so that names in any script
# arrive whole (a REGEDIT4 file is read in the prefix's ANSI code page).
vh_reg_unicode() {
  printf '\xff\xfe'
  { printf 'Windows Registry Editor Version 5.00\r\n'; sed 's/$/\r/'; } | iconv -f UTF-8 -t UTF-16LE
}

# ---- Xvfb -------------------------------------------------------------------

vh_has_line() { [[ -s $1 ]] && grep -q '^[0-9]' "$1"; }

# vh_xvfb_start DIR LOGDIR PIDS SCREEN: a private Xvfb on a free display.
# Sets vh_display (":N").
vh_xvfb_start() {
  local dir=$1 logs=$2 pids=$3 screen=$4
  vh_require Xvfb xvfb
  local numberFile=$dir/xvfb.display
  : >"$numberFile"
  VH_FD3=$numberFile vh_spawn "$pids" xvfb "$logs/xvfb.log" \
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset
  if ! vh_wait "Xvfb to pick a display" "$vh_pid" vh_has_line "$numberFile"; then
    vh_tail "$logs/xvfb.log"
    return 1
  fi
  vh_display=":$(head -n 1 "$numberFile")"
}

# vh_modeline W H: an X modeline of about 60 frames a second for a W x H mode.
vh_modeline() {
  local width=$1 height=$2 htotal=$(($1 + 320)) vtotal=$(($2 + 38))
  local kilohertz=$((htotal * vtotal * 60 / 1000))
  printf '"%sx%s" %d.%03d %d %d %d %d %d %d %d %d -hsync -vsync' "$width" "$height" \
    $((kilohertz / 1000)) $((kilohertz % 1000)) "$width" $((width + 24)) $((width + 160)) \
    "$htotal" "$height" $((height + 3)) $((height + 9)) "$vtotal"
}

# vh_monitors_config PRIMARY SECOND SIDE: an Xorg configuration for two
# monitors of the dummy driver in Xinerama mode, PRIMARY and SECOND given as
# WxH and SECOND placed left or right of PRIMARY. Xinerama's head 0 is Wine's
# primary monitor, and Wine moves the origin to the primary's top-left corner.
vh_monitors_config() {
  local primary=$1 second=$2 side=$3 layout head size
  case $side in
    right) layout=('Screen 0 "s0" 0 0' 'Screen 1 "s1" RightOf "s0"') ;;
    left) layout=("Screen 0 \"s0\" ${second%x*} 0" 'Screen 1 "s1" 0 0') ;;
    *) vh_die "a second monitor lies left or right, not '$side'" ;;
  esac
  printf 'Section "ServerFlags"\n'
  printf '  Option "%s" "%s"\n' AutoAddDevices false AutoAddGPU false AutoBindGPU false \
    DontVTSwitch true Xinerama true
  printf 'EndSection\n'
  head=0
  for size in "$primary" "$second"; do
    printf 'Section "Device"\n  Identifier "d%d"\n  Driver "dummy"\n  VideoRam 32768\nEndSection\n' "$head"
    printf 'Section "Monitor"\n  Identifier "m%d"\n  HorizSync 5.0-1000.0\n  VertRefresh 5.0-200.0\n' "$head"
    printf '  Modeline %s\nEndSection\n' "$(vh_modeline "${size%x*}" "${size#*x}")"
    printf 'Section "Screen"\n  Identifier "s%d"\n  Device "d%d"\n  Monitor "m%d"\n' "$head" "$head" "$head"
    printf '  DefaultDepth 24\n  SubSection "Display"\n    Depth 24\n    Modes "%s"\n' "$size"
    printf '    Virtual %s %s\n  EndSubSection\nEndSection\n' "${size%x*}" "${size#*x}"
    head=$((head + 1))
  done
  printf 'Section "ServerLayout"\n  Identifier "two monitors"\n  %s\n  %s\nEndSection\n' "${layout[@]}"
}

# vh_monitors_start DIR LOGDIR PIDS LAYOUT: an Xorg with two monitors on a
# free display, LAYOUT being PRIMARY+SECOND@SIDE (1024x768+800x600@left). The
# dummy driver needs root. Sets vh_display (":N").
vh_monitors_start() {
  local dir=$1 logs=$2 pids=$3 layout=$4
  [[ $layout =~ ^([0-9]+x[0-9]+)\+([0-9]+x[0-9]+)@(left|right)$ ]] ||
    vh_die "two monitors are PRIMARY+SECOND@left|right, not '$layout'"
  vh_require Xorg xserver-xorg-core
  [[ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ]] ||
    vh_die "Xorg's dummy driver not found: install the Debian package 'xserver-xorg-video-dummy'"
  ((EUID == 0)) || vh_die "Xorg's dummy driver runs as root only"
  vh_monitors_config "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" "${BASH_REMATCH[3]}" >"$dir/xorg.conf"
  local numberFile=$dir/xorg.display
  : >"$numberFile"
  VH_FD3=$numberFile vh_spawn "$pids" xorg "$logs/xorg-output.log" \
    Xorg -displayfd 3 -config "$dir/xorg.conf" -logfile "$logs/xorg.log" -nolisten tcp -noreset \
    -novtswitch -sharevts
  if ! vh_wait "Xorg to pick a display" "$vh_pid" vh_has_line "$numberFile"; then
    vh_tail "$logs/xorg-output.log" "$logs/xorg.log"
    return 1
  fi
  vh_display=":$(head -n 1 "$numberFile")"
}

# ---- Wine -------------------------------------------------------------------

# vh_wine_server_dir PREFIX: where the wineserver of PREFIX keeps its socket.
# Debian's Wine makes a directory $TMPDIR/wine-XXXXXX per prefix and names it
# in PREFIX/wineserver; upstream Wine uses /tmp/.wine-UID.
vh_wine_server_dir() {
  local base
  base=/tmp/.wine-$(id -u)
  if [[ -f $1/wineserver ]]; then
    base=$(cat "$1/wineserver")
    [[ $base == /* ]] || base=${TMPDIR:-/tmp}/$base
  fi
  printf '%s/server-%s-%x' "$base" "$(stat -c %D "$1")" "$(stat -c %i "$1")"
}

vh_wine_server_up() {
  [[ -S $(vh_wine_server_dir "$1")/socket ]]
}

# vh_wine_forget PREFIX: removes Debian's per-prefix server directory (once no
# wineserver of PREFIX runs).
vh_wine_forget() {
  local dir
  [[ -f $1/wineserver ]] || return 0
  dir=$(dirname "$(vh_wine_server_dir "$1")")
  if [[ $(basename "$dir") == wine-?????? ]]; then rm -rf -- "$dir"; fi
}

# vh_wine_boot PREFIX LOG [keep-links] [no-window-manager] [monitors]: creates
# a prefix (WINEPREFIX and friends exported by the caller) and sets it up for
# unattended runs. Wine links Desktop, Documents, Pictures, ... to folders of
# $HOME; unless told to keep those links, they become folders of their own, as
# on Windows. no-window-manager: see vh_wine_window_manager. monitors: for the
# Xorg of vh_monitors_start, where Wine sees both monitors only without its
# video-mode extension (else explorer crashes and Wine reports one).
vh_wine_boot() {
  local prefix=$1 log=$2 links=keep-no windowManager=yes monitors=no link option
  for option in "${@:3}"; do
    case $option in
      keep-links) links=keep-links ;;
      no-window-manager) windowManager=no ;;
      monitors) monitors=yes ;;
      *) vh_die "vh_wine_boot: unknown option $option" ;;
    esac
  done
  vh_require wine wine
  vh_require wineserver wine
  [[ -x /usr/lib/wine/wine64 ]] || vh_die "64-bit Wine not found: install the Debian package 'wine64'"
  mkdir -p "$prefix"
  if ! (WINEDLLOVERRIDES="mscoree,mshtml=" vh_detach "$log" timeout 180 wineboot -i); then
    vh_tail "$log"
    return 1
  fi
  # A crash ends the program with a backtrace instead of opening a dialog.
  cat >"$prefix/drive_c/windows/temp/unattended.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
EOF
  [[ $windowManager == no ]] && vh_no_window_manager_lines >>"$prefix/drive_c/windows/temp/unattended.reg"
  [[ $monitors == yes ]] &&
    printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"UseXVidMode"="N"\n' \
      >>"$prefix/drive_c/windows/temp/unattended.reg"
  if ! (vh_detach "$log" timeout 60 wine reg import 'C:\windows\temp\unattended.reg'); then
    vh_tail "$log"
    return 1
  fi
  # Wine's own default is Windows 7; our users have Windows 10 or 11.
  if ! (vh_detach "$log" timeout 60 wine winecfg -v win10); then
    vh_tail "$log"
    return 1
  fi
  (vh_detach "$log" timeout 60 wineserver -w) || true
  [[ $links == keep-links ]] && return 0
  for link in "$prefix"/drive_c/users/*/*; do
    if [[ -L $link ]]; then
      rm -f "$link"
      mkdir "$link"
    fi
  done
}

# vh_no_window_manager_lines: registry lines (REGEDIT4) for a display without
# a window manager (a private Xvfb): Wine then draws title bars and frames
# itself and does not wait for a window manager to map and unmap windows,
# which would stall every hide for seconds.
vh_no_window_manager_lines() {
  printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n"Decorated"="N"\n'
}

# vh_wine_window_manager PREFIX LOG yes|no: tells an existing prefix whether a
# window manager runs on the display (see vh_no_window_manager_lines).
vh_wine_window_manager() {
  local prefix=$1 log=$2 reg
  reg="$prefix/drive_c/windows/temp/window-manager.reg"
  if [[ $3 == no ]]; then
    { printf 'REGEDIT4\n'; vh_no_window_manager_lines; } >"$reg"
  else
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"=-\n"Decorated"=-\n' >"$reg"
  fi
  if ! (WINEPREFIX=$prefix vh_detach "$log" timeout 60 wine reg import 'C:\windows\temp\window-manager.reg'); then
    vh_tail "$log"
    return 1
  fi
  rm -f "$reg"
}

# vh_wineserver_start PREFIX LOGDIR PIDS: a wineserver for PREFIX that stays
# until stopped, so that each program starts without booting one.
vh_wineserver_start() {
  local prefix=$1 logs=$2 pids=$3
  WINEPREFIX=$prefix vh_spawn "$pids" wineserver "$logs/wineserver.log" wineserver -f -p
  if ! vh_wait "the wineserver of $prefix" "$vh_pid" vh_wine_server_up "$prefix"; then
    vh_tail "$logs/wineserver.log"
    return 1
  fi
}

# vh_keeper_build OUT: compiles probe/keeper.cpp.
vh_keeper_build() {
  vh_require x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
  x86_64-w64-mingw32-g++-posix -std=c++20 -O1 -static -s -o "$1" "$vh_harness/probe/keeper.cpp"
}

vh_wine_system_up() {
  local pid command services=0 desktop=0
  for pid in $(vh_wine_pids "$1"); do
    command=$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null) || continue
    case $command in
      'C:\windows\system32\services.exe'*) services=1 ;;
      'C:\windows\system32\explorer.exe /desktop'*) desktop=1 ;;
    esac
  done
  ((services && desktop))
}

# vh_keeper_start PREFIX EXE LOGDIR PIDS: runs the keeper (see
# probe/keeper.cpp) and waits until Wine's services and desktop run, so that
# they write to our logs and not into a test's output.
vh_keeper_start() {
  local prefix=$1 exe=$2 logs=$3 pids=$4
  vh_spawn "$pids" keeper "$logs/wine.log" wine "$exe"
  if ! vh_wait "Wine's services and desktop" "$vh_pid" vh_wine_system_up "$prefix"; then
    vh_tail "$logs/wine.log"
    return 1
  fi
}
