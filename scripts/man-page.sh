#!/usr/bin/env bash
# The flawseek man page, made by help2man from the program's own --help and
# --version, so that the two never say different things.
#
#   scripts/man-page.sh PROGRAM OUTPUT     writes the page to OUTPUT
#   scripts/man-page.sh --check PROGRAM    compares the page with the copy in
#                                          data/flawseek.1 (exit 1 when they
#                                          differ, 77 without help2man)
#   scripts/man-page.sh --update PROGRAM   rewrites data/flawseek.1
#
# The committed copy is what a build without help2man installs. Its date
# line (.TH) is left out of the comparison.
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
committed="$source_dir/data/flawseek.1"

# The RULES section: one entry per finding kind, from the program's own
# --list-rules (id, label, family, mark, enabled by; fixed columns).
rules_section() {
  echo "[RULES]"
  echo "Every finding kind, as \\fB\\-\\-list\\-rules\\fR lists it; \\fB\\-\\-explain\\fR \\fIID\\fR says more."
  "$1" --list-rules | tail -n +2 | while IFS= read -r line; do
    local id="${line:0:40}" label="${line:42:34}" family="${line:78:6}" mark="${line:86:7}" enabled="${line:95}"
    id="${id%"${id##*[! ]}"}" label="${label%"${label##*[! ]}"}" family="${family%"${family##*[! ]}"}"
    mark="${mark%"${mark##*[! ]}"}"
    echo ".TP"
    echo "\\fB${id//-/\\-}\\fR"
    local text="$label ($family"
    [[ "$mark" != "-" ]] && text+="; suppressed by $mark"
    text+="): $enabled."
    echo "${text//-/\\-}"
  done
}

generate() {
  local include
  include="$(mktemp)"
  { cat "$source_dir/data/flawseek.h2m"; rules_section "$1"; } >"$include"
  # A fixed date keeps the page the same from build to build.
  SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null || echo 0)}" \
    help2man --no-info --section 1 --name "static analysis of Ada source code" \
    --include "$include" --output "$2" "$1"
  rm -f "$include"
  # help2man names the page after the product line of --version; the
  # command is spelt in lower case.
  sed -i 's/^Flawseek \\-/flawseek \\-/' "$2"
}

case "${1:-}" in
  --check)
    if ! command -v help2man >/dev/null; then
      echo "man-page: help2man is not installed; nothing to compare" >&2
      exit 77
    fi
    page="$(mktemp)"
    trap 'rm -f "$page"' EXIT
    generate "$2" "$page"
    if ! diff -u <(grep -v '^\.TH ' "$committed") <(grep -v '^\.TH ' "$page"); then
      echo "man-page: data/flawseek.1 is out of date; run scripts/man-page.sh --update $2" >&2
      exit 1
    fi
    ;;
  --update)
    generate "$2" "$committed"
    ;;
  *)
    generate "$1" "$2"
    ;;
esac
