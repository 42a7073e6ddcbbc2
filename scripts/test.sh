#!/bin/bash
# Installs what is missing, builds every preset and runs every test:
#   native       the portable core's tests (and the report tool's)
#   native-asan  the same tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   win64        the whole program's tests under wine64, with a private Xvfb display
#   win32        the release Orvalis.exe: built and checked, never run (no 32-bit here)
# Extra checks (fuzz smoke runs, leak checks) are added by scripts/checks/*.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

bash scripts/install-deps.sh

JOBS=$(nproc)
RESULTS=$(mktemp)
trap 'rm -f "$RESULTS"' EXIT
# Runs CTest and keeps its summary line for the closing count.
run_ctest() {
    ctest "$@" 2>&1 | tee -a "$RESULTS"
}
build() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$JOBS"
}

for preset in native native-asan win64 win32; do
    echo "=== build $preset"
    build "$preset"
done

echo "=== test native"
run_ctest --preset native -j "$JOBS"

echo "=== test native-asan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest --preset native-asan -j "$JOBS"

echo "=== test win64 (wine64)"
XVFB_PID=""
cleanup() {
    WINEPREFIX="$ROOT/build/win64/wineprefix" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
}
trap 'cleanup; rm -f "$RESULTS"' EXIT
if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 120); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            XVFB_PID=$!
            export DISPLAY=":$n"
            break
        fi
    done
    sleep 1
fi
run_ctest --preset win64

echo "=== check win32 release"
bash scripts/check-release.sh build/win32

for check in scripts/checks/*.sh; do
    [ -e "$check" ] || continue
    echo "=== $(basename "$check")"
    bash "$check"
done
echo "=== all tests passed"
# One closing line over the three CTest runs (test programs; the checks above passed too).
total=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\)$/\2/p' "$RESULTS" |
    awk '{ sum += $1 } END { print sum }')
echo "$total passed, 0 failed"
