#!/usr/bin/env bash
# Fails when an #include runs against the layer order of the libraries:
# a file may include headers of its own layer and of the layers below it,
# never of a layer above. The order, lowest first:
#
#   platform, style, frontend, findings, stylecheck, bugcheck, driver, output, gui, app
#
# (src/<layer>/... and app/...). Tests and benchmarks sit above everything.
#
#   scripts/check-layers.sh [SOURCE_DIR]   check a tree (default: this one)
#   scripts/check-layers.sh --self-test    show that a wrong include is caught
set -euo pipefail

layers=(platform style frontend findings stylecheck bugcheck driver output gui app)

rank_of() {
  local i
  for i in "${!layers[@]}"; do
    if [[ ${layers[$i]} == "$1" ]]; then
      echo "$i"
      return
    fi
  done
  echo -1
}

# Prints one line per include that runs upward; returns 1 when there is one.
check_tree() {
  local root=$1 status=0 file layer rank target target_rank line number
  while IFS= read -r file; do
    if [[ $file == app/* ]]; then
      layer=app
    else
      layer=${file#src/}
      layer=${layer%%/*}
    fi
    rank=$(rank_of "$layer")
    if ((rank < 0)); then
      echo "check-layers: $file: src/$layer is no known layer; add it to the order" >&2
      status=1
      continue
    fi
    number=0
    while IFS= read -r line; do
      number=$((number + 1))
      [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([a-z_]+)/ ]] || continue
      target=${BASH_REMATCH[1]}
      target_rank=$(rank_of "$target")
      # Includes of another kind ("command_line.h", "../x.h") are local.
      ((target_rank < 0)) && continue
      if ((target_rank > rank)); then
        echo "check-layers: $file:$number: $layer includes \"$target/...\", a layer above it" >&2
        status=1
      fi
    done <"$root/$file"
  done < <(cd "$root" && find src app -type f \( -name '*.h' -o -name '*.cc' -o -name '*.inc' -o -name '*.h.in' \) 2>/dev/null | sort)
  return $status
}

self_test() {
  local scratch
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' RETURN
  mkdir -p "$scratch/src/platform" "$scratch/src/driver" "$scratch/app/cli"
  printf '#include "platform/log.h"\n' >"$scratch/src/driver/good.h"
  printf '#include "driver/good.h"\n#include "command_line.h"\n' >"$scratch/app/cli/main.cc"
  if ! check_tree "$scratch" 2>/dev/null; then
    echo "check-layers self-test: a tree without upward includes was refused" >&2
    return 1
  fi
  printf '#include <string>\n  #include "driver/good.h"\n' >"$scratch/src/platform/bad.h"
  if check_tree "$scratch" 2>/dev/null; then
    echo "check-layers self-test: platform including driver was not caught" >&2
    return 1
  fi
  echo "check-layers self-test: passed"
}

if [[ ${1:-} == --self-test ]]; then
  self_test
  exit
fi
root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
if check_tree "$root"; then
  echo "check-layers: every include follows the layer order"
else
  exit 1
fi
