#!/usr/bin/env bash
# Builds and runs every test. Where this machine runs 32-bit Windows code, the unit tests and
# the end-to-end cases run the i686 build, so the cases drive build/setup.exe, the shipped
# bytes; elsewhere the 64-bit twin is built from the same sources (build-tests) and run.
# Then the host checks of the shipped exe, the reproducible-build check and the fuzzers.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/install-deps.sh

cmake --preset default >/dev/null
cmake --build --preset default -j2

# One X server and one freshly made Wine prefix for the whole run; each test copies the prefix.
work=$(mktemp -d /tmp/tnp-tests.XXXXXX)
for n in $(seq 60 89); do [ -e /tmp/.X11-unix/X$n ] || break; done
Xvfb ":$n" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=":$n"
export TNP_WINE_TEMPLATE=$work/template
. tests/wine-arch.sh
choose_build "$TNP_WINE_TEMPLATE"
[ "$TNP_BUILD" = build ] && preset=default || preset=tests

export TNP_RESULTS_DIR=$work/results
mkdir -p "$TNP_RESULTS_DIR"
status=0
# The end-to-end cases mostly wait on Wine and X and leave the cores idle, so the fuzzers and the
# two clean builds run beside them; their output follows the tests'.
(ok=0; bash tests/fuzz/run_fuzzers.sh 20 || ok=1; bash tests/check_reproducible.sh || ok=1; exit $ok) \
    >"$work/beside.log" 2>&1 &
beside=$!
ctest --preset "$preset" --output-on-failure || status=1
cat "$TNP_RESULTS_DIR/e2e-cases.txt" 2>/dev/null || true
wait $beside || status=1
cat "$work/beside.log"
echo "setup.exe under test: $TNP_UNDER_TEST"
python3 tests/count_bad_inputs.py "$TNP_RESULTS_DIR" || status=1
exit $status
