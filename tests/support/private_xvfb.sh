# Sourced by the tests that need a real X server: start_private_xvfb <work> <size> [args]
# starts Xvfb on a display it picks itself, records its pid in xvfb_pid and exports
# DISPLAY for the xcb platform. Needs a fail() of the caller's.
start_private_xvfb() {
    local work=$1 size=$2
    shift 2
    # Xvfb writes the display number once it accepts clients.
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp "$@" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
        sleep 0.1
    done
    [ -s "$work/display" ] || fail "Xvfb gave no display number"
    DISPLAY=":$(head -n1 "$work/display")"
    export DISPLAY
    unset WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
}
