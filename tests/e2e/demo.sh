#!/usr/bin/env bash
# A scripted demonstration install under Xvfb in a fresh prefix, inside Wine's virtual desktop
# so the dialogs have their frames: prints what was installed and saves the pictures to docs/.
#
#   demo.sh <tests build dir>
set -u
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$(dirname "$0")/prefix.sh"
use_wine_for "$build/setup.exe"
work=$(mktemp -d /tmp/tnp-demo.XXXXXX)
XVFB_PID=
trap 'rm -rf "$work"; [ -z "$XVFB_PID" ] || kill $XVFB_PID 2>/dev/null' EXIT
start_xvfb_unless_display
make_template "$work/template"
make_case_prefix "$work/template" "$work/demo" "$build"
timeout 300 "$WINE" explorer /desktop=demo,640x400 'E:\e2e_driver.exe' --gtest_filter='Demo.*' >/dev/null 2>&1
wineserver -w
cat "$work/demo/e/shots/installed.txt" 2>/dev/null || { echo "the demonstration did not complete"; exit 1; }
mkdir -p "$top/docs"
for shot in "$work"/demo/e/shots/*.bmp; do
    convert "$shot" "$top/docs/$(basename "$shot" .bmp).png"
done
echo "Pictures: $(cd "$top" && ls docs/*.png | tr '\n' ' ')"
