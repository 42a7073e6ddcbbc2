#!/bin/bash
# Builds the win64 Orvalis.exe and starts it under wine64 with a prefix of its own
# (build/win64/wineprefix-run). With DISPLAY set it opens on that display and waits until
# the window is closed; without one it runs inside a private Xvfb for a few seconds, saves a
# screenshot to build/screenshots/run.png and closes the program.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

bash scripts/install-deps.sh
source scripts/lib/wine-display.sh
cmake --preset win64 >/dev/null
cmake --build build/win64 --target Orvalis
EXE=$ROOT/build/win64/app/Orvalis.exe
[ -f "$EXE" ] || { echo "missing: $EXE"; exit 1; }
echo "program: $EXE"

export WINEPREFIX=$ROOT/build/win64/wineprefix-run WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

XVFB_PID=""
cleanup() {
    if [ -n "$XVFB_PID" ]; then
        "$WINESERVER" -k >/dev/null 2>&1 || true
        kill "$XVFB_PID" 2>/dev/null || true
    fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    start_xvfb 170 1024x768
fi
prepare_prefix

if [ -z "$XVFB_PID" ]; then
    "$WINE" "$EXE" "$@"
    exit 0
fi

"$WINE" explorer /desktop=orvalis,1024x768 "$EXE" "$@" >/dev/null 2>&1 &
PROGRAM=$!
sleep 8
mkdir -p build/screenshots
import -window root build/screenshots/run.png
echo "screenshot: $ROOT/build/screenshots/run.png"
"$WINESERVER" -k >/dev/null 2>&1 || true
timeout 20 tail --pid="$PROGRAM" -f /dev/null || kill "$PROGRAM" 2>/dev/null || true
