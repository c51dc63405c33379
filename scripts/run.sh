#!/usr/bin/env bash
# Installs what is missing, builds, and starts Zuvo on an archive under Wine:
#   bash scripts/run.sh [ARCHIVE.lzh]
# Without an archive a sample one is made in the build folder (with jlha).
# On the current X display the program stays open for you; without a display
# it runs under a private Xvfb, and a screenshot goes to build/screenshot.png
# before it is closed again.
#   ZUVO_RUN_NO_BUILD=1   skip set-up and build
#   ZUVO_RUN_CLOSE=1      take the screenshot and close even on a real display
#   ZUVO_SCREENSHOT=PATH  where the screenshot goes
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export ZUVO_BUILD=${ZUVO_BUILD:-$root/build}

if [ "${ZUVO_RUN_NO_BUILD:-0}" != 1 ]; then
  "$root/scripts/setup.sh"
  "$root/scripts/build.sh"
fi

exe="$ZUVO_BUILD/win/bin/zuvo.exe"
[ -f "$exe" ] || { echo "run: $exe was not built" >&2; exit 1; }

# A sample archive: a few files, one in a sub-directory, one with a Japanese name.
archive=${1:-}
if [ -z "$archive" ]; then
  archive="$ZUVO_BUILD/sample.lzh"
  if [ ! -f "$archive" ]; then
    sample=$(mktemp -d)
    mkdir -p "$sample/DOC"
    printf 'Zuvo sample archive.\r\n' > "$sample/README.TXT"
    seq 1 2000 > "$sample/NUMBERS.TXT"
    printf 'An entry in a folder.\r\n' > "$sample/DOC/GUIDE.TXT"
    printf '日本語の名前のファイル\r\n' > "$sample/DOC/日本語.txt"
    (cd "$sample" && jlha a "$archive" README.TXT NUMBERS.TXT DOC >/dev/null)
    rm -rf "$sample"
  fi
fi
archive=$(cd "$(dirname "$archive")" && pwd)/$(basename "$archive")
[ -f "$archive" ] || { echo "run: no archive $archive" >&2; exit 1; }

source "$root/scripts/wine-env.sh"
had_display=0
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then had_display=1; fi
zuvo_wine_prefix
zuvo_display
wineserver -p 2>/dev/null || true  # already running is fine
trap 'zuvo_stop_display' EXIT

winpath=$(winepath -w "$archive" 2>/dev/null)
title="$(basename "$archive") - Zuvo"
wine "$exe" "$winpath" >/dev/null 2>&1 </dev/null &
pid=$!

# Wait for the main window, with a deadline.
window=""
deadline=$((SECONDS + 60))
while [ -z "$window" ]; do
  window=$(xdotool search --name "^$(printf '%s' "$title" | sed 's/[.[\*^$]/\\&/g')\$" 2>/dev/null | head -n1 || true)
  if [ -n "$window" ]; then break; fi
  if ! kill -0 "$pid" 2>/dev/null; then echo "run: zuvo.exe ended before its window showed" >&2; exit 1; fi
  if [ $SECONDS -ge $deadline ]; then echo "run: no window titled \"$title\"" >&2; exit 1; fi
  sleep 0.2
done
echo "run: window \"$title\" is up"

if [ "$had_display" = 1 ] && [ "${ZUVO_RUN_CLOSE:-0}" != 1 ]; then
  wait "$pid" || true
  exit 0
fi

# Shoot the window once it has painted: more than a blank face, and the
# same picture over several looks (the toolbar and both panes are filled).
shot=${ZUVO_SCREENSHOT:-$ZUVO_BUILD/screenshot.png}
rm -f "$shot"
source "$root/scripts/window-shot.sh"
zuvo_window_shot "$window" "$shot" 30 || echo "run: no screenshot" >&2
[ -s "$shot" ] && echo "run: screenshot in $shot"

# Close it as a user would: taskkill without /F asks its windows to close
# (WM_CLOSE), so it saves its settings on the way out.
wine taskkill /IM zuvo.exe >/dev/null 2>&1 </dev/null || true
deadline=$((SECONDS + 15))
while kill -0 "$pid" 2>/dev/null; do
  if [ $SECONDS -ge $deadline ]; then
    echo "run: zuvo.exe did not close; stopping Wine" >&2
    wineserver -k || true
    break
  fi
  sleep 0.2
done
wait "$pid" 2>/dev/null || true
