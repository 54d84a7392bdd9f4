#!/bin/bash
# Two builds of one tree give byte-identical release files: builds the packages a second time,
# from a copy of the tree in another folder (its files written now, not when they were checked
# out), and compares them with the first build's.
#
#   CheckReproducible.sh SOURCE_DIR FIRST_BUILD_DIR WORK_DIR VERSION
#
# The copy finds the commit's time in SOURCE_DIR's repository, as the first build did, so the
# first build must be of the last commit. WORK_DIR is kept when the files differ, for a look at
# the differences.
set -euo pipefail
source_dir=$1 first=$2 work=$3 version=$4
readonly kFiles=(bin/Vindelor.exe "Vindelor-$version-setup.exe" "Vindelor-$version-x64.zip")

for file in "${kFiles[@]}"; do
  [[ -f $first/$file ]] || { echo "no $first/$file: build the packages first" >&2; exit 1; }
done
# A first build from before the last commit carries that commit's time: not a fault of the build.
rm -rf "$work"
mkdir -p "$work/src"
python3 "$source_dir/packaging/release-files.py" commit-time "$source_dir" "$work/commit-time.txt"
built=$(cat "$first/commit-time.txt") now=$(cat "$work/commit-time.txt")
if [[ $built != "$now" ]]; then
  echo "$first was built for the time $built, the tree's is $now: build it again first" >&2
  exit 1
fi
# The tree as it is, committed or not, without what git ignores (the build folders).
git -C "$source_dir" ls-files -z --cached --others --exclude-standard |
  (cd "$source_dir" && tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null) |
  tar -xf - -C "$work/src"
export GIT_DIR
GIT_DIR=$(git -C "$source_dir" rev-parse --absolute-git-dir)

started=$SECONDS
(cd "$work/src" && cmake --preset windows >/dev/null &&
  cmake --build --preset windows --target packages >"$work/build.log" 2>&1) ||
  { tail -n 30 "$work/build.log" >&2; exit 1; }
echo "second build: $((SECONDS - started)) s"

second=$work/src/build/windows
status=0
for file in "${kFiles[@]}"; do
  if cmp -s "$first/$file" "$second/$file"; then
    echo "identical: $file $(sha256sum <"$first/$file" | cut -c1-64)"
  else
    echo "DIFFERENT: $file ($(stat -c %s "$first/$file") and $(stat -c %s "$second/$file") bytes;" \
      "$(cmp "$first/$file" "$second/$file" 2>&1 | sed 's/.*differ: //'))"
    status=1
  fi
done
if ((status == 0)); then rm -rf "$work"; fi
exit "$status"
