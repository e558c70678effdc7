#!/bin/bash
# Builds the real-code corpus: every Ada file of GNAT's library sources that
# GNAT itself accepts as Ada 95 (gcc -c -gnats -gnat95), copied under a name
# prefixed with "x-" so GNAT does not take it for one of its own library units.
#
# Usage: make_gnat_corpus.sh CORPUS_DIR [ADAINCLUDE_DIR]
#
# CORPUS_DIR receives the accepted files, files.txt (their names, one a line,
# sorted) and the empty marker .complete once it is finished; a complete corpus
# is left alone. Without GNAT the script does nothing and succeeds, so the
# tests that need the corpus skip.
set -u

corpus=${1:?usage: make_gnat_corpus.sh CORPUS_DIR [ADAINCLUDE_DIR]}
source_dir=${2:-}
gcc_program=${FLAWSEEK_GNAT_GCC:-gcc}
jobs=${FLAWSEEK_CORPUS_JOBS:-2}

if [ -f "$corpus/.complete" ]; then
  echo "gnat corpus: complete in $corpus ($(wc -l < "$corpus/files.txt") files)"
  exit 0
fi

if [ -z "$source_dir" ]; then
  if ! command -v gnatls > /dev/null 2>&1; then
    echo "gnat corpus: GNAT not found (no gnatls); corpus not built"
    exit 0
  fi
  # The first existing directory of GNAT's source search path.
  source_dir=$(gnatls -v 2> /dev/null | awk '
    /^Source Search Path:/ { in_path = 1; next }
    in_path && NF == 0 { exit }
    in_path && $1 != "<Current_Directory>" { print $1 }' | while read -r d; do
      if [ -d "$d" ]; then echo "$d"; break; fi
    done)
fi
if [ -z "$source_dir" ] || [ ! -d "$source_dir" ]; then
  echo "gnat corpus: no GNAT library source directory; corpus not built"
  exit 0
fi
if ! command -v "$gcc_program" > /dev/null 2>&1; then
  echo "gnat corpus: $gcc_program not found; corpus not built"
  exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/flawseek-corpus.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT

# A gcc without its Ada compiler counts as no GNAT.
echo "procedure Probe is begin null; end Probe;" > "$work/probe.adb"
if ! (cd "$work" && "$gcc_program" -c -gnats -gnat95 probe.adb > /dev/null 2>&1); then
  echo "gnat corpus: $gcc_program cannot check Ada 95 sources; corpus not built"
  exit 0
fi

# An unfinished corpus (an interrupted run) is rebuilt from scratch.
rm -rf "$corpus"
mkdir -p "$corpus" || exit 1

# One check per file, in its own directory so parallel runs never meet; an
# accepted file is copied under a temporary name and renamed into place.
check_one() {
  local source=$1 name
  name=x-$(basename "$source")
  local dir
  dir=$(mktemp -d "$work/check.XXXXXX") || return 0
  cp "$source" "$dir/$name" || { rm -rf "$dir"; return 0; }
  if (cd "$dir" && "$gcc_program" -c -gnats -gnat95 "$name" > /dev/null 2>&1); then
    cp "$dir/$name" "$corpus/.$name.part" && mv "$corpus/.$name.part" "$corpus/$name"
  fi
  rm -rf "$dir"
  return 0
}
export -f check_one
export work corpus gcc_program

find "$source_dir" -maxdepth 1 -type f \( -name '*.ads' -o -name '*.adb' \) -print0 |
  xargs -0 -r -n 16 -P "$jobs" bash -c 'for f in "$@"; do check_one "$f"; done' check_one_batch

(cd "$corpus" && find . -maxdepth 1 -type f -name 'x-*' ! -name '.*' -printf '%f\n' | LC_ALL=C sort) \
  > "$corpus/files.txt.part" && mv "$corpus/files.txt.part" "$corpus/files.txt" || exit 1
count=$(wc -l < "$corpus/files.txt")
if [ "$count" -eq 0 ]; then
  echo "gnat corpus: GNAT accepted no file of $source_dir; corpus left incomplete"
  exit 1
fi
: > "$corpus/.complete"
bytes=$(cd "$corpus" && xargs cat < files.txt | wc -c)
echo "gnat corpus: $count files, $bytes bytes from $source_dir in $corpus"
