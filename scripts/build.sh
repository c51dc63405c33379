#!/usr/bin/env bash
# Configures and builds both trees: build/win (Windows programs) and build/host
# (the portable LZH library and its native tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
# ZUVO_BUILD (default build) lets several checkouts or developers keep apart.
build=${ZUVO_BUILD:-$root/build}

cmake -S "$root" -B "$build/host" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build/host" -j "$jobs"

cmake -S "$root" -B "$build/win" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build/win" -j "$jobs"
