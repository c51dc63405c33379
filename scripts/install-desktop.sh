#!/usr/bin/env bash
# Makes Zuvo the current user's program for LZH archives on the Linux desktop:
# a launcher, a desktop entry, the .lzh/.lha file type and an icon, all under
# the user's data folder (XDG_DATA_HOME, by default ~/.local/share). After it a
# double-click on an archive in the file manager opens it in Zuvo under Wine.
#   bash scripts/install-desktop.sh              install (build first)
#   bash scripts/install-desktop.sh --uninstall  take it all away again
# The launcher runs the build named by ZUVO_BUILD (default build/ of this
# checkout) in that build's Wine prefix and Japanese locale.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVO_BUILD:-$root/build}
build=$(mkdir -p "$build" && cd "$build" && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}
mime_types=(application/x-lha application/x-lzh-compressed)

launcher="$data/zuvo/zuvo-open"
entry="$data/applications/zuvo.desktop"
mime_package="$data/mime/packages/zuvo-lzh.xml"
icon="$data/icons/hicolor/32x32/apps/zuvo.png"

refresh() {
  if command -v update-mime-database >/dev/null; then update-mime-database "$data/mime" >/dev/null 2>&1 || true; fi
  if command -v update-desktop-database >/dev/null; then
    update-desktop-database "$data/applications" >/dev/null 2>&1 || true
  fi
}

if [ "${1:-}" = --uninstall ]; then
  rm -f "$launcher" "$entry" "$mime_package" "$icon"
  rmdir "$data/zuvo" 2>/dev/null || true
  # Forget the default only where it still names Zuvo.
  list=${XDG_CONFIG_HOME:-$HOME/.config}/mimeapps.list
  if [ -f "$list" ]; then sed -i '/=zuvo\.desktop;\?$/d' "$list"; fi
  mkdir -p "$data/mime/packages" "$data/applications"
  refresh
  echo "install-desktop: removed"
  exit 0
fi

[ -f "$build/win/bin/zuvo.exe" ] ||
  echo "install-desktop: $build/win/bin/zuvo.exe is not built yet (bash scripts/build.sh)" >&2

# Quotes one argument of a desktop entry's Exec key: arguments with reserved
# characters go in double quotes with ", `, $ and \ escaped; then, as in every
# string value, each backslash is doubled. A literal % is written %%.
exec_argument() {
  local a=${1//%/%%}
  if [[ $a =~ [][[:space:]\"\'\\\<\>~\|\&\;\$\*\?\#\(\)\`=] ]]; then
    a=${a//\\/\\\\}
    a=${a//\"/\\\"}
    a=${a//\`/\\\`}
    a=${a//\$/\\\$}
    a="\"$a\""
  fi
  printf '%s' "${a//\\/\\\\}"
}

mkdir -p "$data/zuvo" "$data/applications" "$data/mime/packages" "$(dirname "$icon")"

# The launcher: the file manager hands it the archive's path (%f).
{
  echo '#!/usr/bin/env bash'
  echo '# Opens an archive in Zuvo under Wine (written by scripts/install-desktop.sh).'
  echo 'set -euo pipefail'
  printf 'export ZUVO_ROOT=%q\n' "$root"
  printf 'export ZUVO_BUILD=%q\n' "$build"
  cat <<'EOF'
source "$ZUVO_ROOT/scripts/wine-env.sh"
exe="$ZUVO_BUILD/win/bin/zuvo.exe"
if [ ! -f "$exe" ]; then
  msg="Zuvo is not built: $exe is missing."
  command -v xmessage >/dev/null && xmessage "$msg" 2>/dev/null &
  echo "$msg" >&2
  exit 1
fi
zuvo_wine_prefix
zuvo_window_management
args=()
if [ $# -gt 0 ] && [ -n "$1" ]; then
  file=$1
  case $file in file://*) file=$(printf '%b' "$(printf '%s' "${file#file://}" | sed 's/%\([0-9A-Fa-f][0-9A-Fa-f]\)/\\x\1/g')") ;; esac
  case $file in /*) ;; *) file="$PWD/$file" ;; esac
  args=("$(winepath -w "$file" 2>/dev/null)")
fi
exec wine "$exe" "${args[@]}" </dev/null
EOF
} > "$launcher"
chmod +x "$launcher"

cat > "$mime_package" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-lha">
    <comment>LHA archive</comment>
    <comment xml:lang="ja">LHA 書庫</comment>
    <glob pattern="*.lzh"/>
    <glob pattern="*.lha"/>
    <alias type="application/x-lzh-compressed"/>
  </mime-type>
</mime-info>
EOF

cat > "$entry" <<EOF
[Desktop Entry]
Type=Application
Version=1.0
Name=Zuvo
GenericName=LZH Archive Manager
GenericName[ja]=LZH 書庫マネージャ
Comment=Browse, extract and change LZH archives
Comment[ja]=LZH 書庫の閲覧、展開、変更
Exec=$(exec_argument "$launcher") %f
Icon=zuvo
Terminal=false
MimeType=$(IFS=';'; echo "${mime_types[*]}");
Categories=Utility;Archiving;Compression;
EOF

if command -v convert >/dev/null && [ -f "$root/res/images/zuvo.ico" ]; then
  convert "$root/res/images/zuvo.ico[0]" -resize 32x32 "$icon" 2>/dev/null || true
fi

refresh
if command -v xdg-mime >/dev/null; then
  xdg-mime default zuvo.desktop "${mime_types[@]}"
else
  # Without xdg-utils, write the default where xdg-mime would.
  list=${XDG_CONFIG_HOME:-$HOME/.config}/mimeapps.list
  mkdir -p "$(dirname "$list")"
  [ -f "$list" ] || printf '[Default Applications]\n' > "$list"
  for t in "${mime_types[@]}"; do
    sed -i "\\|^$t=|d" "$list"
    sed -i "/^\\[Default Applications\\]/a $t=zuvo.desktop" "$list"
  done
fi
echo "install-desktop: .lzh and .lha files now open in Zuvo ($entry)"
