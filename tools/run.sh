#!/usr/bin/env bash
# Builds setup.exe and starts it under Wine in a prefix of its own (~/.tone-pilot-setup/prefix).
# Without a display it runs a scripted demonstration install under Xvfb instead and prints what
# was installed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/install-deps.sh
cmake --preset default >/dev/null && cmake --build --preset default -j2
cmake --preset tests >/dev/null && cmake --build --preset tests -j2

# Wine runs 32-bit programs only where the kernel runs 32-bit code; elsewhere start the 64-bit
# twin built from the same sources.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    wine=/usr/lib/wine/wine exe=$top/build/setup.exe
else
    wine=/usr/lib/wine/wine64 exe=$top/build-tests/setup.exe
    echo "This machine runs no 32-bit code: starting the 64-bit build of the same program."
fi
export WINEPREFIX=${WINEPREFIX:-$HOME/.tone-pilot-setup/prefix} WINEDEBUG=-all
if [ -z "${DISPLAY:-}" ]; then
    echo "No display: running a scripted demonstration install under Xvfb."
    [ "$wine" = /usr/lib/wine/wine ] && export WINEARCH=win32  # the 32-bit exe in a 32-bit prefix
    WINE=$wine exec bash "$top/tests/e2e/demo.sh" "$(dirname "$exe")"
fi
[ -d "$WINEPREFIX" ] || "$wine" wineboot -i >/dev/null 2>&1
"$wine" "$exe"
