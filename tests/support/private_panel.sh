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
