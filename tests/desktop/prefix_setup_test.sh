#!/usr/bin/env bash
# The Wine prefix as the scripts set it up, seen from a program inside it:
#  1. every font the program asks for by name is drawn with Noto Sans CJK
#     JP (no bitmap strikes), and with anti-aliasing;
#  2. on a display without a window manager (this test's) the windows are
#     unmanaged; once a window manager announces itself on the display they
#     are managed, as run.sh and the desktop launcher set it, and back.
#   prefix_setup_test.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
export ZUVO_BUILD=$1
source "$root/scripts/wine-env.sh"
zuvo_wine_prefix
# A display of its own: the test announces a window manager on it.
unset DISPLAY
zuvo_display
cleanup() {
  exec 3>&- 2>/dev/null || true
  zuvo_stop_display
}
trap cleanup EXIT
fail() { echo "prefix: $*" >&2; exit 1; }

probe="$ZUVO_BUILD/win/tests/e2e/zuvo_probe.exe"
[ -f "$probe" ] || fail "$probe is not built"
for face in 'ＭＳ Ｐゴシック' 'MS UI Gothic' 'ＭＳ ゴシック' 'MS Gothic'; do
  answer=$(printf 'font 0 %s\n' "$face" | wine "$probe" 2>/dev/null | head -n1 | tr -d '\r')
  IFS=$'\t' read -r family smoothing type <<<"$answer"
  [[ $family == "Noto Sans "*"CJK JP" ]] || fail "\"$face\" is drawn with \"$family\", not Noto Sans CJK JP"
  [ "$smoothing" = 1 ] && [ "$type" -ge 1 ] || fail "text is not smoothed ($smoothing, type $type)"
done

managed() {
  wine reg query 'HKCU\Software\Wine\X11 Driver' /v Managed 2>/dev/null </dev/null | tr -d '\r' |
    awk '$1 == "Managed" { print $3 }'
}
announced() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q '#'; }
[ "$(managed)" = N ] || fail "managed windows on a display without a window manager"
# The stand-in announces a window manager while its input is open.
wm_log="$(mktemp)"
exec 3> >(exec python3 "$here/stand_in_window_manager.py" >"$wm_log")
deadline=$((SECONDS + 20))
until grep -q ready "$wm_log"; do
  [ $SECONDS -lt $deadline ] || fail "the stand-in window manager did not start"
  sleep 0.1
done
announced || fail "no window manager announced"
zuvo_display
[ "$(managed)" = Y ] || fail "unmanaged windows under a window manager"
exec 3>&-
deadline=$((SECONDS + 20))
while announced; do
  [ $SECONDS -lt $deadline ] || fail "the stand-in window manager did not go"
  sleep 0.1
done
zuvo_display
[ "$(managed)" = N ] || fail "managed windows after the window manager went"
rm -f "$wm_log"
echo "prefix: fonts and window management as set up"
