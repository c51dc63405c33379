#!/usr/bin/env bash
# Fuzzing campaign over the archiver library (not part of CI), one target at
# a time, built with clang and libFuzzer under AddressSanitizer and UBSan:
#   reader        the archive reader, the scan for an archive inside another
#                 file, and every decoder; an input taking over 1 s is a finding
#   roundtrip     the writer and the edits: every method and header level,
#                 rename, delete, update; what is read back must be byte-equal
#   names         the name-safety rules
#   command_line  the library's command-line parser and wildcard matching
#
#   scripts/fuzz.sh [TARGET|all] [SECONDS]     default: all, 300 s per target
#
# Seeds come from archiver/lzh/tool/fuzz_seeds (made by make_fuzz_seeds);
# corpora, findings (crash-*, timeout-*) and logs go to $ZUVO_BUILD/fuzz/TARGET.
# Each run ends with a line: target, executions, coverage, seconds, findings.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
which=${1:-all}
seconds=${2:-300}
out=${ZUVO_BUILD:-$root/build}/fuzz
if ! command -v clang++ >/dev/null; then
  apt-get update >/dev/null && apt-get install -y clang >/dev/null
fi
lzh=$root/archiver/lzh
flags=(-std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$root")

build() {  # build TARGET
  local sources
  case $1 in
    reader) sources="$(ls "$lzh"/*.cpp) $lzh/tool/fuzz_reader.cpp" ;;
    roundtrip) sources="$(ls "$lzh"/*.cpp) $lzh/tool/fuzz_roundtrip.cpp" ;;
    names) sources="$(ls "$lzh"/*.cpp) $lzh/tool/fuzz_names.cpp" ;;
    # The parser's only Windows calls are stood in for by tool/native.
    command_line) sources="$root/archiver/dll/command_line.cpp $root/archiver/dll/tool/fuzz_command_line.cpp"
      flags+=(-I"$root/archiver/dll/tool/native") ;;
    *) echo "fuzz.sh: unknown target $1" >&2; exit 2 ;;
  esac
  mkdir -p "$out/$1/corpus"
  # shellcheck disable=SC2086
  clang++ "${flags[@]}" $sources -o "$out/$1/fuzz"
}

# A timeout is checked again on its own: on a loaded machine (the campaign
# runs under nice) an input of a few milliseconds can miss a 1 s alarm. One
# that finishes well within the limit three times is a scheduling artefact:
# it is set aside and fuzzing goes on for the time left.
recheck() {  # recheck DIR ARTIFACT: true when the input is really slow
  local ms worst=0
  for ms in $(cd "$1" && ./fuzz -runs=3 "$2" 2>&1 | grep -o 'in [0-9]* ms' | grep -o '[0-9]*'); do
    [ "$ms" -gt "$worst" ] && worst=$ms
  done
  [ "$worst" -ge 500 ]
}

run() {  # run TARGET
  local target=$1 max_len=1048576 dir=$out/$1
  [ "$target" = roundtrip ] && max_len=65536   # every input is compressed four times
  [ "$target" = names ] && max_len=4096
  [ "$target" = command_line ] && max_len=4096
  build "$target"
  cp -n "$lzh/tool/fuzz_seeds/$target"/* "$dir/corpus/" 2>/dev/null || true
  mkdir -p "$dir/artefacts"
  local start end status=0 runs=0 left=$seconds segment=0 cov="?" findings=0 rechecked=0
  start=$(date +%s)
  while [ "$left" -gt 0 ]; do
    segment=$((segment + 1))
    status=0
    (cd "$dir" && ./fuzz -max_total_time="$left" -max_len="$max_len" -timeout=1 -rss_limit_mb=2048 \
      -print_final_stats=1 corpus >"$dir/log.$segment" 2>&1) || status=$?
    runs=$((runs + $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$dir/log.$segment" | grep -o '[0-9]*$' || echo 0)))
    cov=$(grep -o 'cov: [0-9]*' "$dir/log.$segment" | tail -1 | grep -o '[0-9]*' || echo "$cov")
    left=$((seconds - ($(date +%s) - start)))
    [ "$status" = 0 ] && break
    local artefact
    artefact=$(cd "$dir" && ls -t timeout-* 2>/dev/null | head -1 || true)
    if [ -n "$artefact" ] && ! recheck "$dir" "$artefact"; then
      mv "$dir/$artefact" "$dir/artefacts/"
      rechecked=$((rechecked + 1))
      status=0
      continue
    fi
    break
  done
  end=$(date +%s)
  findings=$(ls "$dir" | grep -cE '^(crash|timeout|leak|oom|slow-unit)-' || true)
  echo "$target: $runs executions, coverage $cov edges, $((end - start)) s, $findings findings" \
    "($rechecked timeouts that ran in time when checked again; exit $status)"
  [ "$status" = 0 ]
}

if [ "$which" = all ]; then
  failed=0
  for t in reader roundtrip names command_line; do run "$t" || failed=1; done
  exit $failed
fi
run "$which"
