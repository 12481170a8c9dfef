#!/usr/bin/env bash
# Photographs the two dialogs as Wine draws them inside its own virtual desktop, with frame and
# caption, for the documentation: docs/search-dialog.png and docs/select-dialog.png.
#
#   tests/screenshots.sh [test build dir]      (default: build-tests)
#
# The dialogs come from show_dialogs.exe, which carries the very resource script of setup.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build-tests}" && pwd)
exe=$build/tests/resources/show_dialogs.exe
[ -f "$exe" ] || { echo "screenshots: build show_dialogs in $build first" >&2; exit 1; }
mkdir -p "$root/docs"

if [ -z "${TNP_IN_XVFB:-}" ]; then
    export TNP_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 640x400x24" "$0" "$build"
fi

WINE=${WINE:-/usr/lib/wine/wine64}
work=$(mktemp -d /tmp/tnp-shots.XXXXXX)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
export WINEPREFIX=$work/pfx WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$WINE" wineboot -i >/dev/null 2>&1
wineserver -w
# This Wine does not pick up its own fonts from its data directory, so the close box lacks its
# Marlett glyph and captions fall back to a host font; fonts in the Windows folder are found.
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"

# shoot <template> <png>
shoot() {
    local ready=$work/ready-$1 pid
    "$WINE" explorer /desktop=shot,640x400 "$exe" "$1" "$(winepath_of "$ready")" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 150); do [ -s "$ready" ] && break; sleep 0.2; done
    [ -s "$ready" ] || { echo "screenshots: $1 did not come up" >&2; exit 1; }
    sleep 0.5  # let the frame finish painting after the client area
    local left top right bottom foreground margin=12
    read -r left top right bottom foreground <"$ready"
    import -window root -crop "$((right - left + 2 * margin))x$((bottom - top + 2 * margin))+$((left - margin))+$((top - margin))" \
        +repage "$2"
    wineserver -k 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    # Both templates ask to be centred on the 640x400 desktop.
    if [ $(((left + right) / 2 - 320)) -ne 0 ] || [ $(((top + bottom) / 2 - 200)) -gt 1 ] ||
       [ $(((top + bottom) / 2 - 200)) -lt -1 ]; then
        echo "screenshots: $1 is not centred" >&2; exit 1
    fi
    echo "screenshots: $2 ($((right - left))x$((bottom - top)) at $left,$top, foreground $foreground)"
}

winepath_of() { echo "Z:${1//\//\\}"; }

shoot SEARCH "$root/docs/search-dialog.png"
shoot SELECT "$root/docs/select-dialog.png"
