#!/usr/bin/env bash
# Runs every end-to-end case in a throw-away Wine prefix of its own (made by prefix.sh).
#
#   run_e2e.sh <tests build dir> [case filter]
set -u
build=$(cd "$1" && pwd)
only=${2:-}
. "$(dirname "$0")/prefix.sh"
work=$(mktemp -d /tmp/tnp-e2e.XXXXXX)
XVFB_PID=
trap 'rm -rf "$work"; [ -z "$XVFB_PID" ] || kill $XVFB_PID 2>/dev/null' EXIT
start_xvfb_unless_display
template=$work/template
make_template "$template"

# name | gtest filter | Windows version ("" = Wine's default) | layout the version must give
cases=(
    "defaults|Install.DefaultsWithDesktop||nt"
    "no-desktop|Install.DesktopCleared||nt"
    "typed|Install.TypedDirectoriesWithAndWithoutBackslash||nt"
    "second-run|SecondRun.*||nt"
    "bad-directory|BadInputInstall.UncreatableDirectoryKeepsTheDialogForAnotherTry||nt"
    "blocked-file|BadInputInstall.UnwritablePayloadFileStopsAndCancelRemovesNothing||nt"
)
# Figures, run only when asked for by name (bench.sh).
cases+=("bench-install|Bench.InstallSequence||nt" "bench-scan|Bench.Scan||nt")
for version in win95 win98 winme nt40 win2k winxp win7 win10; do
    case $version in win9*|winme) layout=95 ;; *) layout=nt ;; esac
    cases+=("$version|Uninstall.*|$version|$layout")
done

passed=0 failed=0 failures=""
for spec in "${cases[@]}"; do
    IFS='|' read -r name filter version layout <<<"$spec"
    if [ -n "$only" ] && [[ "$name" != $only ]]; then continue; fi
    if [ -z "$only" ] && [[ "$name" == bench-* ]]; then continue; fi
    case_dir=$work/case-$name
    make_case_prefix "$template" "$case_dir" "$build" "$version"
    if [ "$name" = bench-scan ]; then  # 10 x 10 x 100 = 10,000 directories below the 110 above them
        python3 -c "
import os, sys
for a in range(10):
    for b in range(10):
        for c in range(100):
            os.makedirs(os.path.join(sys.argv[1], 'tree', 'a%d' % a, 'b%d' % b, 'c%d' % c))" "$case_dir/d"
    fi
    start=$(date +%s.%N)
    cd "$case_dir/e"
    TNP_EXPECT_LAYOUT=$layout timeout 300 "$WINE" 'E:\e2e_driver.exe' --gtest_filter="$filter" \
        --gtest_output='xml:E:\result.xml' >"$case_dir.log" 2>&1
    rc=$?
    if [ -n "${TNP_RESULTS_DIR:-}" ]; then
        cp "$case_dir/e/result.xml" "$TNP_RESULTS_DIR/e2e-$name.xml" 2>/dev/null ||
            echo "<crashed/>" >"$TNP_RESULTS_DIR/e2e-$name.xml"
    fi
    seconds=$(echo "$(date +%s.%N) - $start" | bc)
    wineserver -k 2>/dev/null
    if [ $rc -eq 0 ] && grep -q '\[  PASSED  \]' "$case_dir.log"; then
        passed=$((passed + 1)); printf 'e2e %-14s %-6s passed (%.1f s)\n' "$name" "${version:-default}" "$seconds"
        grep -h '^FIGURE' "$case_dir.log" || true
    else
        failed=$((failed + 1)); failures="$failures $name"
        printf 'e2e %-14s %-6s FAILED (rc %s)\n' "$name" "${version:-default}" "$rc"
        grep -vE '^\[ *(RUN|OK) *\]' "$case_dir.log" | head -40 | sed 's/^/    /'
    fi
    cd "$work"
    rm -rf "$case_dir"
done
echo "e2e: $passed passed, $failed failed"
[ $failed -eq 0 ]
