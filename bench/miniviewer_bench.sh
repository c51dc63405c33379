#!/usr/bin/env bash
# How much text the MiniViewer's control takes in well under a second under
# Wine: runs bench/richedit_fill.cpp for texts from 64 KB up to MAX_KB.
#   bench/miniviewer_bench.sh [MAX_KB]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${ZUVO_BUILD:-$root/build}/bench
mkdir -p "$work"
probe="$work/richedit_fill.exe"
if [ ! -f "$probe" ] || [ "$root/bench/richedit_fill.cpp" -nt "$probe" ]; then
  i686-w64-mingw32-g++-posix -O2 -static -o "$probe" "$root/bench/richedit_fill.cpp"
fi
source "$root/scripts/wine-env.sh"
zuvo_wine_prefix
zuvo_display
trap zuvo_stop_display EXIT
wine "$probe" "${1:-2048}"
