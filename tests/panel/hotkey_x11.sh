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

# shellcheck source=../support/private_xvfb.sh
source "$(dirname "$0")/../support/private_xvfb.sh"
start_private_xvfb "$work" 640x480x24

mkdir -p "$work/runtime"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime

status=0
"$exe" "$@" || status=$?
exit "$status"
