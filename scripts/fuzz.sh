#!/usr/bin/env bash
# Builds the libFuzzer target over the LZH reader and decoders with clang
# and runs it (not part of CI).
#   scripts/fuzz.sh [seconds]        default 300
# Crashes land in $ZUVO_BUILD/fuzz/ (crash-*), the corpus in .../fuzz/corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
out=${ZUVO_BUILD:-$root/build}/fuzz
if ! command -v clang++ >/dev/null; then
  apt-get update >/dev/null && apt-get install -y clang >/dev/null
fi
mkdir -p "$out/corpus"
# The reading side only: sources, headers, decoders, reader.
sources=$(ls "$root"/archiver/lzh/{bit_reader,crc16,decoder*,error,header_reader,io,reader,safe_path}.cpp)
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root" $sources "$root/archiver/lzh/tool/fuzz_target.cpp" -o "$out/lzh_fuzz"

# Seeds: small archives made by the peers, if they are here, and one raw
# stream per decoder.
if command -v jlha >/dev/null && [ ! -e "$out/corpus/.seeded" ]; then
  seed=$(mktemp -d)
  head -c 3000 "$root/archiver/lzh/reader.cpp" > "$seed/a.txt"
  head -c 2000 /bin/sh > "$seed/b.bin"
  for s in a0o5 a1o6 a2o7; do
    (cd "$seed" && jlha "$s" "$out/corpus/seed-$s.lzh" a.txt b.bin >/dev/null 2>&1) || true
  done
  rm -rf "$seed"
  touch "$out/corpus/.seeded"
fi
for i in $(seq 0 15); do printf "\\x$(printf %02x "$i")\\x40\\x00" | cat - "$root/archiver/lzh/reader.cpp" | head -c 600 > "$out/corpus/raw-$i"; done

cd "$out"
./lzh_fuzz -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 corpus
