#!/bin/bash
# Times --fix and --diff against a plain check on a fresh copy of GNAT's
# library sources under a rule book they do not follow (TAVIK), so that
# nearly every file is mended. Each run gets its own copy; the medians of
# N runs are printed with their ratio to the check. The copy lives in the
# directory given (default: a new one under /tmp), so the disk's cost of
# writing, syncing and renaming files can be told from the program's by
# running it once on a disk and once on /dev/shm.
#
# Usage: bench/fix_speed.sh [--build DIR] [--runs N] [--jobs N] [--in DIR] [LIBRARY]
set -u -o pipefail

build=build
runs=5
jobs=1
place=
library=
while [ $# -gt 0 ]; do
  case $1 in
    --build) build=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --in) place=$2; shift 2 ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    *) library=$1; shift ;;
  esac
done
program=$build/app/cli/flawseek
[ -x "$program" ] || { echo "fix_speed.sh: no $program; build first" >&2; exit 2; }
if [ -z "$library" ]; then
  library=$(gnatls -v 2>/dev/null | grep -m1 adainclude | tr -d ' ')
fi
[ -d "$library" ] || { echo "fix_speed.sh: no GNAT library sources (give a directory)" >&2; exit 2; }
work=$(mktemp -d "${place:-/tmp}/flawseek-fix-XXXXXX")
trap 'rm -rf "$work"' EXIT
options=(--style-set TAVIK --gnat-extensions --ada-version 2022 -q --format gnu -j "$jobs")

median() { sort -n | awk '{a[NR]=$1} END{print a[int((NR+1)/2)]}'; }
# One timed run of flawseek with "$@" on a fresh copy; prints seconds.
timed() {
  rm -rf "$work/tree" && cp -r "$library" "$work/tree" && sync
  cat "$work"/tree/*.ad? > /dev/null
  local start end
  start=$(date +%s.%N)
  "$program" "${options[@]}" "$@" "$work/tree" > /dev/null 2>&1
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}

for what in check diff fix; do
  case $what in
    check) extra=() ;;
    diff) extra=(--diff) ;;
    fix) extra=(--fix) ;;
  esac
  for _ in $(seq "$runs"); do timed "${extra[@]}"; done | median > "$work/$what"
done
check=$(cat "$work/check")
printf "%-6s %8s s\n" check "$check"
for what in diff fix; do
  seconds=$(cat "$work/$what")
  printf "%-6s %8s s  %5.2f x the check\n" "$what" "$seconds" "$(echo "$seconds / $check" | bc -l)"
done
