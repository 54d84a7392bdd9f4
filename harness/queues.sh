#!/bin/bash
# Sets the print queues of the harness's cupsd (see services.sh):
#
#   queues.sh STATE_DIR none           no queue at all
#   queues.sh STATE_DIR one            VindelorA only, the default
#   queues.sh STATE_DIR three [X]      VindelorA, VindelorB, VindelorC; X (A, B,
#                                      C or a full name) is the default, A if
#                                      not given
#   queues.sh STATE_DIR remove NAME    deletes queue NAME, other queues stay; if
#                                      it was the default, CUPS has none and
#                                      Wine takes the first queue by name
#   queues.sh STATE_DIR failing        adds VindelorFail, the new default
#   queues.sh STATE_DIR rejecting      adds VindelorReject, the new default
#   queues.sh STATE_DIR long           adds a queue with a 93-character name
#                                      (kLong below), the new default
#   queues.sh STATE_DIR fine           adds VindelorFine, which prints at 1200
#                                      dots per inch, the new default
#   queues.sh STATE_DIR named          adds "Büro-東京-Drucker" (pages in
#                                      STATE_DIR/pages/named), the new default,
#                                      and "Büro-Drucker" (pages/named-latin)
#   queues.sh STATE_DIR disable NAME   queue NAME accepts jobs and holds them
#   queues.sh STATE_DIR enable NAME    queue NAME prints again, held jobs first
#   queues.sh STATE_DIR server stop    ends the cupsd, as a print server that
#                                      goes away; "server start" starts it again
#
# Each job that queue Q prints becomes STATE_DIR/pages/Q/<job-id>.ps (written
# whole, then renamed; see cups/pagefile). Job ids count up across all queues.
#
# How the two failing queues fail:
#   VindelorFail accepts every job and fails it in CUPS: its backend writes
#     STATE_DIR/pages/VindelorFail/<job-id>.failed and nothing else, and exits
#     with an error; CUPS aborts the job and the queue stays enabled. A Windows
#     program cannot notice: StartDoc, EndPage and EndDoc all succeed.
#   VindelorReject is enabled but rejects jobs: Wine hands a document to CUPS
#     in EndDoc, which then fails (returns <= 0, GetLastError 6). No file.
#
# Wine follows: the next Wine program sees exactly the new queues and default,
# and so do programs that are already running, with one exception: a queue
# added while some Wine program runs that has loaded winspool stays invisible
# until all such programs have exited (a note on stderr says so).
set -euo pipefail
# shellcheck source=harness/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

readonly kNames=(VindelorA VindelorB VindelorC)
readonly kFailing=VindelorFail
readonly kRejecting=VindelorReject
readonly kFine=VindelorFine
# Names outside every ANSI code page, and one inside the Western one.
readonly kNamed=Büro-東京-Drucker kNamedLatin=Büro-Drucker
# As long as the names of network printers often are.
readonly kLong=Vindelor-Long-Name-Printer-On-The-Second-Floor-Of-The-Old-Building-Next-To-\
The-Kitchen-Colour
readonly kPrintKey='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers'
readonly kUserKey='HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion'

usage() {
  echo "usage: queues.sh STATE_DIR none | one | three [DEFAULT] | remove NAME | failing |" \
    "rejecting | long | fine | named | disable NAME | enable NAME | server stop|start" >&2
  exit 2
}

remove_all() {
  local name
  for name in $(vh_queue_names); do vh_lpadmin -x "$name"; done
}

add() {
  vh_queue_add "$1" "$state/pages/$1" "${2:-}" ${3:+"$3"}
  added=1
}

# add_named NAME FOLDER: a queue whose pages go to STATE_DIR/pages/FOLDER.
add_named() {
  vh_queue_add "$1" "$state/pages/$2"
  added=1
}

# Wine keeps its printer list in the prefix's registry. A Wine process
# refreshes it from CUPS when it loads winspool, unless a live process loaded
# winspool before it (Wine's init mutex lives as long as that process): then
# it uses the list as it is. So the registry is edited here, through the
# running wineserver: removed queues disappear for running programs as well,
# and the default follows CUPS (or is the first queue, as Wine would choose).
sync_wine() {
  local current default name reg
  current=$(vh_queue_names)
  default=$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')
  [[ -n $default ]] || default=$(head -n 1 <<<"$current")
  reg=$(mktemp "$state/prefix/drive_c/windows/temp/queues-XXXXXX.reg")
  {
    for name in "${kNames[@]}" "$kFailing" "$kRejecting" "$kFine" "$kLong" "$kNamed" \
      "$kNamedLatin" "$@"; do
      grep -qxF "$name" <<<"$current" && continue
      printf '\n[-%s\\%s]\n' "$kPrintKey" "$name"
      printf '\n[%s\\%s]\n"%s"=-\n' "$kUserKey" Devices "$name" "$kUserKey" PrinterPorts "$name"
    done
    printf '\n[%s\\Windows]\n' "$kUserKey"
    if [[ -n $default ]]; then
      printf '"device"="%s,wineps.drv,CUPS:%s"\n' "$default" "$default"
    else
      echo '"device"=-'
    fi
  } | vh_reg_unicode >"$reg"
  (source "$state/env" && wine reg import "C:\\windows\\temp\\$(basename "$reg")" >/dev/null)
  rm -f "$reg"
  if ((added)) && [[ -n $(vh_wine_user_pids "$state/prefix") ]]; then
    echo "queues.sh: note: Wine programs are running; queues added now become visible" \
      "to Wine once every program that uses printers has exited" >&2
  fi
}

(($# >= 2)) || usage
[[ -d $1/cups ]] || vh_die "$1/cups is missing: the test services are not started"
state=$(cd "$1" && pwd)
mode=$2
shift 2
export CUPS_SERVER
CUPS_SERVER=$(vh_cups_socket "$state/cups")
if [[ $mode == server ]]; then
  case ${1-} in
    stop)
      pid=$(vh_recorded_pid "$state/pids" cupsd) || vh_die "the harness cupsd does not run"
      kill -TERM "$pid"
      ended() { ! kill -0 "$1" 2>/dev/null; }
      vh_wait "cupsd to end" "" ended "$pid"
      ;;
    start) vh_cups_start "$state/cups" "$state/logs" "$state/pids" ;;
    *) usage ;;
  esac
  exit 0
fi
vh_cups_ready "$CUPS_SERVER" || vh_die "the harness cupsd does not answer on $CUPS_SERVER"
added=0
removed=()

case $mode in
  none)
    (($# == 0)) || usage
    remove_all
    ;;
  one)
    (($# == 0)) || usage
    remove_all
    add VindelorA
    vh_lpadmin -d VindelorA
    ;;
  three)
    (($# <= 1)) || usage
    default=${1:-A}
    [[ $default == Vindelor* ]] || default=Vindelor$default
    [[ " ${kNames[*]} " == *" $default "* ]] || vh_die "unknown default '$1': use A, B or C"
    remove_all
    for name in "${kNames[@]}"; do add "$name"; done
    vh_lpadmin -d "$default"
    ;;
  remove)
    (($# == 1)) || usage
    vh_lpadmin -x "$1"
    removed=("$1")
    ;;
  failing)
    (($# == 0)) || usage
    add "$kFailing" fail
    vh_lpadmin -d "$kFailing"
    ;;
  rejecting)
    (($# == 0)) || usage
    add "$kRejecting"
    vh_lpadmin -d "$kRejecting"
    cupsreject -r "rejects every job (test harness)" "$kRejecting"
    ;;
  long)
    (($# == 0)) || usage
    add "$kLong"
    vh_lpadmin -d "$kLong"
    ;;
  fine)
    (($# == 0)) || usage
    vh_ppd_at_dpi 1200 "$state/cups/pagefile-1200dpi.ppd"
    add "$kFine" "" "$state/cups/pagefile-1200dpi.ppd"
    vh_lpadmin -d "$kFine"
    ;;
  named)
    (($# == 0)) || usage
    add_named "$kNamed" named
    add_named "$kNamedLatin" named-latin
    vh_lpadmin -d "$kNamed"
    ;;
  disable | enable)
    (($# == 1)) || usage
    "cups$mode" "$1"
    ;;
  *) usage ;;
esac

# While services.sh starts, there is no Wine yet: nothing to follow.
if vh_recorded_pid "$state/pids" wineserver >/dev/null && [[ -f $state/env ]]; then
  sync_wine "${removed[@]}"
fi
