# Sourced by the tests that run the real panel: private_panel_copy <work> <KZTRMaster>
# copies the executable with its skin to <work>/app, so that the settings file, the log
# folder and a reduced skin never touch the build folder, and exports a private runtime
# folder, which keeps the single-instance lock away from any other copy on this machine.
private_panel_copy() {
    local work=$1 exe=$2
    mkdir -p "$work/app" "$work/runtime"
    chmod 700 "$work/runtime"
    cp "$exe" "$work/app/KZTRMaster"
    cp -r "$(dirname "$exe")/GUISkin" "$work/app/GUISkin"
    export XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/runtime
}

# panel_places: sets panel_places to the file of the panel's places that panelgeom wrote
# at build time (KZTR_PANEL_GEOMETRY), or fails the test.
panel_places() {
    panel_places=${KZTR_PANEL_GEOMETRY:-}
    if ! [ -f "$panel_places" ]; then
        echo "FAIL: KZTR_PANEL_GEOMETRY='$panel_places' is no file (build the panel_geometry target)"
        exit 1
    fi
}

# place <name>: the place of that name in the file, "left top right bottom" in panel
# units; a name the file lacks fails, so a renamed control cannot leave an empty place.
place() {
    local line
    line=$(grep -m1 "^rect_$1=" "$panel_places") || {
        echo "FAIL: no place '$1' in $panel_places" >&2
        return 1
    }
    line=${line#*=}
    echo "${line//\"/}"
}
