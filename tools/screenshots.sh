#!/bin/bash
# Saves PNG screenshots of the main window in its main states, from snapshot files:
#   full (four-modules-four-slots), two-of-four (two-modules-four-slots),
#   narrow (four-modules-two-slots), failed (both-failed)
# into build/screenshots/. Builds the win64 demo program first. Runs under a private Xvfb
# with Wine's virtual desktop, which draws frames and captions.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${BUILD:-$ROOT/build/win64}
OUT=$ROOT/build/screenshots
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
source "$ROOT/scripts/lib/wine-display.sh"

cmake --preset win64 -B "$BUILD" >/dev/null
cmake --build "$BUILD" --target orvalis-window-demo -j 2 >/dev/null
DEMO=$BUILD/tests/main_window/orvalis-window-demo.exe
[ -f "$DEMO" ] || { echo "missing: $DEMO"; exit 1; }
mkdir -p "$OUT"

export WINEPREFIX=$BUILD/wineprefix-shots WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

XVFB_PID=""
cleanup() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
}
trap cleanup EXIT
start_xvfb 130 1024x768
prepare_prefix

shoot() {
    local name=$1 fixture=$2
    "$WINE" explorer /desktop=shot,1024x768 "$DEMO" "Z:$ROOT/tests/fixtures/report/$fixture.json" \
        >/dev/null 2>&1 &
    local pid=$!
    sleep 6
    import -window root -crop 780x545+188+168 +repage "$OUT/$name.png"
    "$WINESERVER" -k >/dev/null 2>&1 || true
    wait "$pid" 2>/dev/null || true
    echo "saved $OUT/$name.png"
}

shoot full four-modules-four-slots
shoot two-of-four two-modules-four-slots
shoot narrow four-modules-two-slots
shoot failed both-failed
