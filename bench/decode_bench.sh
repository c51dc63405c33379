#!/usr/bin/env bash
# Decode benchmark (not run by CI): jlha makes -lh5- and -lh7- archives of
# about 50 MB of text and binaries from this machine; lzhtool, lhasa and 7zz
# each test and extract them (best of three runs) and the ratios ours/theirs
# print (goal: testing takes at most 0.30 of 7zz's time).
#   bench/decode_bench.sh [megabytes]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
megabytes=${1:-50}
build=${ZUVO_BUILD:-$root/build}/bench-host
for tool in jlha lhasa 7zz; do
  command -v "$tool" >/dev/null || { echo "decode_bench: $tool is missing" >&2; exit 1; }
done

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZUVO_SANITIZE=OFF >/dev/null
cmake --build "$build" --target lzhtool -j2 >/dev/null
lzhtool=$build/archiver/lzh/lzhtool

# BENCH_DIR keeps the data and archives between runs (made once).
if [ -n "${BENCH_DIR:-}" ]; then
  work=$BENCH_DIR
  mkdir -p "$work"
else
  work=$(mktemp -d /tmp/decode-bench-XXXXXX)
  trap 'rm -rf "$work"' EXIT
fi

# Half text, half binaries, copied with their folders.
collect() {  # collect LIMIT_BYTES DIR...
  local limit=$1 total=0 size
  shift
  while IFS= read -r -d '' f; do
    size=$(stat -c %s "$f")
    [ "$size" -gt 0 ] && [ "$size" -lt 8000000 ] || continue
    cp --parents "$f" "$work/data" 2>/dev/null || continue
    total=$((total + size))
    [ "$total" -lt "$limit" ] || break
  done < <(find "$@" -type f -print0 2>/dev/null | sort -z)
}
if [ ! -e "$work/data7.lzh" ]; then
  rm -rf "$work/data" && mkdir -p "$work/data"
  half=$((megabytes * 1024 * 1024 / 2))
  collect "$half" /usr/share/doc /usr/share/man /usr/share/common-licenses /usr/include
  collect "$half" /usr/lib/x86_64-linux-gnu /usr/lib /usr/bin
  (cd "$work/data" && jlha a2o5 "$work/data5.lzh" usr >/dev/null 2>&1)
  (cd "$work/data" && jlha a2o7 "$work/data7.lzh" usr >/dev/null 2>&1)
fi
echo "data: $(du -sb "$work/data" | cut -f1) bytes in $(find "$work/data" -type f | wc -l) files;" \
  "archives: -lh5- $(stat -c %s "$work/data5.lzh") bytes, -lh7- $(stat -c %s "$work/data7.lzh") bytes"

now() { date +%s.%N; }
best_of_three() {  # best_of_three COMMAND...: prints the best wall time in seconds
  local best="" start end t
  for _ in 1 2 3; do
    rm -rf "$work/out" && mkdir "$work/out"
    start=$(now)
    (cd "$work/out" && "$@" >/dev/null 2>"$work/err") || { echo "failed: $*" >&2; head "$work/err" >&2; return 1; }
    end=$(now)
    t=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  echo "$best"
}

ratio() { echo "$1 / $2" | bc -l; }
# Timings on a busy machine mean little: the load goes with them.
echo "cores: $(nproc); load before: $(cut -d' ' -f1-3 /proc/loadavg); goal: test at most 0.30 of 7zz's time"
for m in 5 7; do
  archive=$work/data$m.lzh
  # Testing decodes and checks CRCs without writing: the decoders alone.
  ours=$(best_of_three "$lzhtool" t "$archive")
  lhasa_t=$(best_of_three lhasa tq "$archive")
  sevenz=$(best_of_three 7zz t "$archive")
  printf -- "-lh%s- test    lzhtool %.3fs  lhasa %.3fs  7zz %.3fs  ours/lhasa %.2f  ours/7zz %.2f\n" \
    "$m" "$ours" "$lhasa_t" "$sevenz" "$(ratio "$ours" "$lhasa_t")" "$(ratio "$ours" "$sevenz")"
  ours=$(best_of_three "$lzhtool" x "$archive" .)
  lhasa_t=$(best_of_three lhasa xq "$archive")
  sevenz=$(best_of_three 7zz x -y "$archive")
  printf -- "-lh%s- extract lzhtool %.3fs  lhasa %.3fs  7zz %.3fs  ours/lhasa %.2f  ours/7zz %.2f\n" \
    "$m" "$ours" "$lhasa_t" "$sevenz" "$(ratio "$ours" "$lhasa_t")" "$(ratio "$ours" "$sevenz")"
done
