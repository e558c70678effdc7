#!/usr/bin/env bash
# Soak test (not part of CI): runs the command line over a tree that another
# process keeps changing -- files appearing and vanishing, turning into FIFOs
# or symbolic links, losing and regaining their permissions -- and checks
# that every run ends in time with status 0, 1 or 2 and never crashes.
#
#   scripts/soak.sh [RUNS [FLAWSEEK]]     (default 1000, build/app/cli/flawseek)
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-1000}"
flawseek="${2:-$source_dir/build/app/cli/flawseek}"
tree="$(mktemp -d)"
trap 'kill "$churn" 2>/dev/null || true; rm -rf "$tree"' EXIT

cp -r "$source_dir/examples/." "$tree/"
mkdir -p "$tree/churn"

# The other process: every few milliseconds one random change.
(
  sources=("$tree"/src/*.ad?)
  i=0
  while :; do
    i=$((i + 1))
    name="$tree/churn/f$((i % 17)).adb"
    rm -rf "$name"
    case $((RANDOM % 7)) in
      0) cp "${sources[RANDOM % ${#sources[@]}]}" "$name" ;;
      1) mkfifo "$name" ;;
      2) ln -s "${sources[RANDOM % ${#sources[@]}]}" "$name" ;;
      3) ln -s "$tree/churn/nowhere.adb" "$name" ;;
      4) cp "${sources[0]}" "$name" && chmod 000 "$name" ;;
      5) mkdir -p "$name" ;;
      6) head -c $((RANDOM % 3000)) /dev/urandom >"$name" ;;
    esac
    sleep 0.00$((RANDOM % 9 + 1))
  done
) &
churn=$!

failures=0
for ((run = 1; run <= runs; run++)); do
  set +e
  timeout 30 "$flawseek" -q --style all --format gnu "$tree" >/dev/null 2>"$tree.err"
  status=$?
  set -e
  if ((status > 2)); then
    failures=$((failures + 1))
    echo "soak: run $run ended with status $status" >&2
    tail -5 "$tree.err" >&2
  fi
done
rm -f "$tree.err"
echo "soak: $runs runs, $failures failed"
((failures == 0))
