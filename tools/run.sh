#!/usr/bin/env bash
# Builds setup.exe and starts it under Wine in a prefix of its own (~/.tone-pilot-setup/).
# Without a display it runs a scripted demonstration install under Xvfb instead, prints what
# was installed and where its pictures are (the build's demo/ folder); the checkout stays as it was.
#
#   run.sh [--refresh-docs]   the demonstration whatever the display, its pictures then copied
#                             to docs/ for the README: only where the shipped exe runs
set -euo pipefail
case ${1:-} in
'') refresh_docs=0 ;;
--refresh-docs) refresh_docs=1 ;;
*) echo "usage: tools/run.sh [--refresh-docs]"; exit 2 ;;
esac
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
# The README presents its pictures as the shipped program; the twin is another exe.
if [ $refresh_docs -eq 1 ] && [ "$TNP_BUILD" != build ]; then
    echo "docs/ left as it was: $TNP_NO_I686_REASON, so the pictures would show the" \
         "x86_64 twin, not build/setup.exe; refresh them on a machine that runs the shipped exe."
    exit 1
fi
if [ -z "${DISPLAY:-}" ] || [ $refresh_docs -eq 1 ]; then
    echo "Running a scripted demonstration install under Xvfb."
    env -u DISPLAY TNP_WINE_TEMPLATE="$fresh/pfx" bash "$top/tests/e2e/demo.sh" "$top/$TNP_BUILD"
    if [ $refresh_docs -eq 1 ]; then
        cp build/demo/*.png docs/
        echo "docs/ refreshed with the pictures of build/setup.exe; commit them if they are to stay."
    fi
    exit
fi
prefix=$HOME/.tone-pilot-setup/prefix-$(pe_arch "$TNP_BUILD/setup.exe")
[ -d "$prefix" ] || make_wine_prefix "$prefix"
WINEPREFIX=$prefix "$WINE" "$TNP_BUILD/setup.exe"
