#!/usr/bin/env bash
# End-to-end: the real KZTRMaster on a private Xvfb display.
#   panel_e2e.sh <case> <KZTRMaster> <imagecheck>
# Cases:
#   exit        the panel shows at (182, 55); a click on Exit ends the process with status 0
#   no-backdrop a skin without GUIFrameMainBKEn.tksx: the error box shows, dismissing it ends
#               the process
# Exit status 77 (skipped) only when Xvfb, xdotool or import is missing.
set -euo pipefail

case_name=$1
exe=$2
imagecheck=$3

for tool in Xvfb xdotool import; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: '$tool' is missing (install xvfb, xdotool and imagemagick)"
        exit 77
    fi
done

# The panel is centred on a fixed 1600 x 1050 area; its window is 1235 x 940.
readonly panel_x=182 panel_y=55
readonly exit_x=$((panel_x + (1179 + 1227) / 2)) exit_y=$((panel_y + (4 + 28) / 2))

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    [ -f "$work/app.log" ] && sed 's/^/  app: /' "$work/app.log"
    exit 1
}

# A private copy of the executable with its own skin, so that the settings file, the log
# folder and a reduced skin never touch the build folder; a private runtime folder keeps
# the single-instance lock away from any other copy running on this machine.
mkdir -p "$work/app" "$work/runtime"
chmod 700 "$work/runtime"
cp "$exe" "$work/app/KZTRMaster"
cp -r "$(dirname "$exe")/GUISkin" "$work/app/GUISkin"
export XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/runtime

# Xvfb picks a free display itself and writes its number once it accepts clients.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1600x1050x24 -br -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb gave no display number"
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

# wait_for <seconds> <command...>: retry the command until it succeeds.
wait_for() {
    local limit=$1
    shift
    local end=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.2
    done
}

# wait_exit <seconds>: wait for the application to end; sets app_status.
wait_exit() {
    local end=$((SECONDS + $1))
    while kill -0 "$app_pid" 2>/dev/null; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.2
    done
    set +e
    wait "$app_pid"
    app_status=$?
    set -e
    app_pid=""
}

panel_matches() {
    import -display "$DISPLAY" -window root "$work/screen.png" &&
        "$imagecheck" "$work/screen.png" "$work/reference.png" "$panel_x" "$panel_y"
}

case "$case_name" in
exit)
    # What the panel must look like, drawn off screen by the same copy.
    QT_QPA_PLATFORM=offscreen "$work/app/KZTRMaster" --screenshot "$work/reference.png" \
        >"$work/reference.log" 2>&1 || fail "--screenshot failed: $(cat "$work/reference.log")"

    # With simulated controllers, as the README's run command starts it; they wait for
    # the serial-COM switch, so the panel looks the same.
    "$work/app/KZTRMaster" --simulate >"$work/app.log" 2>&1 &
    app_pid=$!
    # Splash for 2.5 s, then the panel.
    wait_for 30 panel_matches || {
        "$imagecheck" "$work/screen.png" "$work/reference.png" "$panel_x" "$panel_y" || true
        fail "the panel did not show at ($panel_x, $panel_y)"
    }
    "$imagecheck" "$work/screen.png" "$work/reference.png" "$panel_x" "$panel_y"
    # A picture that matched anywhere would prove nothing.
    if "$imagecheck" "$work/screen.png" "$work/reference.png" $((panel_x + 40)) $((panel_y + 40)); then
        fail "the reference also matches 40 pixels away: the check cannot tell places apart"
    fi
    echo "panel shown at ($panel_x, $panel_y)"
    [ "$(grep -c '^  COM[1-3]: box ID [1-3], model' "$work/app.log")" -eq 3 ] ||
        fail "--simulate did not list three controllers"

    xdotool mousemove "$exit_x" "$exit_y" click 1
    wait_exit 15 || fail "the process did not end after a click on Exit ($exit_x, $exit_y)"
    [ "$app_status" -eq 0 ] || fail "exit status $app_status after Exit, expected 0"
    echo "Exit ended the process with status 0"
    ;;
no-backdrop)
    rm "$work/app/GUISkin/GUIFrameMain/GUIFrameMainBKEn.tksx"
    "$work/app/KZTRMaster" >"$work/app.log" 2>&1 &
    app_pid=$!
    wait_for 30 xdotool search --onlyvisible --name '^Quorvane Error\.\.\.$' ||
        fail "no error box appeared"
    box=$(xdotool search --onlyvisible --name '^Quorvane Error\.\.\.$' | head -n1)
    echo "error box shown (window $box)"
    xdotool search --onlyvisible --name '^KZTRMaster$' >/dev/null ||
        fail "the splash is not on screen behind the error box"
    echo "the splash is still on screen"
    import -display "$DISPLAY" -window "$box" "$work/box.png" 2>/dev/null || true
    kill -0 "$app_pid" 2>/dev/null || fail "the process ended before the box was dismissed"
    xdotool windowfocus --sync "$box" key Return
    wait_exit 15 || fail "the process did not end after the error box was dismissed"
    [ "$app_status" -ne 0 ] || fail "a failed start-up ended with status 0"
    echo "the process ended with status $app_status after the error box"
    ;;
*)
    fail "unknown case '$case_name'"
    ;;
esac
