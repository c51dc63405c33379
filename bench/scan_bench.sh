#!/usr/bin/env bash
# Scan benchmark (not run by CI): how long lzhtool takes to call crafted
# files "not an archive", against a plain read of the same file, and how
# long it takes to find the archive in a large self-extractor.
#   bench/scan_bench.sh [megabytes]       default 16 (the self-extractor: 117)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
megabytes=${1:-16}
build=${ZUVO_BUILD:-$root/build}/bench-host
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZUVO_SANITIZE=OFF >/dev/null
cmake --build "$build" --target lzhtool crafted_inputs -j2 >/dev/null
lzhtool=$build/archiver/lzh/lzhtool
work=$(mktemp -d /tmp/scan-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

now() { date +%s.%N; }
best_of_three() {  # best_of_three COMMAND...: best wall time in seconds (the command may fail)
  local best="" start t
  for _ in 1 2 3; do
    start=$(now)
    "$@" >/dev/null 2>&1 || true
    t=$(echo "$(now) - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  echo "$best"
}

echo "cores: $(nproc); shapes of $megabytes MiB"
for shape in random claims chain crc sfx; do
  size=$megabytes
  [ "$shape" = sfx ] && size=117
  "$build/bench/crafted_inputs" "$shape" "$size" "$work/$shape"
  read_time=$(best_of_three cat "$work/$shape")
  list_time=$(best_of_three "$lzhtool" l "$work/$shape")
  verdict=$("$lzhtool" l "$work/$shape" 2>&1 >/dev/null | head -1 || true)
  printf "%-7s %4d MiB: plain read %.3f s, lzhtool l %.3f s, ratio %.1f  (%s)\n" "$shape" "$size" \
    "$read_time" "$list_time" "$(echo "$list_time / $read_time" | bc -l)" "${verdict:-listed}"
  rm -f "$work/$shape"
done
