#!/bin/bash
# The cost of each output format when findings are many: GNAT's library
# sources copied N times into one tree and checked under a rule book they do
# not follow (TAVIK, every style kind, GNAT extensions, the preparation
# pass), so that nearly every line draws findings. For each format, and for
# --report FILE.csv beside the GNU lines, prints the best wall time of R
# runs, the peak memory, the output's size and the ratios to --format gnu;
# with --scale K it also runs the streaming formats (gnu, json, sarif) on K
# times the copies and prints how their peak memory grew.
#
# Usage: bench/formats.sh [--build DIR] [--copies N] [--runs R] [--scale K] [--jobs J] [LIBRARY]
set -u -o pipefail

build=build
copies=3
runs=3
scale=0
jobs=
library=
while [ $# -gt 0 ]; do
  case $1 in
    --build) build=$2; shift 2 ;;
    --copies) copies=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --scale) scale=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    *) library=$1; shift ;;
  esac
done
program=$(realpath "$build/app/cli/flawseek" 2>/dev/null)
[ -x "$program" ] || { echo "formats.sh: no $build/app/cli/flawseek; build first" >&2; exit 2; }
[ -n "$library" ] || library=$(gnatls -v 2>/dev/null | grep -m1 adainclude | tr -d ' ')
[ -d "$library" ] || { echo "formats.sh: no GNAT library sources (give a directory)" >&2; exit 2; }
work=$(mktemp -d /tmp/flawseek-formats-XXXXXX)
trap 'rm -rf "$work"' EXIT
options=(--gnat-extensions --style all --style-set TAVIK --ada-version 2022 --preparation-phase -q)
[ -n "$jobs" ] && options+=(-j "$jobs")

make_tree() {  # make_tree DIR COPIES
  mkdir -p "$1"
  for c in $(seq "$2"); do cp -r "$library" "$1/c$c"; done
  find "$1" -name "*.ad?" -exec cat {} + > /dev/null
}

# One run: prints "seconds peak_kB output_bytes".
run() {  # run TREE ARGS...
  local tree=$1; shift
  rm -f "$work/report.csv"
  /usr/bin/time -f "%e %M" -o "$work/time" "$program" "${options[@]}" "$@" "$tree" > "$work/out" 2>/dev/null
  local size
  size=$(stat -c %s "$work/out")
  [ -f "$work/report.csv" ] && size=$(( size + $(stat -c %s "$work/report.csv") ))
  echo "$(tail -1 "$work/time") $size"  # a failing exit (findings) adds a line before
}

best() {  # best TREE ARGS...: the fastest of $runs runs
  for _ in $(seq "$runs"); do run "$@"; done | sort -n | head -1
}

make_tree "$work/tree" "$copies"
findings=$("$program" "${options[@]}" --statistics "$work/tree" 2>/dev/null | tail -1 | awk '{print $1}')
echo "tree: $copies copies of $library, $findings findings"
printf "| %-18s | %8s | %8s | %11s | %10s | %10s |\n" output wall "peak MB" "output MB" "wall/gnu" "MB/gnu"
printf "|%s|%s|%s|%s|%s|%s|\n" "--------------------" "----------" "----------" "-------------" "------------" "------------"
read -r gnu_wall gnu_peak _ <<< "$(best "$work/tree" --format gnu)"
for what in gnu text csv tree json sarif report; do
  case $what in
    report) line=$(best "$work/tree" --format gnu --report "$work/report.csv"); label="--report x.csv" ;;
    *) line=$(best "$work/tree" --format "$what"); label="--format $what" ;;
  esac
  read -r wall peak size <<< "$line"
  printf "| %-18s | %8.2f | %8.1f | %11.1f | %10.2f | %10.2f |\n" "$label" "$wall" "$(echo "$peak/1024" | bc -l)" \
    "$(echo "$size/1048576" | bc -l)" "$(echo "$wall/$gnu_wall" | bc -l)" "$(echo "$peak/$gnu_peak" | bc -l)"
done

if [ "$scale" -gt 0 ]; then
  make_tree "$work/large" $(( copies * scale ))
  echo
  echo "streaming formats on $(( copies * scale )) copies ($scale times the findings): peak memory"
  for what in gnu json sarif; do
    read -r _ small _ <<< "$(run "$work/tree" --format "$what")"
    read -r _ large _ <<< "$(run "$work/large" --format "$what")"
    printf "  --format %-6s %7.1f MB -> %7.1f MB (%.2f times)\n" "$what" "$(echo "$small/1024" | bc -l)" \
      "$(echo "$large/1024" | bc -l)" "$(echo "$large/$small" | bc -l)"
  done
fi
