#!/usr/bin/env bash
# The bash completion against the built program: options, the values of
# --format, --style-set, --ada-version and --style (a comma list), and "--opt=value".
#
#   bash_completion_check.sh COMPLETION_SCRIPT PROGRAM
set -uo pipefail

source "$1"
program="$2"
failures=0

# expect WORD... -- REPLY: completing the last WORD offers exactly REPLY.
expect() {
  local words=() reply
  while [[ $1 != "--" ]]; do words+=("$1"); shift; done
  reply="$2"
  COMP_WORDS=("$program" "${words[@]}")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _flawseek
  if [[ "${COMPREPLY[*]}" != "$reply" ]]; then
    echo "completing '${words[*]}': got '${COMPREPLY[*]}', expected '$reply'" >&2
    failures=$((failures + 1))
  fi
}

expect --fo -- "--format"
expect --no -- "--no-subfolders --no-config"
expect -q -- "-q"
expect --format g -- "gnu"
expect --format = c -- "csv"
expect --style-set tavik -- "tavik tavik_95"
expect --ada-version = 20 -- "2005 2012 2022"
expect --style bad_keyword,no_g -- "bad_keyword,no_goto_statements"
expect --style al -- "all"
expect --fail-on null -- "null-pointer"
expect --select bug,unused-d -- "bug,unused-declaration"
expect --ignore = style/bad-k -- "style/bad-keyword"
expect --explain sty -- "$("$program" --list-rules | awk 'NR > 1 && $1 ~ /^style/ { printf "%s%s", sep, $1; sep = " " }')"
expect --jobs x -- ""
# Every option of the help is offered, and only those.
COMP_WORDS=("$program" --)
COMP_CWORD=1
_flawseek
help="$("$program" --help)"
for option in "${COMPREPLY[@]}"; do
  if ! grep -q -- "  $option\b\|, $option\b" <<<"$help"; then
    echo "offered '$option', which --help does not list" >&2
    failures=$((failures + 1))
  fi
done
if ((${#COMPREPLY[@]} < 15)); then
  echo "only ${#COMPREPLY[@]} options offered: ${COMPREPLY[*]}" >&2
  failures=$((failures + 1))
fi

# ROOT: directories and Ada sources, nothing else.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/src"
touch "$scratch/pkg.ads" "$scratch/PKG.ADB" "$scratch/notes.txt"
cd "$scratch" || exit 1
expect "" -- "lsp src PKG.ADB pkg.ads"
expect ls -- "lsp"
expect --quiet "" -- "src PKG.ADB pkg.ads"

exit $((failures > 0))
