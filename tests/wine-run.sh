#!/usr/bin/env bash
# Runs one Windows test program in a throw-away Wine prefix and passes on its exit code.
# The prefix is a copy of $TNP_WINE_TEMPLATE when set (made once per test run for the same
# architecture), else new. The program's machine type picks the Wine (wine-arch.sh).
set -u
exe=$1; shift
. "$(dirname "$0")/wine-arch.sh"
use_wine_for "$exe"
work=$(mktemp -d /tmp/tnp-wine.XXXXXX)
export WINEPREFIX=$work/pfx WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv,wineoss.drv="
prefix_from_template "$WINEPREFIX"
if [ -z "${DISPLAY:-}" ]; then
    exec_prefix=(xvfb-run -a)
else
    exec_prefix=()
fi
# Results for the bad-input count of the whole run, when the runner collects them; a second
# entry of the same program names its own.
if [ -n "${TNP_RESULTS_DIR:-}" ]; then
    set -- "$@" "--gtest_output=xml:Z:$(echo "$TNP_RESULTS_DIR/${TNP_RESULTS_NAME:-$(basename "$exe" .exe)}.xml" | tr / '\\')"
fi
"${exec_prefix[@]}" "$WINE" "$exe" "$@"
rc=$?
wineserver -k 2>/dev/null
rm -rf "$work"
exit $rc
