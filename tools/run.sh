#!/usr/bin/env bash
# Builds setup.exe and starts it under Wine in a prefix of its own (~/.tone-pilot-setup/).
# Without a display it runs a scripted demonstration install under Xvfb instead, prints what
# was installed and refreshes the pictures in docs/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/install-deps.sh
cmake --preset default >/dev/null && cmake --build --preset default -j2
. tests/wine-arch.sh

# The shipped i686 exe wherever this machine runs 32-bit code; elsewhere the x86_64 twin built
# from the same sources. With a display the program gets a prefix of its own that lasts from
# run to run; the demonstration starts from a fresh one.
export WINEDEBUG=-all
if [ -n "${DISPLAY:-}" ]; then
    home=$HOME/.tone-pilot-setup
    mkdir -p "$home"
    prefix=$home/prefix-i686
else
    fresh=$(mktemp -d /tmp/tnp-run.XXXXXX)
    trap 'rm -rf "$fresh"' EXIT
    prefix=$fresh/pfx
fi
if runs_32bit_code "$prefix" build/tests/arch_probe.exe; then
    build=build
    echo "setup.exe: build/setup.exe (i686, the shipped bytes)"
else
    cmake --preset tests >/dev/null && cmake --build --preset tests -j2
    build=build-tests prefix=${prefix%-i686}-x86_64
    echo "setup.exe: build-tests/setup.exe (x86_64 twin: this machine runs no 32-bit code)"
fi
use_wine_for "$build/setup.exe"
[ -d "$prefix" ] || make_wine_prefix "$prefix"
if [ -z "${DISPLAY:-}" ]; then
    echo "No display: running a scripted demonstration install under Xvfb."
    TNP_WINE_TEMPLATE=$prefix bash "$top/tests/e2e/demo.sh" "$top/$build"
    exit
fi
WINEPREFIX=$prefix "$WINE" "$build/setup.exe"
