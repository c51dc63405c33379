#!/usr/bin/env bash
# Large-archive benchmark (not run by CI). Makes an archive of 50,000 entries
# in 2,000 folders and one holding a single entry of 4.4 GB (kept in
# $ZUVO_BUILD/bench-large), then measures, in five rounds, each pairing:
#   - zuvo.exe from its start until its window shows the 50,000-entry archive
#     (tree and list filled), under Wine;
#   - 7zz l listing the same archive, natively;
# and prints the median round's ratio zuvo/7zz (goal: 1.5 or less; on a
# shared machine one run of either can be slowed several times over), the
# program's peak memory per entry, and the time to open the 4.4 GB entry's
# archive.
#   bench/large_archive_bench.sh            (after scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export ZUVO_BUILD=${ZUVO_BUILD:-$root/build}
for tool in 7zz python3 bc i686-w64-mingw32-g++-posix; do
  command -v "$tool" >/dev/null || { echo "large_archive_bench: $tool is missing" >&2; exit 1; }
done
exe="$ZUVO_BUILD/win/bin/zuvo.exe"
[ -f "$exe" ] && [ -f "$ZUVO_BUILD/win/bin/unlha32.dll" ] ||
  { echo "large_archive_bench: build first (scripts/build.sh)" >&2; exit 1; }

work="$ZUVO_BUILD/bench-large"
mkdir -p "$work"
[ -f "$work/many.lzh" ] || nice python3 "$root/bench/make_large_archives.py" many "$work/many.lzh"
[ -f "$work/huge.lzh" ] || nice python3 "$root/bench/make_large_archives.py" huge "$work/huge.lzh"
probe="$work/fill_time.exe"
if [ ! -f "$probe" ] || [ "$root/bench/fill_time.cpp" -nt "$probe" ]; then
  i686-w64-mingw32-g++-posix -O2 -static -o "$probe" "$root/bench/fill_time.cpp" -lcomctl32 -lpsapi
fi

source "$root/scripts/wine-env.sh"
zuvo_wine_prefix
zuvo_display
wineserver -p 2>/dev/null || true
trap 'zuvo_stop_display' EXIT
wine cmd /c exit >/dev/null 2>&1 </dev/null || true  # the prefix's services are up

now() { date +%s.%N; }
best() {  # best VALUES...: the smallest
  printf '%s\n' "$@" | sort -g | head -n1
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# fill_time EXE ARCHIVE TREE_NODES LIST_ROWS -> "seconds peak_bytes"
fill() {
  wine "$probe" "$(winepath -w "$exe")" "$(winepath -w "$1")" "$2" "$3" </dev/null 2>/dev/null | tr -d '\r'
}
sevenz=() zuvo=() ratios=() peak=0
for _ in 1 2 3 4 5; do
  start=$(now)
  7zz l "$work/many.lzh" >/dev/null
  s=$(echo "$(now) - $start" | bc -l)
  sevenz+=("$s")
  read -r seconds bytes < <(fill "$work/many.lzh" 2000 25) ||
    { echo "large_archive_bench: zuvo.exe did not show the archive" >&2; exit 1; }
  zuvo+=("$seconds")
  ratios+=("$(echo "$seconds / $s" | bc -l)")
  [ "$bytes" -gt "$peak" ] && peak=$bytes
done
read -r huge_seconds empty_bytes < <(fill "$work/huge.lzh" 2 0) ||
  { echo "large_archive_bench: zuvo.exe did not show the 4.4 GB entry" >&2; exit 1; }

z=$(best "${zuvo[@]}")
s=$(best "${sevenz[@]}")
printf '50,000 entries in 2,000 folders: zuvo.exe to a filled window %.3fs, 7zz l %.3fs (fastest), ratio %.2f (median of %s; goal <= 1.5)\n' \
  "$z" "$s" "$(median "${ratios[@]}")" "$(printf '%.2f ' "${ratios[@]}")"
printf 'peak memory %.1f MB, %.0f bytes per entry above a one-entry archive (%.1f MB)\n' \
  "$(echo "$peak / 1048576" | bc -l)" "$(echo "($peak - $empty_bytes) / 50000" | bc -l)" \
  "$(echo "$empty_bytes / 1048576" | bc -l)"
printf 'one entry of 4.4 GB: zuvo.exe to a filled window %.3fs\n' "$huge_seconds"
