#!/bin/bash
# The idle program next to its floor: IdleFloor (a hidden window and a message loop, nothing
# else), the same with one 1000 ms timer (what the status line's clock, which the resident
# program must keep, costs by itself), and the resident Vindelor.exe (splash ended, tray icon
# shown, dialog hidden), one after the other under the same services. For each, as the system
# sees it: wake-ups (context switches, voluntary and involuntary, of all its threads) and CPU time
# per second over the count, private memory (Private_Clean + Private_Dirty of smaps_rollup) and
# resident memory at its end; each thread's wake-ups; then all side by side with the program's
# differences to the two floors, what the program itself adds.
#
#   bench/idle.sh STATE_DIR   under the running services of STATE_DIR (run-benchmarks.sh)
#   bench/idle.sh             builds the two, and runs them under services of its own
#                             ($VINDELOR_SCREEN, default 1024x768x24)
#
# Counting starts on conditions, then a settle time: the floor once it has said that its window
# exists and its loop runs; the program once its splash window has been shown on the X screen and
# has gone again. VINDELOR_EXE measures another build of the program; VINDELOR_IDLE_SECONDS
# (default 30) is the count, VINDELOR_IDLE_SETTLE (default 5) the settle time in seconds.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=harness/lib.sh
source harness/lib.sh
vh_require xwininfo x11-utils
vh_require xprop x11-utils
bin=$root/build/windows/bin
exe=${VINDELOR_EXE:-$bin/Vindelor.exe}
seconds=${VINDELOR_IDLE_SECONDS:-30}
settle=${VINDELOR_IDLE_SETTLE:-5}
bound=${VINDELOR_WAIT_SECONDS:-60}

state=${1:-}
own_services=
if [[ -z $state ]]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j2 --target Vindelor IdleFloor >/dev/null
  state=$root/build/windows/idle
  own_services=1
  trap 'harness/services.sh stop "$state" >/dev/null 2>&1 || true' EXIT
  harness/services.sh start "$state" >/dev/null
fi
# shellcheck disable=SC1091 # written by services.sh: DISPLAY, WINEPREFIX, ...
source "$state/env"
work=$(mktemp -d)
runner='' pid=''
# Ends the measured program (its Wine process, then wine-run.sh) if it still runs.
cleanup_run() {
  if [[ -n $pid ]]; then
    kill "$pid" 2>/dev/null || true
    # Gone, or a zombie (no command line left), before the next program is looked for.
    for _ in {1..100}; do
      [[ -s /proc/$pid/cmdline ]] || break
      sleep 0.1
    done
    pid=
  fi
  if [[ -n $runner ]]; then
    kill "$runner" 2>/dev/null || true
    wait "$runner" 2>/dev/null || true
    runner=
  fi
}
trap 'cleanup_run; rm -rf "$work"
  [[ -z $own_services ]] || harness/services.sh stop "$state" >/dev/null 2>&1 || true' EXIT

fail() {
  echo "idle.sh: $*" >&2
  [[ ! -s $work/out ]] || sed 's/^/  program output: /' "$work/out" >&2
  exit 1
}

# Waits up to $bound seconds for the command to succeed.
wait_for() {
  local what=$1 deadline=$((SECONDS + bound))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || fail "timed out after $bound s waiting for $what"
    sleep 0.1
  done
}

# Wine's process of the named program in this prefix (the program its first argument): not
# wine-run.sh, nor one of another prefix.
program_pid() {
  local candidate first
  for candidate in $(pgrep -f "$1"); do
    first=$(tr '\0' '\n' 2>/dev/null <"/proc/$candidate/cmdline" | head -n 1) || continue
    [[ $first == *"$1" ]] || continue
    tr '\0' '\n' 2>/dev/null <"/proc/$candidate/environ" |
      grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$candidate"
  done | tail -n 1
}
found_pid() { pid=$(program_pid "$1") && [[ -n $pid ]]; }

# Whether an X window of the process is mapped (Wine marks its windows with _NET_WM_PID).
shows_window() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null | awk '$1 ~ /^0x/ {print $1}'); do
    xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q "= $1\$" || continue
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && return 0
  done
  return 1
}
hides_windows() { ! shows_window "$1"; }
said_ready() { grep -q 'in its message loop' "$work/out" 2>/dev/null; }

# Every thread's id, name, context switches (voluntary + involuntary) and nanoseconds on a CPU,
# one a line.
thread_figures() {
  local task
  for task in /proc/"$1"/task/*; do
    awk -v tid="${task##*/}" -v name="$(tr ' ' '_' 2>/dev/null <"$task/comm")" \
      -v ran="$(awk '{print $1}' "$task/schedstat" 2>/dev/null)" '
      /ctxt_switches/ {s += $2} END {if (NR) print tid, name, s, ran + 0}' "$task/status" \
      2>/dev/null || true
  done
}

# Measures one idle program (label, ready condition, its name as pgrep sees it, the program and
# its arguments); prints its figures and adds "label|wake-ups|CPU|private|resident" to
# $work/figures.
measure() {
  local label=$1 ready=$2 name=$3
  shift 3
  : >"$work/out"
  harness/wine-run.sh "$state" "$@" >"$work/out" 2>&1 &
  runner=$!
  wait_for "the process of $name" found_pid "$name"
  case $ready in
    said) wait_for "$label to say it is in its loop" said_ready ;;
    splash)
      wait_for "the splash of $label to show" shows_window "$pid"
      wait_for "the splash of $label to end" hides_windows "$pid"
      ;;
  esac
  sleep "$settle"
  kill -0 "$pid" 2>/dev/null || fail "$label ended before the count"
  thread_figures "$pid" >"$work/before"
  sleep "$seconds"
  thread_figures "$pid" >"$work/after"
  cp "/proc/$pid/smaps_rollup" "$work/smaps"
  cleanup_run
  # Threads that ended during the count lose their figures; ones that began count from zero.
  awk -v label="$label" -v seconds="$seconds" -v figures="$work/figures" '
    FNR == NR {switched[$1] = $3; ran[$1] = $4; next}
    FILENAME ~ /after$/ {
      woken = $3 - ($1 in switched ? switched[$1] : 0); total += woken; threads++
      cpu += $4 - ($1 in ran ? ran[$1] : 0)
      line[threads] = sprintf("  %-42s %9.2f per second", "thread " $1 " (" $2 ")", woken / seconds)
      delete switched[$1]; next
    }
    /^Private_(Clean|Dirty)/ {private += $2}
    /^Rss/ {rss = $2}
    END {
      gone = 0; for (t in switched) gone++
      printf "%-44s %9.2f per second (over %d s, %d threads%s)\n", label ": wake-ups",
        total / seconds, seconds, threads, gone ? ", " gone " ended during it" : ""
      for (i = 1; i <= threads; ++i) print line[i]
      printf "%-44s %9.3f ms per second\n", label ": CPU", cpu / 1e6 / seconds
      printf "%-44s %9.1f MB\n", label ": private memory", private / 1024
      printf "%-44s %9.1f MB\n", label ": resident memory", rss / 1024
      printf "%s|%.4f|%.4f|%.4f|%.4f\n", label, total / seconds, cpu / 1e6 / seconds,
        private / 1024, rss / 1024 >> figures
    }' "$work/before" "$work/after" "$work/smaps"
}

: >"$work/figures"
measure "idle floor" said IdleFloor.exe "$bin/IdleFloor.exe"
measure "idle floor + 1 s timer" said IdleFloor.exe "$bin/IdleFloor.exe" clock
measure "resident Vindelor.exe" splash "$(basename "$exe")" "$exe"
# The floor + timer column is what the status line's clock, which must keep ticking, costs by
# itself; the last column is what the program adds beyond it.
awk -F'|' '{for (i = 2; i <= 5; ++i) figure[NR, i] = $i}
     END {
       split("wake-ups per second|CPU ms per second|private memory MB|resident memory MB", what, "|")
       printf "%-24s %9s %9s %9s %14s %14s\n", "idle, side by side", "floor", "+timer",
         "program", "program-floor", "program-timer"
       for (i = 2; i <= 5; ++i)
         printf "  %-22s %9.2f %9.2f %9.2f %14.2f %14.2f\n", what[i - 1], figure[1, i],
           figure[2, i], figure[3, i], figure[3, i] - figure[1, i], figure[3, i] - figure[2, i]
     }' "$work/figures"
