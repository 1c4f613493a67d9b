#!/usr/bin/env bash
# The hot key under a real X server: runs the test program on a private Xvfb display.
#   hotkey_x11.sh <global_hot_key_x11_test> [<gtest arguments>...]
# Exit status 77 (skipped) only when Xvfb or xdotool is missing.
set -euo pipefail

exe=$1
shift

for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: '$tool' is missing (install xvfb and xdotool)"
        exit 77
    fi
done

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

# Xvfb picks a free display itself and writes its number once it accepts clients.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb gave no display number"

mkdir -p "$work/runtime"
chmod 700 "$work/runtime"
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY XDG_RUNTIME_DIR=$work/runtime
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

status=0
"$exe" "$@" || status=$?
exit "$status"
