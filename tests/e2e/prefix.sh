# Throw-away Wine prefixes for the end-to-end runs (sourced). A template is made once; each case
# gets a copy with setup.exe, the driver and the packed and unpacked payload on a CD-ROM drive E:
# (which the search never lists), an empty fixed drive D:, and no z: drive, so that the search
# walks only the prefix's own disks and never the host. The Wine is the one for the build's
# setup.exe (wine-arch.sh), and the template starts as a copy of $TNP_WINE_TEMPLATE when the
# test run made one.
. "$(dirname "${BASH_SOURCE[0]}")/../wine-arch.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv,wineoss.drv="

make_template() {  # <dir>
    prefix_from_template "$1"
    WINEPREFIX=$1 "$WINE" reg add 'HKLM\Software\Wine\Drives' /v d: /d hd /f >/dev/null 2>&1
    WINEPREFIX=$1 "$WINE" reg add 'HKLM\Software\Wine\Drives' /v e: /d cdrom /f >/dev/null 2>&1
    WINEPREFIX=$1 "$WINE" reg add 'HKLM\Software\Wine\Drives' /v f: /d network /f >/dev/null 2>&1
    WINEPREFIX=$1 "$WINE" reg add 'HKLM\Software\Wine\Drives' /v g: /d hd /f >/dev/null 2>&1
    WINEPREFIX=$1 wineserver -w
    # The desktop folders every Windows of either family has; Wine makes neither.
    mkdir -p "$1/drive_c/windows/Desktop" "$1/drive_c/windows/Profiles/All Users/Desktop"
    # This Wine doesn't find its own fonts in its data directory, only in the Windows folder: without
    # them a close box draws as an "r" (no Marlett) and captions fall back to a host font.
    cp /usr/share/wine/fonts/* "$1/drive_c/windows/Fonts/"
}

make_case_prefix() {  # <template> <case dir> <build dir> [Windows version]; sets WINEPREFIX
    local template=$1 case_dir=$2 build=$3 version=${4:-}
    export WINEPREFIX=$case_dir/pfx
    mkdir -p "$case_dir/d" "$case_dir/e/expect" "$case_dir/e/zpk"
    cp -a "$template" "$WINEPREFIX"
    cp "${TNP_SETUP_EXE:-$build/setup.exe}" "$case_dir/e/setup.exe"
    cp "$build/tests/e2e/e2e_driver.exe" "$build/tests/e2e/floor_dialog.exe" "$case_dir/e/"
    cp "$build"/payload-files/* "$case_dir/e/expect/"
    cp "$build"/payload/*.zpk "$case_dir/e/zpk/"
    mkdir -p "$case_dir/e/planted"  # another copy among DLLs of system names, as in a download folder
    cp "$case_dir/e/setup.exe" "$build"/tests/e2e/planted/*.dll "$case_dir/e/planted/"
    rm -f "$WINEPREFIX/dosdevices/z:"
    ln -s "$case_dir/d" "$WINEPREFIX/dosdevices/d:"
    ln -s "$case_dir/e" "$WINEPREFIX/dosdevices/e:"
    if [ -n "$version" ]; then
        "$WINE" reg add 'HKCU\Software\Wine\AppDefaults\setup.exe' /v Version /d "$version" /f >/dev/null 2>&1
    fi
}

start_xvfb_unless_display() {  # starts an X server of our own when there is no display
    [ -n "${DISPLAY:-}" ] && return 0
    local n
    for n in $(seq 90 130); do [ -e /tmp/.X11-unix/X$n ] || break; done
    Xvfb ":$n" -screen 0 1024x768x24 >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    sleep 1
}
