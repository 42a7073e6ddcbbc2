# Shared by scripts/run.sh and tools/screenshots.sh (sourced, not run). Expects WINE,
# WINESERVER and WINEPREFIX to be set.

# start_xvfb FIRST_DISPLAY SIZE: starts Xvfb on the first free display from FIRST_DISPLAY
# on, exports DISPLAY and sets XVFB_PID.
start_xvfb() {
    local first=$1 size=$2 n
    XVFB_PID=""
    for n in $(seq "$first" $((first + 30))); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
            XVFB_PID=$!
            export DISPLAY=":$n"
            sleep 1
            return 0
        fi
    done
    echo "no free X display" >&2
    return 1
}

# prepare_prefix: creates the Wine prefix on first use, with what makes the window look as
# on a default Windows: Wine's own fonts (MS Sans Serif among them, package fonts-wine) and
# the black window-frame colour (Wine's grey hides the silver title of the top panel).
prepare_prefix() {
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    timeout 120 "$WINE" wineboot -i >/dev/null 2>&1 || true
    timeout 60 "$WINESERVER" -w || true
    cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" \
        2>/dev/null || echo "note: fonts-wine is not installed; text falls back to other fonts"
    "$WINE" reg add "HKCU\\Control Panel\\Colors" /v WindowFrame /d "0 0 0" /f >/dev/null 2>&1 || true
    timeout 60 "$WINESERVER" -w || true
}
