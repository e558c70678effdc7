#!/bin/bash
# Times flawseek against the cost of reading its input, and against GNAT's
# own syntax check, on GNAT's library sources made Ada 95 and copied ten
# times into one tree (about 60 MB), or on any tree given to it:
#   (a) cat of the Ada files
#   (b) GNAT's syntax-only check (gcc -c -gnats -gnat95), one process per
#       file, as many at once as there are cores
#   (c) flawseek --jobs 1 with the default job
#   (c+) flawseek --jobs 1 with every check (as (d), on one thread)
#   (d) flawseek on every core, with every style kind, GNAT extensions and
#       the preparation pass
# and prints the ratios (c)/(a), (d)/(a) and (b)/(d), each run's MB/s, and the
# peak memory of (c) and (d). On the ten-fold tree it also measures the peak
# memory on the library itself, for the ratio of the two. With the build's
# benchmark programs present it adds the one-core speeds of the scanner and
# parser (empty hooks) and of the whole check pass.
#
# Usage: bench/compare.sh [options] [TREE]
#   --build DIR     the build directory (default: build)
#   --runs N        best of N runs for (a), (c) and (d) (default 3)
#   --copies N      copies of the library in the generated tree (default 10)
#   --no-gnat       leave out (b), which takes minutes
#   --keep          keep the generated tree (it is printed)
# The files are read warm: each is read once before any timing, so the
# figures compare the programs, not the disk.
set -u -o pipefail

build=build
runs=3
copies=10
gnat=1
keep=0
tree=
while [ $# -gt 0 ]; do
  case $1 in
    --build) build=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --copies) copies=$2; shift 2 ;;
    --no-gnat) gnat=0; shift ;;
    --keep) keep=1; shift ;;
    -h|--help) sed -n '2,/^set -u/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    -*) echo "compare.sh: unknown option $1" >&2; exit 2 ;;
    *) tree=$1; shift ;;
  esac
done

here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$build" 2> /dev/null && pwd) || { echo "compare.sh: no build directory $build" >&2; exit 2; }
flawseek=$build/app/cli/flawseek
[ -x "$flawseek" ] || { echo "compare.sh: $flawseek not built" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "compare.sh: /usr/bin/time (GNU time) is needed for peak memory" >&2; exit 2; }
cores=$(nproc)

work=$(mktemp -d "${TMPDIR:-/tmp}/flawseek-bench.XXXXXX") || exit 1
cleanup() { [ "$keep" = 1 ] || rm -rf "$work"; }
trap cleanup EXIT

library=
if [ -z "$tree" ]; then
  corpus=${FLAWSEEK_GNAT_CORPUS:-$build/gnat-corpus}
  bash "$here/tests/corpus/make_gnat_corpus.sh" "$corpus" > /dev/null || exit 1
  [ -f "$corpus/.complete" ] || { echo "compare.sh: no GNAT corpus (is GNAT installed?); name a TREE" >&2; exit 2; }
  library=$work/library
  mkdir -p "$library"
  (cd "$corpus" && xargs cp -t "$library" < files.txt)
  tree=$work/tree
  for ((copy = 0; copy < copies; ++copy)); do
    mkdir -p "$tree/copy_$copy"
    cp "$library"/* "$tree/copy_$copy/"
  done
  [ "$keep" = 1 ] && echo "tree kept in $tree"
fi
tree=$(cd "$tree" && pwd) || exit 2

# The Ada files of the tree, as flawseek picks them by extension.
list=$work/files
find "$tree" -type f \( -iname '*.ads' -o -iname '*.adb' -o -iname '*.ada' -o -iname '*.adq' \) -print0 |
  LC_ALL=C sort -z > "$list"
count=$(tr -cd '\0' < "$list" | wc -c)
bytes=$(xargs -0 cat < "$list" | wc -c)
[ "$count" -gt 0 ] || { echo "compare.sh: no Ada files in $tree" >&2; exit 2; }
megabytes=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1e6 }')
echo "tree: $tree"
echo "      $count files, $megabytes MB, $cores cores"

now() { date +%s.%N; }

# best_of N COMMAND...: the shortest wall time of N runs, in seconds.
best_of() {
  local n=$1 best= start end took
  shift
  for ((i = 0; i < n; ++i)); do
    start=$(now)
    "$@" > /dev/null 2>&1
    end=$(now)
    took=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }')
    if [ -z "$best" ] || awk -v t="$took" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$took; fi
  done
  echo "$best"
}

# peak_kb COMMAND...: the peak resident memory of one run, in kilobytes.
peak_kb() {
  /usr/bin/time -f '%M' -o "$work/peak" "$@" > /dev/null 2>&1
  tail -n 1 "$work/peak"
}

rate() { awk -v b="$bytes" -v t="$1" 'BEGIN { if (t > 0) printf "%.0f", b / 1e6 / t; else print "inf" }'; }
ratio() { awk -v x="$1" -v y="$2" 'BEGIN { if (y > 0) printf "%.2f", x / y; else print "inf" }'; }

cat_files() { xargs -0 cat < "$list"; }
default_job=(-q --format gnu)
every_check=(-q --format gnu --gnat-extensions --preparation-phase --style all)
run_c() { "$flawseek" --jobs 1 "${default_job[@]}" "$1"; }
run_c_all() { "$flawseek" --jobs 1 "${every_check[@]}" "$1"; }
run_d() { "$flawseek" --jobs "$cores" "${every_check[@]}" "$1"; }

# Warm the page cache.
cat_files > /dev/null

time_a=$(best_of "$runs" cat_files)
time_c=$(best_of "$runs" run_c "$tree")
time_c_all=$(best_of "$runs" run_c_all "$tree")
time_d=$(best_of "$runs" run_d "$tree")
peak_c=$(peak_kb "$flawseek" --jobs 1 "${default_job[@]}" "$tree")
peak_c_all=$(peak_kb "$flawseek" --jobs 1 "${every_check[@]}" "$tree")
peak_d=$(peak_kb "$flawseek" --jobs "$cores" "${every_check[@]}" "$tree")

gnat_check() {
  # Each file is checked in a directory of its own, so parallel checks never
  # meet over GNAT's output files.
  xargs -0 -P "$cores" -n 1 bash -c 'd=$(mktemp -d) && cd "$d" && gcc -c -gnats -gnat95 "$1"; rm -rf "$d"' gnat < "$list"
}
time_b=
if [ "$gnat" = 1 ]; then
  if command -v gcc > /dev/null && command -v gnatls > /dev/null; then
    time_b=$(best_of 1 gnat_check)
  else
    echo "(b) left out: GNAT not found"
  fi
fi

printf '\n%-52s %9s %8s %10s\n' "run" "seconds" "MB/s" "peak KB"
printf '%-52s %9s %8s %10s\n' "(a) cat" "$time_a" "$(rate "$time_a")" "-"
[ -n "$time_b" ] && printf '%-52s %9s %8s %10s\n' "(b) gcc -gnats -gnat95, $cores at once" "$time_b" "$(rate "$time_b")" "-"
printf '%-52s %9s %8s %10s\n' "(c) flawseek --jobs 1, default job" "$time_c" "$(rate "$time_c")" "$peak_c"
printf '%-52s %9s %8s %10s\n' "(c+) flawseek --jobs 1, every check" "$time_c_all" "$(rate "$time_c_all")" "$peak_c_all"
printf '%-52s %9s %8s %10s\n' "(d) flawseek --jobs $cores, every check" "$time_d" "$(rate "$time_d")" "$peak_d"
echo
echo "(c)/(a) = $(ratio "$time_c" "$time_a")"
echo "(d)/(a) = $(ratio "$time_d" "$time_a")"
[ -n "$time_b" ] && echo "(b)/(d) = $(ratio "$time_b" "$time_d")"

if [ -n "$library" ]; then
  lib_c=$(peak_kb "$flawseek" --jobs 1 "${default_job[@]}" "$library")
  lib_d=$(peak_kb "$flawseek" --jobs "$cores" "${every_check[@]}" "$library")
  echo
  echo "peak memory, library once -> $copies times:"
  echo "  (c) $lib_c KB -> $peak_c KB: $(ratio "$peak_c" "$lib_c") x"
  echo "  (d) $lib_d KB -> $peak_d KB: $(ratio "$peak_d" "$lib_d") x"
fi

# One-core speeds of the analysis itself, from the benchmark programs: the
# median of five repetitions, since one run on a shared machine can be off by
# a tenth either way.
speed() {
  "$build/bench/$1" --benchmark_filter="$2" --benchmark_min_time=0.5 --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true 2> /dev/null |
    awk -v label="$3" '/_median/ && /bytes_per_second/ { for (i = 1; i <= NF; ++i) if ($i ~ /^bytes_per_second=/) {
      sub("bytes_per_second=", "", $i); printf "  %-44s %s\n", label, $i } }'
}
if [ -x "$build/bench/parse_bench" ] && [ -x "$build/bench/bug_check_bench" ]; then
  echo
  echo "one core, the library in memory (CPU time, median of 5):"
  speed parse_bench 'BM_ParseCorpus$' "scan + parse, empty hooks"
  speed bug_check_bench 'BM_CheckCorpus/0$' "check pass, default rules"
  speed bug_check_bench 'BM_CheckCorpus/1$' "check pass, every style rule (TAVIK_95)"
fi
