#!/usr/bin/env bash
# End-to-end with a real AT-SPI client: KZTRMaster --simulate on a private Xvfb display,
# with its own D-Bus session and accessibility bus; panel_atspi.py finds the controls by
# role and name, reads their states, connects by the "Serial COM" switch's action and
# ends the program by the "Exit" action, which must end it with status 0.
#   panel_atspi.sh <KZTRMaster>
# KZTR_PANEL_GEOMETRY names the panel's places, as panelgeom writes them at build time.
# Exit status 77 (skipped) when Xvfb, D-Bus, the AT-SPI bus launcher or pyatspi is missing.
set -euo pipefail

exe=$1
launcher=/usr/libexec/at-spi-bus-launcher
# The client needs the system's python with its gi and pyatspi, not another one on PATH.
python=/usr/bin/python3

skip() {
    echo "SKIPPED: $* (install xvfb, dbus, at-spi2-core and python3-pyatspi)"
    exit 77
}
command -v Xvfb >/dev/null || skip "'Xvfb' is missing"
command -v dbus-daemon >/dev/null || skip "'dbus-daemon' is missing"
command -v dbus-send >/dev/null || skip "'dbus-send' is missing"
[ -x "$launcher" ] || skip "$launcher is missing"
if ! [ -x "$python" ] || ! "$python" -c 'import pyatspi' 2>/dev/null; then
    skip "python3-pyatspi is missing"
fi

work=$(mktemp -d)
xvfb_pid=""
bus_pid=""
launcher_pid=""
app_pid=""
cleanup() {
    for pid in "$app_pid" "$launcher_pid" "$xvfb_pid" "$bus_pid"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    [ -f "$work/app.log" ] && sed 's/^/  app: /' "$work/app.log"
    [ -f "$work/launcher.log" ] && sed 's/^/  launcher: /' "$work/launcher.log"
    exit 1
}

# shellcheck source=../support/private_panel.sh
source "$(dirname "$0")/../support/private_panel.sh"
panel_places
private_panel_copy "$work" "$exe"
# Nothing of the user's desktop may answer: no session bus, no accessibility bus, no
# settings that would turn accessibility on by themselves.
unset AT_SPI_BUS_ADDRESS QT_LINUX_ACCESSIBILITY_ALWAYS_ON QT_ACCESSIBILITY
export XDG_CONFIG_HOME=$work/config GSETTINGS_BACKEND=memory

# shellcheck source=../support/private_xvfb.sh
source "$(dirname "$0")/../support/private_xvfb.sh"
start_private_xvfb "$work" 1600x1050x24 -br -noreset

# A private session bus; the accessibility bus launcher registers on it.
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus.address" 4>"$work/bus.pid" ||
    fail "the session bus did not start"
bus_pid=$(head -n1 "$work/bus.pid")
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus.address")
export DBUS_SESSION_BUS_ADDRESS
"$launcher" --launch-immediately >"$work/launcher.log" 2>&1 &
launcher_pid=$!
bus_is_up() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress
}
for _ in $(seq 100); do
    bus_is_up >/dev/null 2>&1 && break
    kill -0 "$launcher_pid" 2>/dev/null || fail "the AT-SPI bus launcher ended"
    sleep 0.1
done
bus_is_up >/dev/null 2>&1 || fail "the accessibility bus did not come up"
# What a desktop does when a screen reader is turned on; Qt reads it at start-up.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled \
    variant:boolean:true >/dev/null || fail "accessibility could not be turned on"

"$work/app/KZTRMaster" --simulate >"$work/app.log" 2>&1 &
app_pid=$!

set +e
timeout 100 "$python" "$(dirname "$0")/panel_atspi.py" "$work/app/LogoFiles" "$panel_places"
client_status=$?
set -e
[ "$client_status" -eq 0 ] || fail "the AT-SPI client failed (status $client_status)"

# Exit's action ends the program.
for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "KZTRMaster still runs 10 s after Exit"
set +e
wait "$app_pid"
app_status=$?
set -e
app_pid=""
[ "$app_status" -eq 0 ] || fail "KZTRMaster ended with status $app_status after Exit"
echo "PASS: the AT-SPI client read and operated the panel; Exit ended it"
