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
# from the same sources. The demonstration starts from the fresh prefix the choice was made in;
# with a display the program gets a prefix of its own that lasts from run to run.
export WINEDEBUG=-all
fresh=$(mktemp -d /tmp/tnp-run.XXXXXX)
trap 'rm -rf "$fresh"' EXIT
choose_build "$fresh/pfx"
echo "setup.exe: $TNP_UNDER_TEST"
if [ -z "${DISPLAY:-}" ]; then
    echo "No display: running a scripted demonstration install under Xvfb."
    TNP_WINE_TEMPLATE=$fresh/pfx bash "$top/tests/e2e/demo.sh" "$top/$TNP_BUILD"
    exit
fi
prefix=$HOME/.tone-pilot-setup/prefix-$(pe_arch "$TNP_BUILD/setup.exe")
[ -d "$prefix" ] || make_wine_prefix "$prefix"
WINEPREFIX=$prefix "$WINE" "$TNP_BUILD/setup.exe"
