#!/usr/bin/env bash
# Installs what Flawseek needs to build and test on Debian 12 (only the
# packages that are missing), then configures and builds it.
#
#   scripts/setup-and-build.sh [BUILD_DIR [CMAKE_ARGUMENTS...]]
#
# BUILD_DIR defaults to build/ in the source tree; further arguments go to the
# CMake configure step (for example -DFLAWSEEK_SANITIZE=ON).
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${1:-$source_dir/build}"
shift || true

packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libtoml11-dev help2man gnat
  qt6-base-dev)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  as_root=()
  if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
      echo "setup-and-build: missing packages (${missing[*]}) and no root rights to install them" >&2
      exit 1
    fi
    as_root=(sudo)
  fi
  echo "setup-and-build: installing ${missing[*]}"
  "${as_root[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

jobs="$(nproc 2>/dev/null || echo 2)"
cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build "$build_dir" -j "$jobs"
