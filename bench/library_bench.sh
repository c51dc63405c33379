#!/usr/bin/env bash
# Library benchmark (not run by CI): unlha32.dll under Wine against floors of
# ours that make or read the same files with the calls a file needs, all
# measured in this run, round by round (times are the work alone, without
# Wine's start). On a shared machine one run of either side can be slowed
# several times over by others, so each round pairs the two sides run one
# after the other and the ratio printed is the median of the rounds' ratios
# (with the fastest run of each side and every round's ratio beside it):
#   - x of 5,000 small files in 200 folders, without the progress window
#     (goal <= 1.5 times the floor) and with it (goal <= 1.6);
#   - u -r of the same tree against reading it (goal <= 2);
#   - x of 10,000 files in one folder (goal <= 1.5);
#     (the floor is the faster of making each file directly and writing it
#     under a work name renamed into place, as the extraction does);
#   - one 64 MB file with -lh7- on 2 threads and on 8 against 1 (goal <= 0.6
#     on 2 cores), the three archives compared byte for byte;
#   - u -r of 4,000 header files at the default setting against gzip -6 on
#     the same files, natively (goal <= 1.1).
#   bench/library_bench.sh [rounds, default 5]       (after scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export ZUVO_BUILD=${ZUVO_BUILD:-$root/build}
rounds=${1:-5}
for tool in bc gzip i686-w64-mingw32-g++-posix; do
  command -v "$tool" >/dev/null || { echo "library_bench: $tool is missing" >&2; exit 1; }
done
dll="$ZUVO_BUILD/win/bin/unlha32.dll"
[ -f "$dll" ] || { echo "library_bench: build first (scripts/build.sh)" >&2; exit 1; }

work="$ZUVO_BUILD/bench-library"
mkdir -p "$work"
floor_exe="$work/library_floor.exe"
if [ ! -f "$floor_exe" ] || [ "$root/bench/library_floor.cpp" -nt "$floor_exe" ]; then
  i686-w64-mingw32-g++-posix -O2 -static -o "$floor_exe" "$root/bench/library_floor.cpp"
fi

source "$root/scripts/wine-env.sh"
zuvo_wine_prefix
zuvo_display
wineserver -p 2>/dev/null || true
key='HKCU\Software\Vantrel\unlha32'
setting() {  # setting NAME VALUE|-: a library setting, "-" for its default
  if [ "$2" = - ]; then
    wine reg delete "$key" /v "$1" /f >/dev/null 2>&1 </dev/null || true
  else
    wine reg add "$key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1 </dev/null
  fi
}
finish() {
  setting Method -
  setting ShowProgress -
  zuvo_stop_display
}
trap finish EXIT
wine cmd /c exit >/dev/null 2>&1 </dev/null || true  # the prefix's services are up

win() { winepath -w "$1"; }
floor() { wine "$floor_exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
library() {  # library WINDOW COMMAND: seconds of the call; fails on a nonzero result
  local seconds code
  read -r seconds code < <(floor run "$(win "$dll")" "$1" "$2") || true
  [ "${code:-x}" = 0 ] || { echo "library_bench: '$2' returned ${code:-nothing}" >&2; exit 1; }
  echo "$seconds"
}
ratio() { echo "$1 / $2" | bc -l; }
# Reads a tree once, so that both sides of a pair find it in the page cache
# (the larger inputs before it can push it out, and only the first side
# would pay for that).
warm() { find "$1" -type f -print0 | xargs -0 cat >/dev/null; }
fastest() { printf '%s\n' "$@" | sort -g | head -n1; }
declare -A ours_times=() floor_times=() round_ratios=()
pair() {  # pair NAME OURS FLOOR: one round's times of a comparison
  ours_times[$1]+="$2 "
  floor_times[$1]+="$3 "
  round_ratios[$1]+="$(printf '%.2f' "$(ratio "$2" "$3")") "
}
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
report() {  # report NAME TEXT GOAL: the median round's ratio, against the goal
  # shellcheck disable=SC2086
  local ours floor
  ours=$(fastest ${ours_times[$1]})
  floor=$(fastest ${floor_times[$1]})
  printf '%-58s %5.2f  (goal <= %s; fastest %.2fs against %.2fs; rounds: %s)\n' "$2" "$(median ${round_ratios[$1]})" \
    "$3" "$ours" "$floor" "${round_ratios[$1]% }"
}

# The inputs, made once.
[ -d "$work/tree" ] || floor tree "$(win "$work/tree")" 5000 200
[ -d "$work/flat" ] || floor tree "$(win "$work/flat")" 10000 0
mkdir -p "$work/scratch"
setting ShowProgress 0
setting Method -
[ -f "$work/tree.lzh" ] || library 0 "u -r -n -w$(win "$work/scratch") $(win "$work/tree.lzh") $(win "$work/tree")\\*.*" >/dev/null
[ -f "$work/flat.lzh" ] || library 0 "u -r -n -w$(win "$work/scratch") $(win "$work/flat.lzh") $(win "$work/flat")\\*.*" >/dev/null
if [ ! -f "$work/large.bin" ]; then
  find /usr/include /usr/lib/x86_64-linux-gnu -type f -size -8M 2>/dev/null | sort | xargs cat 2>/dev/null |
    head -c $((64 << 20)) > "$work/large.bin" || true
fi
if [ ! -d "$work/headers" ]; then
  mkdir -p "$work/headers"
  find /usr/include -type f -name '*.h' | sort > "$work/headers.list"
  head -n 4000 "$work/headers.list" | while IFS= read -r f; do
    cp --parents "$f" "$work/headers"
  done
fi

for round in $(seq "$rounds"); do
  echo "round $round of $rounds" >&2
  # Two floors make the same files: directly, and under a work name renamed
  # into place; under Wine the second is often the faster, so the floor is
  # whichever was faster.
  rm -rf "$work/out" "$work/floor_out"
  f=$(floor make "$(win "$work/floor_out")" 5000 200)
  rm -rf "$work/floor_out"
  r=$(floor renamed "$(win "$work/floor_out")" 5000 200)
  pair renamed "$r" "$f"
  f=$(fastest "$f" "$r")
  setting ShowProgress 0
  t=$(library 0 "x -r2xp -n $(win "$work/tree.lzh") $(win "$work/out")\\")
  pair extract "$t" "$f"
  rm -rf "$work/out"
  setting ShowProgress 1
  t=$(library 1 "x -r2xp $(win "$work/tree.lzh") $(win "$work/out")\\")
  pair window "$t" "$f"
  setting ShowProgress 0

  rm -f "$work/new.lzh"
  warm "$work/tree"
  f=$(floor read "$(win "$work/tree")")
  t=$(library 0 "u -r -n -w$(win "$work/scratch") $(win "$work/new.lzh") $(win "$work/tree")\\*.*")
  pair add "$t" "$f"

  rm -rf "$work/out" "$work/floor_out"
  f=$(floor make "$(win "$work/floor_out")" 10000 0)
  rm -rf "$work/floor_out"
  f=$(fastest "$f" "$(floor renamed "$(win "$work/floor_out")" 10000 0)")
  t=$(library 0 "x -r2xp -n $(win "$work/flat.lzh") $(win "$work/out")\\")
  pair flat "$t" "$f"
  rm -rf "$work/out" "$work/floor_out"

  setting Method 7
  declare -A large=()
  for threads in 1 2 8; do
    rm -f "$work/large$threads.lzh"
    touch -d '2024-01-02 03:04:05' "$work/large.bin"
    large[$threads]=$(UNLHA32_THREADS=$threads library 0 \
      "u -n -w$(win "$work/scratch") $(win "$work/large$threads.lzh")  $(win "$work/large.bin")")
  done
  for threads in 2 8; do
    cmp -s "$work/large1.lzh" "$work/large$threads.lzh" ||
      { echo "library_bench: the archive on $threads threads differs from one thread's" >&2; exit 1; }
  done
  pair two "${large[2]}" "${large[1]}"
  pair eight "${large[8]}" "${large[1]}"
  setting Method -

  rm -f "$work/headers.lzh"
  warm "$work/headers"
  t=$(library 0 "u -r -n -w$(win "$work/scratch") $(win "$work/headers.lzh") $(win "$work/headers")\\*.*")
  start=$(date +%s.%N)
  (cd "$work/headers" && find . -type f -print0 | xargs -0 gzip -6 -c >/dev/null)
  g=$(echo "$(date +%s.%N) - $start" | bc -l)
  pair headers "$t" "$g"
done

echo "unlha32.dll under Wine on $(nproc) processors, $rounds rounds; ratio against the floor measured beside it:"
report extract "x, 5,000 files in 200 folders, no progress window" 1.5
report window "x, 5,000 files in 200 folders, progress window" 1.6
report renamed "  (floor with a rename per file against the direct one)" -
report add "u -r, the same tree, against reading it" 2
report flat "x, 10,000 files in one folder" 1.5
report two "u, one 64 MB file, -lh7-: 2 threads against 1" 0.6
report eight "u, one 64 MB file, -lh7-: 8 threads against 1" -
echo "  the archives on 1, 2 and 8 threads are the same bytes: $(stat -c %s "$work/large1.lzh") bytes"
report headers "u -r, 4,000 header files, default setting, against gzip -6" 1.1
