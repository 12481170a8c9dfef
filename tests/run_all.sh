#!/usr/bin/env bash
# Builds everything and runs every test: the shipped 32-bit setup.exe and its file checks, the
# 64-bit twin with the unit tests and the end-to-end cases under wine64, and the host checks.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/install-deps.sh

cmake --preset default >/dev/null
cmake --build --preset default -j2
cmake --preset tests >/dev/null
cmake --build --preset tests -j2

# One X server and one freshly made Wine prefix for the whole run; each test copies the prefix.
work=$(mktemp -d /tmp/tnp-tests.XXXXXX)
for n in $(seq 60 89); do [ -e /tmp/.X11-unix/X$n ] || break; done
Xvfb ":$n" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=":$n"
export TNP_WINE_TEMPLATE=$work/template
WINEPREFIX=$TNP_WINE_TEMPLATE WINEDEBUG=-all /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
WINEPREFIX=$TNP_WINE_TEMPLATE wineserver -w

export TNP_RESULTS_DIR=$work/results
mkdir -p "$TNP_RESULTS_DIR"
status=0
ctest --preset tests --output-on-failure || status=1
bash tests/check_reproducible.sh || status=1
bash tests/fuzz/run_fuzzers.sh 20 || status=1
python3 tests/count_bad_inputs.py "$TNP_RESULTS_DIR" || status=1
exit $status
