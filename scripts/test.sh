#!/usr/bin/env bash
# Installs what is missing, builds both trees and runs every test: the native
# tests of the LZH library, then the Windows tests under Wine and Xvfb.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/setup.sh" || exit 1
# Tests that need these tools are skipped or never registered without them:
# the suite would pass with much of it gone.
missing=""
for tool in jlha lhasa unar 7zz xdotool; do
  command -v "$tool" >/dev/null || missing="$missing $tool"
done
[ -z "$missing" ] || echo "test.sh: missing:$missing (the run will fail)" >&2
"$root/scripts/build.sh" || exit 1

source "$root/scripts/wine-env.sh"
zuvo_wine_prefix
zuvo_display || exit 1
wineserver -p
trap 'wineserver -k 2>/dev/null; zuvo_stop_display' EXIT
# Start the prefix's services now: they inherit the output of the first Wine
# program, and started under ctest they would keep its pipes open forever.
wine cmd /c exit >/dev/null 2>&1 </dev/null || true

status=0
# The native tests compare with the peers' output, which the Japanese locale
# of the Wine runs would change (thousands separators, dates).
LC_ALL=C.UTF-8 ctest --test-dir "$ZUVO_BUILD/host" --output-on-failure --timeout 600 || status=1
# A Windows test binary that stalls under Wine is stopped after five minutes
# and run once more; ctest reports every such second run.
ctest --test-dir "$ZUVO_BUILD/win" --output-on-failure --timeout 300 --repeat until-pass:2 || status=1

host=$(ctest --test-dir "$ZUVO_BUILD/host" -N | sed -n 's/^Total Tests: //p')
win=$(ctest --test-dir "$ZUVO_BUILD/win" -N | sed -n 's/^Total Tests: //p')
if [ "$((${host:-0} + ${win:-0}))" -eq 0 ]; then
  echo "no test ran" >&2
  status=1
fi
if [ -n "$missing" ]; then
  echo "test.sh: failed: missing$missing, so the tests that need them did not run" >&2
  status=1
fi
exit $status
