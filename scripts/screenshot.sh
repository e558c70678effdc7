#!/usr/bin/env bash
# Refreshes docs/window.png: the window after a search of examples/, drawn by
# flawseek-gui itself on Qt's offscreen platform (no display needed), with
# settings of its own so the user's stay untouched.
#
#   scripts/screenshot.sh [BUILD_DIR]      (default: build/)
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${1:-$source_dir/build}"
program="$build_dir/app/gui/flawseek-gui"
if [[ ! -x $program ]]; then
  echo "screenshot: $program is missing; build the target flawseek-gui first" >&2
  exit 1
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# A larger window than the first-start default, so the tree shows something.
cat >"$scratch/registry.json" <<JSON
{"Software": {"Brightmoor": {"Flawseek": {
  "Search Root": "$source_dir/examples",
  "Metrics": {"X-Position": 0, "Y-Position": 0, "Width": 760, "Height": 520}}}}}
JSON

mkdir -p "$source_dir/docs"
FLAWSEEK_USER_REGISTRY="$scratch/registry.json" FLAWSEEK_MACHINE_REGISTRY="$scratch/machine.json" \
  QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" XDG_RUNTIME_DIR="$scratch" \
  "$program" --screenshot "$source_dir/docs/window.png"
echo "screenshot: wrote docs/window.png"
