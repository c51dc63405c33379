#!/usr/bin/env bash
# The viewer tests' archive: a text with a zero byte inside, an empty entry,
# entries of a type with and without a program, one name in two folders,
# UTF-8 texts with and without a byte-order mark, and a text larger than the
# MiniViewer shows.
#   make_sample.sh DIR JLHA
set -euo pipefail
rm -rf "$1" && mkdir -p "$1/A" "$1/B" && cd "$1"
printf 'Zuvo notes\r\nline two\0hidden tail' > NOTES.TXT
printf 'Read me first.\r\n' > README.TXT
: > EMPTY.TXT
printf 'associated' > OPEN.ZVOK
printf 'nobody opens me' > NONE.ZVNONE
printf 'from A' > A/SAME.ZVOK
printf 'from B' > B/SAME.ZVOK
printf '\xef\xbb\xbf日本語のテキスト\r\n' > UTF8BOM.TXT
printf 'UTF-8 の表示テスト\r\n' > UTF8.TXT
seq -f 'line %06g of a long text' 1 40000 | sed 's/$/\r/' > BIG.TXT
"$2" a VIEW.LZH NOTES.TXT README.TXT EMPTY.TXT OPEN.ZVOK NONE.ZVNONE UTF8BOM.TXT UTF8.TXT BIG.TXT A B >/dev/null
