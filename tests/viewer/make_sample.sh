#!/usr/bin/env bash
# The viewer tests' archive: a text with a zero byte inside, an empty entry,
# entries of a type with and without a program, and one name in two folders.
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
"$2" a VIEW.LZH NOTES.TXT README.TXT EMPTY.TXT OPEN.ZVOK NONE.ZVNONE A B >/dev/null
