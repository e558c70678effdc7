#!/usr/bin/env bash
# Refreshes docs/window.png: the window's findings table after a search of
# examples/, a finding selected and its detail below, drawn by
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
# The examples are searched from a copy, as the relative root "examples", so
# the picture shows no path of the machine it was taken on. The table view
# with a finding selected; a window large enough to show both panes.
cp -r "$source_dir/examples" "$scratch/examples"
cat >"$scratch/registry.json" <<JSON
{"Software": {"Brightmoor": {"Flawseek": {
  "Search Root": "examples",
  "Findings View": "Table",
  "Metrics": {"X-Position": 0, "Y-Position": 0, "Width": 1100, "Height": 720}}}}}
JSON

mkdir -p "$source_dir/docs"
(cd "$scratch" &&
  FLAWSEEK_USER_REGISTRY="$scratch/registry.json" FLAWSEEK_MACHINE_REGISTRY="$scratch/machine.json" \
  QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" XDG_RUNTIME_DIR="$scratch" \
  "$program" --screenshot "$source_dir/docs/window.png")
echo "screenshot: wrote docs/window.png"
