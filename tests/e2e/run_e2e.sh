#!/usr/bin/env bash
# Runs every end-to-end case in a throw-away Wine prefix of its own (made by prefix.sh), with
# the setup.exe and the driver of the given build: build (i686, the shipped bytes, under the
# 32-bit loader) or build-tests (the x86_64 twin, under wine64).
#
#   run_e2e.sh <build dir> [case filter]
set -u
build=$(cd "$1" && pwd)
only=${2:-}
. "$(dirname "$0")/prefix.sh"
use_wine_for "${TNP_SETUP_EXE:-$build/setup.exe}"
work=$(mktemp -d /tmp/tnp-e2e.XXXXXX)
XVFB_PID=
trap 'unmount_volumes; rm -rf "$work"; [ -z "$XVFB_PID" ] || kill $XVFB_PID 2>/dev/null' EXIT
start_xvfb_unless_display
template=$work/template
make_template "$template"

# name | gtest filter | Windows version ("" = Wine's default) | layout the version must give |
# "unprivileged" to run as a user who, unlike root, can't write read-only files | the Start-menu
# and desktop folders laid out (prefix.sh; "" = Wine's own)
cases=(
    "defaults|Install.DefaultsWithDesktop||nt"
    "no-desktop|Install.DesktopCleared||nt"
    "typed|Install.TypedDirectoriesWithAndWithoutBackslash||nt"
    "browse|Browse.*||nt"
    "second-run|SecondRun.*||nt"
    "bad-directory|BadInputInstall.UncreatableDirectoryKeepsTheDialogForAnotherTry||nt"
    "blocked-file|BadInputInstall.UnwritablePayloadFileStopsAndCancelRemovesNothing||nt"
    "full-drive|BadInputInstall.*FullDrive*||nt"
    "spoilt-payload|BadInputPayload.*||nt"
    "bad-entries|BadInputUninstallEntry.*||nt"
    "bad-paths|BadInputInstallPath.*||nt"
    # Wine makes no profile folders for this user, and its shell then names no folder at all:
    # NT 4's, whose folders are laid out whatever the user.
    "bad-files|BadInputTargetFile.*||nt|unprivileged|nt4"
    "no-shelllink|BadInputShellLink.*||nt"
    "planted-dlls|BadInputPlantedDll.*||nt"
)
# Searches over laid-out drives: C: and a fixed D: (searched), E: a CD-ROM and F: a network
# drive (never searched). name | what run_e2e lays out | the directory the search must report.
cases+=(
    "search-found|Search.*||nt"
    "search-drives|Search.*||nt"
    "search-root|Search.*||nt"
    "search-names|Search.*||nt"
    "search-dir-named|Search.*||nt"
    "search-misses|Search.*||nt"
    "search-loops|BadInputSearch.*||nt"
    "search-long|Search.*||nt"
)
# Figures, run only when asked for by name (bench.sh).
cases+=("bench-install|Bench.InstallSequence||nt" "bench-scan|Bench.Scan||nt")
# Every Windows with the shell folders it has.
cases+=(
    "win95|Uninstall.*|win95|95||95"
    "win98|Uninstall.*|win98|95||95"
    "winme|Uninstall.*|winme|95||95"
    "win98-de|Uninstall.*|win98|95||de98"
    "nt40|Uninstall.*|nt40|nt||nt4"
    "win2k|Uninstall.*|win2k|nt||2000"
    "winxp|Uninstall.*|winxp|nt||2000"
    "win7|Uninstall.*|win7|nt||wine"
    "win10|Uninstall.*|win10|nt||wine"
)

# Copies for the search cases. C: holds Wine's own tree besides; ordering within a directory is
# the file system's, so each case has one copy that must win.
lay_out_search() {  # <case name> <case dir>
    local c=$WINEPREFIX/drive_c d=$2/d f=$2/f
    mkdir -p "$f"; ln -s "$f" "$WINEPREFIX/dosdevices/f:"; touch "$f/tnp.exe"; mkdir -p "$2/e/x"; touch "$2/e/x/tnp.exe"
    case $1 in
    search-found)
        mkdir -p "$c/Program Files/Tone Pilot"; touch "$c/Program Files/Tone Pilot/tnp.exe"
        export TNP_EXPECT_FOUND='C:\Program Files\Tone Pilot\' TNP_SEARCH_INSTALL=1 ;;
    search-drives)  # the copy on C: wins over D:; E: and F: hold copies that are never seen
        mkdir -p "$c/cfirst" "$d/dcopy"; touch "$c/cfirst/tnp.exe" "$d/dcopy/tnp.exe"
        export TNP_EXPECT_FOUND='C:\cfirst\' ;;
    search-root)
        touch "$d/TNP.EXE"; mkdir -p "$d/empty"
        export TNP_EXPECT_FOUND='D:\' ;;
    search-names)
        mkdir -p "$d/x/y"; touch "$d/x/y/Tnp.Exe"
        export TNP_EXPECT_FOUND='D:\x\y\' ;;
    search-dir-named)
        mkdir -p "$d/apps/tnp.exe"
        export TNP_EXPECT_FOUND='D:\apps\' ;;
    search-misses)  # near names, a dot directory and the non-fixed drives: nothing to find
        mkdir -p "$d/a/.hidden" "$d/.dot"; touch "$d/a/tnp.exe.old" "$d/a/xtnp.exe" "$d/a/.hidden/tnp.exe" "$d/.dot/tnp.exe"
        export TNP_EXPECT_FOUND= ;;
    search-loops)  # a link back up the tree and a tree deeper than any path buffer, then a copy
        mkdir -p "$d/m"; ln -s .. "$d/m/loop"
        python3 -c "import os,sys; os.makedirs(os.path.join(sys.argv[1], *(['deep' + 'e'*26]*12)))" "$d/m"
        mkdir -p "$d/z"; touch "$d/z/tnp.exe"
        export TNP_EXPECT_FOUND='D:\z\' ;;
    search-long)  # long enough to see Continue wait for the scan
        python3 -c "
import os, sys
for a in range(30):
    for b in range(100):
        os.makedirs(os.path.join(sys.argv[1], 'w%d' % a, 'v%d' % b))" "$d"
        export TNP_EXPECT_FOUND= TNP_EXPECT_LONG_SCAN=1 ;;
    esac
}

# A small volume of its own as the fixed drive G: for the full-drive cases, which fill it up
# (its type is set in the template: the mount manager reads types once, at a prefix's first
# process). Only root may mount; where the mount is refused, the driver is told so and skips
# these cases, which are then shown and counted as not run.
lay_out_full_drive() {  # <case name> <case dir>
    unset TNP_FULL_DRIVE_REFUSED
    [ "$1" = full-drive ] || return 0
    mkdir -p "$2/g"
    if mount -t tmpfs -o size=2m tmpfs "$2/g" 2>"$2/mount.err"; then
        ln -s "$2/g" "$WINEPREFIX/dosdevices/g:"
    else
        echo "e2e $1: mounting a tmpfs volume was refused: $(cat "$2/mount.err")"
        export TNP_FULL_DRIVE_REFUSED=1
    fi
}

unmount_volumes() {
    local volume
    for volume in "$work"/case-*/g; do
        mountpoint -q "$volume" 2>/dev/null && { umount "$volume" || umount -l "$volume"; }
    done
    return 0
}

# The case lines also go to the test run's results, where the runner shows them whatever ctest keeps.
if [ -n "${TNP_RESULTS_DIR:-}" ]; then
    exec > >(tee -a "$TNP_RESULTS_DIR/e2e-cases.txt")
fi
passed=0 failed=0 not_run=0 failures=""
for entry in "${cases[@]}"; do
    IFS='|' read -r name filter version layout user folders <<<"$entry"
    if [ -n "$only" ] && [[ "$name" != $only ]]; then continue; fi
    if [ -z "$only" ] && [[ "$name" == bench-* ]]; then continue; fi
    case_dir=$work/case-$name
    make_case_prefix "$template" "$case_dir" "$build" "$version" "${folders:-wine}"
    if [ "$name" = bench-scan ]; then  # 10 x 10 x 100 = 10,000 directories below the 110 above them
        python3 -c "
import os, sys
for a in range(10):
    for b in range(10):
        for c in range(100):
            os.makedirs(os.path.join(sys.argv[1], 'tree', 'a%d' % a, 'b%d' % b, 'c%d' % c))" "$case_dir/d"
    fi
    unset TNP_EXPECT_FOUND TNP_SEARCH_INSTALL TNP_EXPECT_LONG_SCAN
    lay_out_search "$name" "$case_dir"
    lay_out_full_drive "$name" "$case_dir"
    as=()
    if [ "$user" = unprivileged ] && [ "$(id -u)" = 0 ]; then
        rm -f "$WINEPREFIX/wineserver"  # names root's server directory
        chmod 711 "$work"
        chown -R 65534:65534 "$case_dir"
        as=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$case_dir")
    fi
    start=$(date +%s.%N)
    cd "$case_dir/e"
    TNP_EXPECT_LAYOUT=$layout timeout 300 "${as[@]}" "$WINE" 'E:\e2e_driver.exe' --gtest_filter="$filter" \
        --gtest_output='xml:E:\result.xml' >"$case_dir.log" 2>&1
    rc=$?
    if [ -n "${TNP_RESULTS_DIR:-}" ]; then
        cp "$case_dir/e/result.xml" "$TNP_RESULTS_DIR/e2e-$name.xml" 2>/dev/null ||
            echo "<crashed/>" >"$TNP_RESULTS_DIR/e2e-$name.xml"
    fi
    seconds=$(echo "$(date +%s.%N) - $start" | bc)
    "${as[@]}" wineserver -k 2>/dev/null
    "${as[@]}" wineserver -w 2>/dev/null
    unmount_volumes
    if [ $rc -eq 0 ] && grep -q '\[  SKIPPED \]' "$case_dir.log"; then
        not_run=$((not_run + 1)); printf 'e2e %-14s %-6s NOT RUN\n' "$name" "${version:-default}"
        grep -h '^\[  SKIPPED \] .* ms)' "$case_dir.log" | sed 's/^/    /'
    elif [ $rc -eq 0 ] && grep -q '\[  PASSED  \]' "$case_dir.log"; then
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
echo "e2e: $passed passed, $failed failed$([ $not_run -eq 0 ] || echo ", $not_run not run")"
[ $failed -eq 0 ]
