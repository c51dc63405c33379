#!/usr/bin/env bash
# Runs one group of end-to-end scenarios (scn_GROUP.py) against zuvo.exe with
# the real unlha32.dll, under the caller's display or a private Xvfb:
#   e2e.sh BUILD_DIR OUT_DIR GROUP [SCENARIO...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export ZUVO_BUILD=$1
out=$2
shift 2
source "$here/../../scripts/wine-env.sh"
zuvo_wine_prefix
zuvo_display
trap 'zuvo_stop_display' EXIT
wineserver -p 2>/dev/null || true
# Start the prefix's services now: started by a Wine program whose output is
# read through a pipe, they would hold that pipe open for good.
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
mkdir -p "$out"
# No byte code next to the sources.
export PYTHONDONTWRITEBYTECODE=1
python3 "$here/run_suite.py" "$ZUVO_BUILD" "$out" "$@"
