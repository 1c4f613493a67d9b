#!/usr/bin/env bash
# What the Debian package installs, checked from a built tree:
#   package_test.sh <case> <source folder> <build folder> <project version>
#   desktop_entry      the desktop entry validates and names what is installed
#   manual_pages       the pages render without warnings and cover every --help entry
#   install_tree       cmake --install puts exactly the expected files in place
#   installed_as_user  the .deb, unpacked, works for a user who cannot write to it
# A missing tool fails the case: `scripts/dev deps` installs every one of them.
set -euo pipefail

[ $# -eq 4 ] || { sed -n '2,8p' "$0" >&2; exit 2; }
case_name=$1 src=$2 build=$3 version=$4

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
need() {
    local t
    for t in "$@"; do
        command -v "$t" >/dev/null || fail "$t is not installed (scripts/dev deps installs it)"
    done
}

programs=(KZTRMaster kztrctl rz8sim)
pages=(KZTRMaster.1 kztrctl.1 rz8sim.1)
privdir=usr/lib/kztrmaster
docdir=usr/share/doc/kztrmaster

work=$(mktemp -d "${TMPDIR:-/tmp}/kztr-package.XXXXXX")
sim_pid=""
cleanup() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    # A tree made read-only for the run as oneself must be writable again to go.
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Lines of the section of a rendered page between its heading and the next one.
section() { # section <heading> < rendered page
    awk -v h="$1" '$0 == h { on = 1; next } /^[A-Z]/ { on = 0 } on'
}

# The name-and-time-free, best-compression gzip Debian asks for.
check_gzip() { # check_gzip <file>
    gzip -t "$1" || fail "$1 is not a valid gzip file"
    local header
    header=$(od -An -tu1 -N9 "$1" | tr -s ' ' | sed 's/^ //')
    read -r -a h <<<"$header"
    [ $((h[3] & 8)) -eq 0 ] || fail "$1 stores the original file name (gzip -n)"
    [ "${h[4]}${h[5]}${h[6]}${h[7]}" = "0000" ] || fail "$1 stores a time stamp (gzip -n)"
    [ "${h[8]}" -eq 2 ] || fail "$1 is not compressed at the highest level (gzip -9)"
}

# What a package tree must hold: programs, links, skin, desktop entry, icon, pages, docs.
expected_files() {
    local p f
    for p in "${programs[@]}"; do
        echo "usr/bin/$p"
        echo "$privdir/$p"
    done
    # The skin list the build draws from, each file with its twin at twice the size.
    grep -o 'GUIFrame[A-Za-z]*/[A-Za-z_]*\.tksx' "$src/tools/skingen/CMakeLists.txt" |
        while read -r f; do
            echo "$privdir/GUISkin/$f"
            echo "$privdir/GUISkin/${f%.tksx}@2x.tksx"
        done
    echo usr/share/applications/kztrmaster.desktop
    echo usr/share/icons/hicolor/scalable/apps/kztrmaster.svg
    for f in "${pages[@]}"; do echo "usr/share/man/man1/$f.gz"; done
    echo "$docdir/README.md"
    echo "$docdir/copyright"
    echo "$docdir/changelog.gz"
}

check_tree() { # check_tree <root>: the layout, whoever installed it
    local root=$1 p link
    diff <(expected_files | sort) <(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort) ||
        fail "the tree under $root differs from the expected list (< expected, > found)"
    for p in "${programs[@]}"; do
        [ -x "$root/$privdir/$p" ] || fail "$privdir/$p is not executable"
        [ "$(head -c4 "$root/$privdir/$p" | od -An -c | tr -d ' ')" = '177ELF' ] ||
            fail "$privdir/$p is not an ELF program"
        [ -L "$root/usr/bin/$p" ] || fail "usr/bin/$p is not a symbolic link"
        # Relative, so the tree can be unpacked anywhere and still resolve.
        link=$(readlink "$root/usr/bin/$p")
        [ "$link" = "../lib/kztrmaster/$p" ] || fail "usr/bin/$p points to '$link'"
        [ "$(realpath "$root/usr/bin/$p")" = "$(realpath "$root/$privdir/$p")" ] ||
            fail "usr/bin/$p does not resolve to $privdir/$p"
    done
    for p in "${pages[@]}"; do check_gzip "$root/usr/share/man/man1/$p.gz"; done
    check_gzip "$root/$docdir/changelog.gz"
    zcat "$root/$docdir/changelog.gz" | head -n1 | grep -qx "kztrmaster ($version) [a-z]*; urgency=[a-z]*" ||
        fail "the changelog does not start with an entry for version $version"
    zcat "$root/$docdir/changelog.gz" | grep -qE '^ -- .+ <.+@.+>  [A-Z][a-z]{2}, [0-9]{2} [A-Z][a-z]{2} [0-9]{4} ' ||
        fail "the changelog has no well-formed maintainer line"

    local copyright=$root/$docdir/copyright
    head -n1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
        fail "copyright is not in the machine-readable format"
    grep -qx 'Copyright: 2026 the KZTRMaster developers' "$copyright" || fail "copyright names no holder"
    [ "$(grep -c '^License: Expat$' "$copyright")" -eq 2 ] ||
        fail "copyright does not state the MIT (Expat) licence for its files and in full"
    # The licence text in full, as in LICENSE, from the grant to the end.
    diff <(sed -n '/^Permission is hereby granted/,$p' "$src/LICENSE" | grep -v '^$') \
        <(sed -n '/^ Permission is hereby granted/,$p' "$copyright" | sed 's/^ //' | grep -vx '\.') ||
        fail "the licence text in copyright differs from LICENSE"
    cmp -s "$src/README.md" "$root/$docdir/README.md" || fail "the installed README differs"
}

case $case_name in
desktop_entry)
    need desktop-file-validate
    entry=$src/packaging/kztrmaster.desktop
    out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
    [ -z "$out" ] || fail "desktop-file-validate reports: $out"
    key() { sed -n "s/^$1=//p" "$entry"; }
    [ "$(key Type)" = Application ] || fail "Type is '$(key Type)'"
    [ "$(key Name)" = KZTRMaster ] || fail "Name is '$(key Name)'"
    [ "$(key Terminal)" = false ] || fail "Terminal is '$(key Terminal)'"
    exec_program=$(key Exec | cut -d' ' -f1)
    printf '%s\n' "${programs[@]}" | grep -qx "$exec_program" ||
        fail "Exec starts '$exec_program', which the package does not install in /usr/bin"
    [ -f "$src/packaging/$(key Icon).svg" ] || fail "no icon file for Icon=$(key Icon)"
    for c in Settings HardwareSettings; do
        key Categories | tr ';' '\n' | grep -qx "$c" || fail "Categories lacks $c"
    done
    ;;

manual_pages)
    need groff man lexgrog
    export MANWIDTH=80 LC_ALL=C.UTF-8
    for page in "${pages[@]}"; do
        plain=$build/packaging/$page
        [ -f "$plain.gz" ] || fail "$plain.gz was not built"
        out=$(groff -man -ww -z "$plain" 2>&1) || fail "groff failed on $page: $out"
        [ -z "$out" ] || fail "groff warns about $page: $out"
        lexgrog "$plain" >/dev/null || fail "$page has no NAME line that whatis can read"
        # Rendered as the installed page is, with groff's warnings on.
        man --warnings -l "$plain.gz" >"$work/$page.txt" 2>"$work/$page.err" ||
            fail "man cannot render $page: $(cat "$work/$page.err")"
        [ ! -s "$work/$page.err" ] || fail "man warns about $page: $(cat "$work/$page.err")"
        title=$(basename "$page" .1 | tr '[:lower:]' '[:upper:]')
        head -n1 "$work/$page.txt" | grep -q "^$title(1) " || fail "$page has no title $title(1)"
        tail -n1 "$work/$page.txt" | grep -q "KZTRMaster $version " ||
            fail "the footer of $page does not carry version $version"
        for s in NAME SYNOPSIS DESCRIPTION OPTIONS 'SEE ALSO'; do
            grep -qx "$s" "$work/$page.txt" || fail "$page has no $s section"
        done
        long=$(while IFS= read -r l; do [ ${#l} -le 80 ] || echo "$l"; done <"$work/$page.txt")
        [ -z "$long" ] || fail "$page has lines wider than 80 columns:
$long"
    done

    # Every command, option and field of kztrctl --help has its entry in the page.
    "$build/kztrctl" --help >"$work/kztrctl.help"
    commands=$(sed -n '/^Commands:/,/^$/p' "$work/kztrctl.help" | grep -oE '^  [a-z]+' | tr -d ' ')
    [ "$(wc -w <<<"$commands")" -ge 10 ] || fail "too few commands read from kztrctl --help"
    section COMMANDS <"$work/kztrctl.1.txt" >"$work/commands"
    for c in $commands; do
        grep -qE "^ {7}$c( |,|$)" "$work/commands" || fail "kztrctl.1 does not describe the command $c"
    done
    for o in $(grep -oE -- '--[a-z][a-z-]+' "$work/kztrctl.help" | sort -u); do
        grep -qE -- "^ {7}([^ ]+, )*$o(,| |$)" "$work/kztrctl.1.txt" || fail "kztrctl.1 does not describe $o"
    done
    fields=$(sed -n '/^Fields of set/,/^$/p' "$work/kztrctl.help" | grep -oE '^  [a-z]+' | tr -d ' ')
    [ "$(wc -w <<<"$fields")" -ge 13 ] || fail "too few fields read from kztrctl --help"
    section FIELDS <"$work/kztrctl.1.txt" >"$work/fields"
    for f in $fields; do
        grep -qE "^ {7}([a-z]+, )*$f( |,|$)" "$work/fields" || fail "kztrctl.1 does not describe the field $f"
    done

    # Every option and controller setting of rz8sim --help.
    "$build/rz8sim" --help >"$work/rz8sim.help"
    for o in $(grep -oE -- '--[a-z]+' "$work/rz8sim.help" | sort -u); do
        grep -qE -- "^ {7}([^ ]+, )*$o(,| |$)" "$work/rz8sim.1.txt" || fail "rz8sim.1 does not describe $o"
    done
    # "com=N[,box=N]...[,split[=MS]][,edid=broken|stuck]": one setting a line.
    settings=$(sed -n '/^  CTL:/,/^  defaults/p' "$work/rz8sim.help" | grep -v '^  defaults' |
        sed 's/CTL://' | tr -d ' \n' | sed 's/\[,/\n/g' | tr -d '[]')
    [ "$(wc -l <<<"$settings")" -ge 12 ] || fail "too few controller settings read from rz8sim --help"
    section 'CONTROLLER SETTINGS' <"$work/rz8sim.1.txt" >"$work/settings"
    for s in $settings; do
        key=${s%%=*} value=${s#*=}
        if [[ $s == *=* && $value =~ ^[a-z|]+$ ]]; then
            # Fixed values are entries of their own.
            for v in ${value//|/ }; do
                grep -qE "^ {7}$key=$v( |$)" "$work/settings" || fail "rz8sim.1 does not describe $key=$v"
            done
        else
            grep -qE "(^ {7}|, )$key(=|\[| |$)" "$work/settings" || fail "rz8sim.1 does not describe the setting $key"
        fi
    done

    # KZTRMaster lists its options when given an unknown one.
    mkdir -m 700 "$work/run"
    status=0
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work/run "$build/KZTRMaster" --no-such-option \
        2>"$work/KZTRMaster.err" || status=$?
    [ "$status" -eq 2 ] || fail "KZTRMaster --no-such-option ended with $status, not 2"
    known=$(sed -n 's/.*known://p' "$work/KZTRMaster.err" | grep -oE -- '--[a-z]+' | sort -u)
    [ "$(wc -w <<<"$known")" -ge 3 ] || fail "KZTRMaster named too few options: $(cat "$work/KZTRMaster.err")"
    section OPTIONS <"$work/KZTRMaster.1.txt" >"$work/options"
    for o in $known; do
        grep -qE -- "^ {7}$o(\[| |$)" "$work/options" || fail "KZTRMaster.1 does not describe $o"
    done
    ;;

install_tree)
    need cmake gzip
    DESTDIR=$work/root cmake --install "$build" --prefix /usr >"$work/install.log" ||
        fail "cmake --install failed: $(cat "$work/install.log")"
    check_tree "$work/root"
    # The skin installed is the one the build drew.
    (cd "$build/GUISkin" && find . -type f) | while read -r f; do
        cmp -s "$build/GUISkin/$f" "$work/root/$privdir/GUISkin/$f" || fail "GUISkin/$f differs from the build's"
    done
    ;;

installed_as_user)
    need cpack dpkg-deb dpkg file setpriv
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
        fail "cpack could not build the package: $(cat "$work/cpack.log")"
    deb=$work/out/kztrmaster_${version}_$(dpkg --print-architecture).deb
    [ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$work/out")"

    field() { dpkg-deb -f "$deb" "$1"; }
    [ "$(field Package)" = kztrmaster ] || fail "Package is '$(field Package)'"
    [ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
    for f in Maintainer Section Priority Description; do
        [ -n "$(field "$f")" ] || fail "the package has no $f"
    done
    [ "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 2 ] || fail "the package has no long description"
    # Found in the programs by dpkg-shlibdeps, not written by hand.
    for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
        field Depends | tr ',' '\n' | sed 's/^ //; s/ .*//' | grep -qxF "$lib" ||
            fail "Depends lacks $lib: $(field Depends)"
    done

    # Owned by root, nothing writable but by the owner, programs the only executables.
    dpkg-deb -c "$deb" >"$work/contents"
    awk '$2 != "root/root"' "$work/contents" | grep . && fail "files not owned by root/root"
    awk '$1 ~ /^d/ && $1 != "drwxr-xr-x"' "$work/contents" | grep . && fail "directories not 0755"
    awk '$1 ~ /^-/ && $1 != "-rw-r--r--" && $6 !~ /^\.\/usr\/lib\/kztrmaster\/[^\/]+$/' \
        "$work/contents" | grep . && fail "data files not 0644"
    for p in "${programs[@]}"; do
        grep -qE "^-rwxr-xr-x .* \./$privdir/$p\$" "$work/contents" || fail "$privdir/$p is not 0755"
    done

    chmod 755 "$work"
    root=$work/root
    dpkg-deb -x "$deb" "$root"
    check_tree "$root"
    for p in "${programs[@]}"; do
        file -b "$root/$privdir/$p" | grep -q ', stripped' || fail "$privdir/$p is not stripped"
    done

    # A user who cannot write beside the programs, as after an installation.
    home=$work/home
    ports=$work/ports
    mkdir -p "$home" "$ports"
    if [ "$(id -u)" -eq 0 ]; then
        chown 65534:65534 "$home" "$ports"
        as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    else
        chmod -R a-w "$root"
        as_user=()
    fi
    chmod 700 "$home"
    user_env=(env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8 RZ8_PORT_DIR="$ports"
        QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES=rz8.trace.debug=true)
    run() { "${as_user[@]}" "${user_env[@]}" "$@"; }
    run mkdir -m 700 "$home/run"
    user_env+=(XDG_RUNTIME_DIR="$home/run")
    if run touch "$root/$privdir/write-probe" 2>/dev/null; then
        fail "the test user can write to $privdir: the per-user places would not be tried"
    fi
    touch "$work/before"

    "${as_user[@]}" "${user_env[@]}" "$root/usr/bin/rz8sim" --dir "$ports" --ctl com=1,box=1 \
        >"$work/sim.out" 2>&1 &
    sim_pid=$!
    for _ in $(seq 100); do
        grep -qx ready "$work/sim.out" && break
        kill -0 "$sim_pid" 2>/dev/null || fail "rz8sim ended: $(cat "$work/sim.out")"
        sleep 0.1
    done
    grep -qx ready "$work/sim.out" || fail "rz8sim did not get ready: $(cat "$work/sim.out")"

    # Through the /usr/bin link: the skin is found beside the resolved program.
    today=$(date +%Y.%m.%d)
    run "$root/usr/bin/KZTRMaster" --screenshot "$home/panel.png" >"$work/panel.log" 2>&1 ||
        fail "KZTRMaster --screenshot failed: $(cat "$work/panel.log")"
    [ "$(head -c8 "$home/panel.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
        fail "KZTRMaster wrote no PNG picture"
    width=$(od -An -tu1 -j16 -N4 "$home/panel.png" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')
    [ "$width" -ge 800 ] || fail "the panel picture is only $width pixels wide"
    grep -qF "$home/.config/KZTRMaster/KZTRSettingFile.kzt" "$work/panel.log" ||
        fail "KZTRMaster did not look for its settings in ~/.config/KZTRMaster: $(cat "$work/panel.log")"

    run "$root/usr/bin/kztrctl" scan >"$work/scan.out" 2>"$work/scan.err" ||
        fail "kztrctl scan failed: $(cat "$work/scan.err")"
    grep -qE '^COM1 +box ID 1 ' "$work/scan.out" || fail "kztrctl scan did not find COM1: $(cat "$work/scan.out")"

    # Configuration reads leave no log line; a pattern does.
    run "$root/usr/bin/kztrctl" pattern --com 1 on >"$work/pattern.out" 2>&1 ||
        fail "kztrctl pattern failed: $(cat "$work/pattern.out")"
    logs=$home/.local/share/KZTRMaster/LogoFiles
    log=$(find "$logs" -name '*.txt' 2>/dev/null | head -n1)
    [ -n "$log" ] || fail "no daily log in $logs"
    name=$(basename "$log" .txt)
    [ "$name" = "$today" ] || [ "$name" = "$(date +%Y.%m.%d)" ] || fail "the daily log is named $name.txt"
    grep -q "v$version" "$log" || fail "the log line does not carry version $version: $(cat "$log")"
    [ "$(stat -c %u "$log")" = "$(run id -u)" ] || fail "the daily log is not the test user's"

    # XDG_DATA_HOME, when set, takes the logs instead.
    user_env+=(XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config")
    run "$root/usr/bin/kztrctl" pattern --com 1 off >"$work/pattern.out" 2>&1 ||
        fail "kztrctl pattern off failed: $(cat "$work/pattern.out")"
    find "$home/data/KZTRMaster/LogoFiles" -name '*.txt' 2>/dev/null | grep -q . ||
        fail "no daily log under \$XDG_DATA_HOME/KZTRMaster/LogoFiles"

    changed=$(find "$root" -newer "$work/before")
    [ -z "$changed" ] || fail "the programs wrote into their own tree: $changed"
    ;;

*)
    fail "unknown case '$case_name'"
    ;;
esac
echo "$case_name: passed"
