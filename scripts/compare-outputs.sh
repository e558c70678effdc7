#!/usr/bin/env bash
# Compares what two flawseek binaries print, byte for byte: every output
# format, every style set and the main job switches, on the bundled examples
# and on GNAT's library sources (when installed), plus the rule texts and the
# help (SARIF logs as the JSON values they are). A change that must not
# alter any output is checked with it:
#
#   scripts/compare-outputs.sh BASE_BINARY NEW_BINARY [ROOT...]
#
# FLAWSEEK_COMPARE_NEW_ARGS holds switches given to the new binary alone
# (for example "--ada-version 95", to hold a new default to the old
# behaviour). Prints IDENTICAL and exits 0, or lists the runs that differ (with the first
# lines of each difference) and exits 1. The local date and time, which the
# plain-text report's header carries, are masked; nothing else is.
set -uo pipefail

if (($# < 2)); then
  echo "usage: $0 BASE_BINARY NEW_BINARY [ROOT...]" >&2
  exit 2
fi
base="$(realpath "$1")"
new="$(realpath "$2")"
shift 2
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

roots=("$@")
if ((${#roots[@]} == 0)); then
  roots=("$source_dir/examples")
  gnat_library="$(gnatls -v 2>/dev/null | grep -m1 adainclude | tr -d ' ')"
  [[ -n "$gnat_library" && -d "$gnat_library" ]] && roots+=("$gnat_library")
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# Both binaries see the same empty settings store and no project file.
export FLAWSEEK_USER_REGISTRY="$scratch/user.json" FLAWSEEK_MACHINE_REGISTRY="$scratch/machine.json"
export LC_ALL=C.UTF-8 TZ=UTC

mask_times() {
  sed -E 's#[0-9]{1,4}[/.-][0-9]{1,2}[/.-][0-9]{1,4}#<date>#g; s#[0-9]{1,2}:[0-9]{2}:[0-9]{2}#<time>#g'
}

# A SARIF log is compared as the JSON value it is: its layout is not part of
# what it says (results are written one a line, the log around them
# indented), and a binary from before that layout must still compare.
as_value() {
  python3 -c '
import json, sys
text = open(sys.argv[1], encoding="utf-8", errors="surrogateescape").read()
try:
    value = json.loads(text)
    sarif = isinstance(value, dict) and value.get("version") == "2.1.0" and "runs" in value
except ValueError:
    sarif = False
sys.stdout.write(json.dumps(value, indent=2, ensure_ascii=False) + "\n" if sarif else text)
' "$1"
}

differences=0
runs=0
# run NAME ARGS...: both binaries with ARGS, in a directory of their own
# (relative report names land there); stdout, stderr, exit status and any
# report written are compared.
run() {
  local name="$1"
  shift
  local side binary
  local -a extra
  for side in base new; do
    extra=()
    if [[ $side == base ]]; then
      binary="$base"
    else
      binary="$new"
      # shellcheck disable=SC2206 # several words
      extra=(${FLAWSEEK_COMPARE_NEW_ARGS:-})
    fi
    mkdir -p "$scratch/$side"
    rm -rf "$scratch/$side/work"
    mkdir "$scratch/$side/work"
    (cd "$scratch/$side/work" && "$binary" --no-config "${extra[@]}" "$@" >"../out" 2>"../err"; echo "exit $?" >"../status")
    {
      as_value "$scratch/$side/out"
      echo "==== stderr"
      cat "$scratch/$side/err"
      cat "$scratch/$side/status"
      for report in "$scratch/$side/work"/*; do
        [[ -e "$report" ]] || continue
        echo "==== report ${report##*/}"
        as_value "$report"
      done
    } | mask_times >"$scratch/$side/all"
  done
  runs=$((runs + 1))
  if ! cmp -s "$scratch/base/all" "$scratch/new/all"; then
    differences=$((differences + 1))
    echo "DIFFERS: $name"
    diff "$scratch/base/all" "$scratch/new/all" | head -8
  fi
}

run "help" --help
run "version" --version
run "list-rules" --list-rules
while read -r id _; do
  [[ "$id" == ID ]] && continue
  run "explain $id" --explain "$id"
done < <("$base" --list-rules)

formats=(tree gnu csv text json sarif)
jobs=("" "--style all" "--style-set NONE" "--style-set USER" "--style-set USER_95" "--style-set TAVIK"
  "--style-set TAVIK_95" "--style-set TAVIK --gnat-extensions --preparation-phase"
  "--style all --relaxed-styles --list-unchecked-style" "--style-set USER --style bad_keyword,wrong_mode")
for root in "${roots[@]}"; do
  for job in "${jobs[@]}"; do
    for format in "${formats[@]}"; do
      # shellcheck disable=SC2086 # a job is several words
      run "$root [$job] --format $format" -q $job --format "$format" "$root"
    done
    # shellcheck disable=SC2086
    run "$root [$job] reports" -q $job --format gnu --show-suppressed --report r.csv "$root"
    # shellcheck disable=SC2086
    run "$root [$job] text report" $job --report r.txt --format json --show-suppressed "$root"
    # shellcheck disable=SC2086
    run "$root [$job] sarif report" -q $job --report r.sarif --write-baseline b.json "$root"
  done
  run "$root --show-job" --show-job --style-set TAVIK "$root"
  run "$root two jobs" -q -j 2 --style all --format sarif "$root"
done

if ((differences == 0)); then
  echo "IDENTICAL ($runs runs)"
  exit 0
fi
echo "$differences of $runs runs differ"
exit 1
