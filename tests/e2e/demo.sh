#!/usr/bin/env bash
# A scripted demonstration install under Xvfb in a fresh prefix, inside Wine's virtual desktop
# so the dialogs have their frames: prints what was installed and saves the pictures to the
# build's demo/ folder, never to the checkout (tools/run.sh --refresh-docs copies them to docs/).
#
#   demo.sh <build dir: setup.exe and tests/e2e/e2e_driver.exe>
set -u
build=$(cd "$1" && pwd)
. "$(dirname "$0")/prefix.sh"
use_wine_for "$build/setup.exe"
work=$(mktemp -d /tmp/tnp-demo.XXXXXX)
XVFB_PID=
trap 'rm -rf "$work"; [ -z "$XVFB_PID" ] || kill $XVFB_PID 2>/dev/null' EXIT
start_xvfb_unless_display
make_template "$work/template"
make_case_prefix "$work/template" "$work/demo" "$build"
# 3,000 directories on D: keep the search busy long enough for a picture of it at work.
python3 -c "
import os, sys
for a in range(30):
    for b in range(100):
        os.makedirs(os.path.join(sys.argv[1], 'w%d' % a, 'v%d' % b))" "$work/demo/d"
timeout 300 "$WINE" explorer /desktop=demo,640x400 'E:\e2e_driver.exe' --gtest_filter='Demo.*' >/dev/null 2>&1
wineserver -w
cat "$work/demo/e/shots/installed.txt" 2>/dev/null || { echo "the demonstration did not complete"; exit 1; }
pictures=$build/demo
rm -rf "$pictures" && mkdir -p "$pictures"  # only this run's pictures, should one go missing
for shot in "$work"/demo/e/shots/*.bmp; do
    convert "$shot" "PNG8:$pictures/$(basename "$shot" .bmp).png"
done
cmp -s "$pictures/search-scanning.png" "$pictures/search-done.png" &&
    { echo "the search was not caught at work"; exit 1; }
echo "Pictures in $pictures: $(cd "$pictures" && ls *.png | tr '\n' ' ')"
