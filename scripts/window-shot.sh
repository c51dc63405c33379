# Sourced by the scripts: screenshots of one X window taken only once it has
# painted.
#
#   zuvo_wait_painted WINDOW [SECONDS]   returns 0 once the window's picture
#                                        holds more than a few colours and has
#                                        stayed the same over three looks
#   zuvo_window_shot WINDOW FILE [SECONDS]   waits as above, then saves a PNG
#
# A window that has only been mapped is one flat colour; one that is still
# painting (an empty toolbar, a list being filled) changes from one look to
# the next. Both are waited out, with a deadline.

# Fingerprint of the window's current pixels, and its number of colours.
zuvo__window_look() {
  local window=$1 raw
  raw=$(mktemp)
  if ! import -silent -window "$window" rgb:"$raw" 2>/dev/null || [ ! -s "$raw" ]; then
    rm -f "$raw"
    return 1
  fi
  local sum colours
  sum=$(md5sum < "$raw" | cut -d' ' -f1)
  local geometry
  geometry=$(xwininfo -id "$window" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
  colours=$(convert -size "$geometry" -depth 8 rgb:"$raw" -format '%k' info: 2>/dev/null || echo 0)
  rm -f "$raw"
  echo "$sum $colours"
}

zuvo_wait_painted() {
  local window=$1 seconds=${2:-30}
  local deadline=$((SECONDS + seconds)) last="" same=0 look sum colours
  while [ $SECONDS -lt $deadline ]; do
    if look=$(zuvo__window_look "$window"); then
      read -r sum colours <<<"$look"
      if [ "${colours:-0}" -gt 16 ] && [ "$sum" = "$last" ]; then
        same=$((same + 1))
        [ $same -ge 2 ] && return 0
      else
        same=0
      fi
      last=$sum
    fi
    sleep 0.3
  done
  return 1
}

zuvo_window_shot() {
  local window=$1 file=$2 seconds=${3:-30}
  if ! zuvo_wait_painted "$window" "$seconds"; then
    echo "window $window did not settle within ${seconds}s; taking the picture anyway" >&2
  fi
  import -silent -window "$window" "$file" 2>/dev/null && [ -s "$file" ]
}
