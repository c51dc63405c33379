#!/usr/bin/env bash
# Starts zuvo.exe itself on an archive made by jlha (read through the real
# unlha32.dll beside it), waits for its window by title, takes a screenshot and
# closes it; then checks that the picture is not blank and that the window
# saved its placement on the way out.
#   end_to_end.sh BUILD_DIR OUTPUT_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
export ZUVO_BUILD=$1
out=$2
mkdir -p "$out/e2e_files/SUB"
printf 'first file\r\n' > "$out/e2e_files/FIRST.TXT"
printf 'second file\r\n' > "$out/e2e_files/SUB/SECOND.TXT"
rm -f "$out/E2E.LZH" "$out/end_to_end.png"
(cd "$out/e2e_files" && jlha a "$out/E2E.LZH" FIRST.TXT SUB >/dev/null)

source "$root/scripts/wine-env.sh"
wine reg delete 'HKCU\Software\Vantrel\Zuvo\Window' /f >/dev/null 2>&1 </dev/null || true

ZUVO_RUN_NO_BUILD=1 ZUVO_RUN_CLOSE=1 ZUVO_SCREENSHOT="$out/end_to_end.png" \
  bash "$root/scripts/run.sh" "$out/E2E.LZH"

colours=$(convert "$out/end_to_end.png" -format %k info:)
echo "screenshot has $colours colours"
[ "$colours" -gt 8 ] || { echo "the screenshot looks blank" >&2; exit 1; }
wine reg query 'HKCU\Software\Vantrel\Zuvo\Window' /v Right </dev/null 2>/dev/null | grep -q REG_DWORD ||
  { echo "the window did not save its placement when closed" >&2; exit 1; }
echo "end-to-end: ok"
