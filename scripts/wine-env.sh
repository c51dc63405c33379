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
  zuvo_prefix_fonts
}

# The fonts the program asks for (its dialogs' ＭＳ Ｐゴシック, the controls'
# MS UI Gothic, MS Gothic, and the Japanese text of Tahoma's message boxes)
# become Noto Sans CJK JP, drawn with anti-aliasing. Left to themselves they
# fall back to a font whose embedded bitmaps draw pixel text with underscores
# below the line.
zuvo_prefix_fonts() {
  if grep -q '="Noto Sans CJK JP"' "$WINEPREFIX/user.reg" 2>/dev/null; then return 0; fi
  local reg f link='SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink'
  local fallback
  fallback=$(printf 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP\0\0' | iconv -f UTF-8 -t UTF-16LE |
    od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//; s/,$//')
  reg=$(mktemp --suffix=.reg)
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for f in 'MS UI Gothic' 'ＭＳ Ｐゴシック' 'MS PGothic'; do printf '"%s"="Noto Sans CJK JP"\r\n' "$f"; done
    for f in 'ＭＳ ゴシック' 'MS Gothic'; do printf '"%s"="Noto Sans Mono CJK JP"\r\n' "$f"; done
    printf '\r\n[HKEY_LOCAL_MACHINE\\%s]\r\n' "$link"
    for f in 'Tahoma' 'MS Shell Dlg' 'MS Shell Dlg 2' 'Microsoft Sans Serif'; do
      printf '"%s"=hex(7):%s\r\n' "$f" "$fallback"
    done
    printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n'
    printf '"FontSmoothing"="2"\r\n"FontSmoothingType"=dword:00000001\r\n'
    printf '"FontSmoothingGamma"=dword:00000578\r\n"FontSmoothingOrientation"=dword:00000001\r\n'
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1 </dev/null || true
  rm -f "$reg"
}

# Windows that the desktop's window manager manages where there is one. A
# bare Xvfb has none, and there hiding a managed window (every message box
# that closes) waits two seconds for it: unmanaged windows there.
zuvo_window_management() {
  local managed=N
  if [ -n "${DISPLAY:-}" ] && xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q '#'; then
    managed=Y
  fi
  # Set each time: user.reg lags behind a running wineserver.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1 </dev/null || true
}

# Gives every window a display: the caller's own, or a private Xvfb.
zuvo_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    zuvo_window_management
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
  zuvo_window_management
}

zuvo_stop_display() {
  if [ -n "${ZUVO_XVFB_PID:-}" ]; then kill "$ZUVO_XVFB_PID" 2>/dev/null || true; fi
}
