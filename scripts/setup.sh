#!/bin/bash
# Installs what building and testing Vindelor needs on Debian 12, from Debian
# packages only, and only what is missing. Safe to run again and again.
#
#   scripts/setup.sh          install what is missing
#   scripts/setup.sh --check  list what is missing, exit 1 if anything is
#
# Runs as root or through sudo. Services that packages bring along (the
# system's cupsd) are not started: the tests run a cupsd of their own.
set -euo pipefail

readonly kPackages=(
  # Build: host tools and unit tests, the Windows cross compiler.
  cmake ninja-build g++ g++-mingw-w64-x86-64-posix googletest
  # The Windows installer (makensis).
  nsis
  # The icon's drawing script, checked by a host test.
  python3
  # The fuzz run of the bitmap reader: clang with libFuzzer and its sanitizer runtimes.
  clang-14 libclang-rt-14-dev llvm-14
  # Run and test under Wine on a virtual screen.
  wine wine64 xvfb fonts-wine
  # Two monitors for the tests that need them: Xorg's dummy driver in Xinerama mode.
  xserver-xorg-core xserver-xorg-video-dummy
  # Libraries that Wine uses when present (Debian only recommends them):
  # XInput2 for input, RandR for display modes, Render for alpha and
  # antialiasing, cursors, composite, Xinerama, fixes, video modes.
  libxi6 libxrandr2 libxrender1 libxcursor1 libxcomposite1 libxinerama1
  libxfixes3 libxxf86vm1
  # Printing: a private cupsd with file queues; ghostscript renders pages.
  cups cups-client ghostscript
  # Used by the scripts: xdpyinfo (run.sh), setsid and timeout (harness).
  x11-utils util-linux coreutils
  # bench/latency.sh: the native X11 screen read it puts beside Wine's figures.
  libx11-dev libxext-dev
)
readonly kPolicy=/usr/sbin/policy-rc.d

missing=()
for package in "${kPackages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [[ $status == installed ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  echo "setup.sh: nothing missing"
  exit 0
fi
if [[ ${1:-} == --check ]]; then
  echo "setup.sh: missing: ${missing[*]}"
  exit 1
fi

sudo=()
if ((EUID != 0)); then
  command -v sudo >/dev/null || { echo "setup.sh: run as root (no sudo here) to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi

log=$(mktemp "${TMPDIR:-/tmp}/vindelor-setup.XXXXXX.log")
ownPolicy=0
cleanup() {
  if ((ownPolicy)); then "${sudo[@]}" rm -f "$kPolicy"; fi
}
trap cleanup EXIT

# Packages must not start services: no system cupsd to get in the way.
if [[ ! -e $kPolicy ]]; then
  printf '#!/bin/sh\n# Left by Vindelor scripts/setup.sh while it installs.\nexit 101\n' |
    "${sudo[@]}" tee "$kPolicy" >/dev/null
  "${sudo[@]}" chmod 755 "$kPolicy"
  ownPolicy=1
fi

if ! { "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update &&
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  tail -n 30 "$log" >&2
  echo "setup.sh: installing failed (full log: $log)" >&2
  exit 1
fi
rm -f "$log"
echo "setup.sh: installed ${missing[*]}"
