#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang, AddressSanitizer and UBSan, and
# runs each for a bounded time on a corpus seeded from fuzz/seeds, the rule
# fixtures and GNAT's library sources (cut small). Any crash, leak, sanitizer
# report or input slower than 5 seconds fails the run; the input is copied to
# $FUZZ_DIR/found/<harness>/ -- add it to fuzz/regressions/<harness>/ so the
# test suite replays it from then on.
#
#   fuzz/run.sh [SECONDS_PER_HARNESS [HARNESS...]]     (default 60, all)
#
# A long local session: fuzz/run.sh 3600 check_file   (the corpus in
# $FUZZ_DIR/corpus grows from run to run; FUZZ_JOBS=N runs N workers;
# FUZZ_TIMEOUT=N allows N seconds an input on a machine busy with other work,
# where a starved run would otherwise count as a hang).
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
fuzz_dir="${FUZZ_DIR:-$source_dir/build-fuzz}"
seconds="${1:-60}"
shift || true
harnesses=("$@")
((${#harnesses[@]} > 0)) || harnesses=(check_file comment_command settings project_file baseline lsp_session)

CC=clang CXX=clang++ cmake -S "$source_dir" -B "$fuzz_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFLAWSEEK_FUZZ=ON -DFLAWSEEK_SANITIZE=ON -DFLAWSEEK_TESTS=OFF -DFLAWSEEK_BENCHMARKS=OFF >/dev/null
cmake --build "$fuzz_dir" -j "${FUZZ_BUILD_JOBS:-$(nproc 2>/dev/null || echo 2)}" --target "${harnesses[@]/%/_fuzz}"

# Seeds: the harness's own, the rule fixtures behind five switch bytes, and
# the first 4 KB of some GNAT library sources.
seed() {
  local harness=$1 corpus=$2
  mkdir -p "$corpus"
  cp "$source_dir/fuzz/seeds/$harness/"* "$corpus/" 2>/dev/null || true
  [[ -d "$source_dir/fuzz/regressions/$harness" ]] && cp "$source_dir/fuzz/regressions/$harness/"* "$corpus/" 2>/dev/null
  if [[ $harness == check_file ]]; then
    local file n=0 adainclude
    while IFS= read -r file; do
      { printf '%b' "$(printf '\\x%02x' $((n % 256)) $((n * 7 % 5)) $((n * 37 % 256)) $((n * 11 % 256)) $((n % 8)))"; cat "$file"; } \
        >"$corpus/fixture-$n"
      n=$((n + 1))
    done < <(find "$source_dir/tests/fixtures/rules" -name '*.ad?' | sort)
    adainclude="$(gnatls -v 2>/dev/null | grep -m1 adainclude | tr -d ' ' || true)"
    if [[ -n $adainclude && -d $adainclude ]]; then
      for file in $(ls "$adainclude"/*.ad? | awk 'NR % 25 == 0'); do
        { printf '\x01\x00\x00\x00\x00'; head -c 4096 "$file"; } >"$corpus/gnat-$(basename "$file")"
      done
    fi
  fi
}

parallel=()
((${FUZZ_JOBS:-1} > 1)) && parallel=(-jobs="$FUZZ_JOBS" -workers="$FUZZ_JOBS")

failed=0
for harness in "${harnesses[@]}"; do
  corpus="$fuzz_dir/corpus/$harness"
  found="$fuzz_dir/found/$harness"
  seed "$harness" "$corpus"
  mkdir -p "$found"
  echo "== fuzz $harness for ${seconds}s"
  if ! ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}" \
       UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
       "$fuzz_dir/fuzz/${harness}_fuzz" "$corpus" -max_total_time="$seconds" -timeout="${FUZZ_TIMEOUT:-5}" -rss_limit_mb=2048 \
         "${parallel[@]}" -artifact_prefix="$found/" -print_final_stats=1 \
         2>"$fuzz_dir/$harness.log"; then
    echo "fuzz: $harness failed; the input is in $found (see $fuzz_dir/$harness.log)" >&2
    tail -40 "$fuzz_dir/$harness.log" >&2
    failed=1
  else
    grep -E "stat::number_of_executed_units|cov: " "$fuzz_dir/$harness.log" | tail -2
  fi
done
exit $failed
