# Sourced by the scripts: a private Wine prefix inside build/, code page 932,
# and no installer prompts.
ZUVO_ROOT=${ZUVO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export ZUVO_ROOT
export ZUVO_BUILD=${ZUVO_BUILD:-$ZUVO_ROOT/build}
export WINEPREFIX="$ZUVO_BUILD/wineprefix"
export WINEARCH=win32
export LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Creates the prefix the first time; later calls return at once.
zuvo_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  # Wine draws the caption buttons with the Marlett font, which it looks for
  # in the prefix's Fonts folder; without it the buttons show as "0 1 r".
  local marlett=/usr/share/wine/fonts/marlett.ttf fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f "$marlett" ] && [ -d "$fonts" ] && [ ! -e "$fonts/marlett.ttf" ]; then
    ln -s "$marlett" "$fonts/marlett.ttf"
  fi
  # Unmanaged windows: with no window manager on Xvfb, hiding a managed
  # window (every message box that closes) waits two seconds for one.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
  fi
}

# Gives every window a display: the caller's own, or a private Xvfb.
zuvo_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  ZUVO_XVFB_PID=$!
  export DISPLAY=":$n"
  local deadline=$((SECONDS + 30))
  until xdpyinfo >/dev/null 2>&1; do
    if [ $SECONDS -ge $deadline ]; then echo "Xvfb did not start" >&2; return 1; fi
    sleep 0.1
  done
}

zuvo_stop_display() {
  if [ -n "${ZUVO_XVFB_PID:-}" ]; then kill "$ZUVO_XVFB_PID" 2>/dev/null || true; fi
}
