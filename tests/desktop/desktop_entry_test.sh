#!/usr/bin/env bash
# Installs the desktop entry into two throw-away home folders and opens an
# archive the way a file manager does:
#  1. a home whose path holds blanks and Japanese: the entry validates, the
#     defaults are registered, the Exec line read by the desktop entry
#     rules names the launcher exactly, and running it on an archive with
#     blanks and Japanese in its name opens that archive; another archive
#     dragged onto the window by the X drag-and-drop protocol opens too;
#  2. a plain home: xdg-mime knows the file type and its default, and
#     xdg-open on the same archive opens it;
#  3. --uninstall removes the entry and the default again.
#   desktop_entry_test.sh BUILD_DIR OUTPUT_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
export ZUVO_BUILD=$1
out=$2
source "$root/scripts/wine-env.sh"
zuvo_wine_prefix
zuvo_display
trap 'zuvo_stop_display' EXIT

fail() { echo "desktop: $*" >&2; exit 1; }

base="$out/デスク トップ"
rm -rf "$base"
mkdir -p "$base/files/SUB"
printf 'first\r\n' > "$base/files/A.TXT"
printf 'second\r\n' > "$base/files/SUB/B.TXT"
archive="$base/書庫 の 例.lzh"
(cd "$base/files" && jlha a "$archive" A.TXT SUB >/dev/null)

# The window titled for ARCHIVE_NAME, waited for while PID runs.
window_for() {
  local name=$1 pid=$2 title window="" deadline=$((SECONDS + 60))
  title="$name - Zuvo"
  while [ -z "$window" ]; do
    window=$(xdotool search --name "^$(printf '%s' "$title" | sed 's/[.[\*^$]/\\&/g')\$" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || fail "zuvo.exe ended without a window titled \"$title\""
    [ $SECONDS -lt $deadline ] || fail "no window titled \"$title\""
    sleep 0.2
  done
  echo "$window"
}

# Waits for zuvo.exe's window on ARCHIVE_NAME, then closes it with its close
# box as a user would and waits for the process PID to end.
expect_window() {
  local pid=$2 window
  window=$(window_for "$1" "$pid")
  local width
  width=$(xwininfo -id "$window" | awk '/Width:/ {print $2}')
  deadline=$((SECONDS + 30))
  while kill -0 "$pid" 2>/dev/null; do
    xdotool mousemove --window "$window" $((width - 12)) 12 click 1 2>/dev/null || true
    [ $SECONDS -lt $deadline ] || fail "zuvo.exe did not close"
    sleep 0.5
  done
  wait "$pid" 2>/dev/null || true
}

# 1. Blanks and Japanese in the home folder, hence in the launcher's path.
home1="$base/ホーム 1"
mkdir -p "$home1"
HOME=$home1 XDG_DATA_HOME="$home1/.local/share" XDG_CONFIG_HOME="$home1/.config" \
  bash "$root/scripts/install-desktop.sh" >/dev/null
entry="$home1/.local/share/applications/zuvo.desktop"
launcher="$home1/.local/share/zuvo/zuvo-open"
[ -x "$launcher" ] || fail "no launcher"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "the desktop entry is not valid"
fi
# (xdg-mime itself splits paths at blanks: the defaults are read directly.)
for t in application/x-lha application/x-lzh-compressed; do
  grep -qx "$t=zuvo.desktop" "$home1/.config/mimeapps.list" || fail "no default for $t"
done
grep -qx 'MimeType=application/x-lha;application/x-lzh-compressed;' "$entry" || fail "MimeType line"

mapfile -t argv < <(python3 "$here/exec_line.py" "$entry" "$archive")
[ ${#argv[@]} -eq 2 ] || fail "Exec splits into ${#argv[@]} arguments: ${argv[*]}"
[ "${argv[0]}" = "$launcher" ] || fail "Exec names \"${argv[0]}\", not the launcher"
[ "${argv[1]}" = "$archive" ] || fail "Exec passes \"${argv[1]}\""
env -u ZUVO_BUILD -u WINEPREFIX "${argv[@]}" >/dev/null 2>&1 &
pid=$!
# An archive dragged from the file manager (XDND) onto the window opens.
window=$(window_for "$(basename "$archive")" $pid)
dropped="$base/落と し.lzh"
cp "$archive" "$dropped"
python3 "$here/xdnd_drop.py" "$window" 200 200 "$dropped" || fail "the drop was refused"
expect_window "$(basename "$dropped")" $pid

# 2. A plain home: the desktop's own opener, xdg-open, finds the entry.
home2="$out/desktop-plain-home"
rm -rf "$home2"
mkdir -p "$home2"
HOME=$home2 XDG_DATA_HOME="$home2/.local/share" XDG_CONFIG_HOME="$home2/.config" \
  bash "$root/scripts/install-desktop.sh" >/dev/null
plain() { HOME=$home2 XDG_DATA_HOME="$home2/.local/share" XDG_CONFIG_HOME="$home2/.config" "$@"; }
for t in application/x-lha application/x-lzh-compressed; do
  got=$(plain xdg-mime query default $t)
  [ "$got" = zuvo.desktop ] || fail "default for $t is \"$got\""
done
type=$(plain xdg-mime query filetype "$archive")
case $type in application/x-lha | application/x-lzh-compressed) ;; *) fail "file type \"$type\"" ;; esac
(cd / && HOME=$home2 XDG_DATA_HOME="$home2/.local/share" XDG_CONFIG_HOME="$home2/.config" \
  XDG_CURRENT_DESKTOP= env -u ZUVO_BUILD -u WINEPREFIX xdg-open "$archive" >/dev/null 2>&1) &
expect_window "$(basename "$archive")" $!

# 3. Uninstalled, nothing is left to open archives with.
HOME=$home1 XDG_DATA_HOME="$home1/.local/share" XDG_CONFIG_HOME="$home1/.config" \
  bash "$root/scripts/install-desktop.sh" --uninstall >/dev/null
[ ! -e "$entry" ] && [ ! -e "$launcher" ] || fail "--uninstall left files"
! grep -q zuvo.desktop "$home1/.config/mimeapps.list" || fail "--uninstall left the default"
echo "desktop: ok"
