#!/usr/bin/env bash
# Encode benchmark (not run by CI): about 50 MB of text and binaries from this
# machine, each file compressed on its own, as an archiver does. Our -lh7-
# (and -lh5-) against jlha -o7 and gzip -9 / -6 on the same files; best wall
# and CPU time of three runs; ratios ours/theirs (below 1: ours smaller or
# faster). lh7-par is -lh7- on every core (files compressed at once, as the
# library's u and m do), with the core count and the load printed beside it.
# lh7-best is -lh7- with the optimal parse, the library's highest setting
# (goal: at least 3 % smaller than jlha -o7, on both sets below).
#   bench/encode_bench.sh [megabytes]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
megabytes=${1:-50}
build=${ZUVO_BUILD:-$root/build}/bench-host
for tool in jlha gzip bc; do
  command -v "$tool" >/dev/null || { echo "encode_bench: $tool is missing" >&2; exit 1; }
done

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZUVO_SANITIZE=OFF >/dev/null
cmake --build "$build" --target encode_bench -j2 >/dev/null
bench=$build/bench/encode_bench

work=$(mktemp -d /tmp/encode-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

# Half text, half binaries; files already compressed are left out.
collect() {  # collect LIMIT_BYTES DIR...
  local limit=$1 total=0 size
  shift
  while IFS= read -r -d '' f; do
    case "$f" in *.gz|*.xz|*.bz2|*.zst|*.png|*.jpg|*.zip|*.jar) continue ;; esac
    size=$(stat -c %s "$f")
    [ "$size" -gt 0 ] && [ "$size" -lt 8000000 ] || continue
    cp --parents "$f" "$work/data" 2>/dev/null || continue
    total=$((total + size))
    [ "$total" -lt "$limit" ] || break
  done < <(find "$@" -type f -print0 2>/dev/null | sort -z)
}
mkdir -p "$work/data"
half=$((megabytes * 1024 * 1024 / 2))
collect "$half" /usr/include /usr/share/doc /usr/share/perl /usr/share/common-licenses
collect "$half" /usr/lib/x86_64-linux-gnu /usr/lib /usr/bin
(cd "$work/data" && find . -type f | sort > "$work/list")
input=$(du -sb "$work/data" | cut -f1)
echo "data: $input bytes in $(wc -l < "$work/list") files"

# measure COMMAND: best of three runs into $wall and $cpu (user + system
# seconds, steadier than wall time on a shared machine), output size into $size
wall=""
cpu=""
size=""
measure() {
  local times w c
  wall=""
  cpu=""
  for _ in 1 2 3; do
    rm -f "$work/out"
    TIMEFORMAT='%R %U %S'
    { time (cd "$work/data" && eval "$1" >/dev/null 2>&1); } 2> "$work/time" ||
      { echo "failed: $1" >&2; exit 1; }
    read -r w user sys < "$work/time"
    c=$(echo "$user + $sys" | bc -l)
    if [ -z "$wall" ] || [ "$(echo "$w < $wall" | bc -l)" = 1 ]; then wall=$w; fi
    if [ -z "$cpu" ] || [ "$(echo "$c < $cpu" | bc -l)" = 1 ]; then cpu=$c; fi
  done
  size=$(stat -c %s "$work/out")
}

declare -A sizes walls cpus
run() {  # run NAME COMMAND
  measure "$2"
  sizes[$1]=$size
  walls[$1]=$wall
  cpus[$1]=$cpu
  printf '%-10s %12d bytes  wall %7.3f s  cpu %7.3f s\n' "$1" "$size" "$wall" "$cpu"
}
cores=$(nproc)
echo "cores: $cores  load before: $(uptime | sed 's/.*load average: //')"
run lh7 "$bench $work/out -lh7- < $work/list"
run lh7-par "$bench $work/out -lh7- 0 < $work/list"
(cd "$work/data" && "$bench" "$work/one" -lh7- 1 < "$work/list" >/dev/null &&
  "$bench" "$work/eight" -lh7- 8 < "$work/list" >/dev/null)
cmp -s "$work/one" "$work/eight" || { echo "encode_bench: the archive depends on the thread count" >&2; exit 1; }
run lh5 "$bench $work/out -lh5- < $work/list"
run lh7-best "$bench $work/out -lh7- 1 optimal < $work/list"
run lh7-best-par "$bench $work/out -lh7- 0 optimal < $work/list"
run jlha-o7 "xargs -a $work/list jlha aq2o7 $work/out"
run gzip-9 "xargs -a $work/list gzip -9 -c > $work/out"
run gzip-6 "xargs -a $work/list gzip -6 -c > $work/out"

ratio() { echo "scale=3; $1 / $2" | bc -l; }
printf 'lh7-par / gzip-6  wall %s  cpu %s  (%s cores, goal: wall at most 0.6)\n' \
  "$(ratio "${walls[lh7-par]}" "${walls[gzip-6]}")" "$(ratio "${cpus[lh7-par]}" "${cpus[gzip-6]}")" "$cores"
echo "load after: $(uptime | sed 's/.*load average: //')"
for ours in lh7 lh7-best; do
  for other in jlha-o7 gzip-9 gzip-6; do
    printf '%-8s / %-8s size %s  wall %s  cpu %s\n' "$ours" "$other" "$(ratio "${sizes[$ours]}" "${sizes[$other]}")" \
      "$(ratio "${walls[$ours]}" "${walls[$other]}")" "$(ratio "${cpus[$ours]}" "${cpus[$other]}")"
  done
done
printf 'lh7-best / lh7      size %s  cpu %s (the default stays lh7 when this is above 3)\n' \
  "$(ratio "${sizes[lh7-best]}" "${sizes[lh7]}")" "$(ratio "${cpus[lh7-best]}" "${cpus[lh7]}")"

# A second set of few large files: 40 MB of C headers as one tar file and the
# largest program under /usr/bin below 12 MB. Sizes only, one run each.
mkdir -p "$work/mix"
(cd / && find usr/include -type f | sort) > "$work/headers"
tar cf - -C / -T "$work/headers" 2>/dev/null | head -c $((40 * 1024 * 1024)) > "$work/mix/headers.tar" || true
program=$(find /usr/bin -maxdepth 1 -type f -size -12M -printf '%s %p\n' | sort -n | tail -1 | cut -d' ' -f2)
cp "$program" "$work/mix/program.bin"
printf 'headers.tar\nprogram.bin\n' > "$work/mixlist"
echo "mix: $(du -sb "$work/mix" | cut -f1) bytes (headers.tar and $program)"
declare -A mixed
mix() {  # mix NAME COMMAND
  rm -f "$work/out"
  (cd "$work/mix" && eval "$2" >/dev/null 2>&1) || { echo "failed: $2" >&2; exit 1; }
  mixed[$1]=$(stat -c %s "$work/out")
  printf '%-10s %12d bytes\n' "$1" "${mixed[$1]}"
}
mix lh7 "$bench $work/out -lh7- 0 < $work/mixlist"
mix lh7-best "$bench $work/out -lh7- 0 optimal < $work/mixlist"
mix jlha-o7 "jlha aq2o7 $work/out headers.tar program.bin"
mix gzip-9 "gzip -9 -c headers.tar program.bin > $work/out"
for ours in lh7 lh7-best; do
  printf 'mix %-8s / jlha-o7 size %s  / gzip-9 size %s\n' "$ours" "$(ratio "${mixed[$ours]}" "${mixed[jlha-o7]}")" \
    "$(ratio "${mixed[$ours]}" "${mixed[gzip-9]}")"
done
