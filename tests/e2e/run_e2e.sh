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
XVFB_PID= XVFB_PIDS=
trap 'unmount_volumes; rm -rf "$work"; kill $XVFB_PID $XVFB_PIDS 2>/dev/null' EXIT
start_xvfb_unless_display
template=$work/template
make_template "$template"

# name | gtest filter | Windows version ("" = Wine's default) | layout the version must give |
# "unprivileged" to run as a user who, unlike root, can't write read-only files | the Start-menu
# and desktop folders laid out (prefix.sh; "" = Wine's own) | locale of the case's Wine
# processes, which picks their ANSI code page ("" = the caller's) | "wow64" for 64-bit Windows,
# where the i686 setup.exe runs under WoW64 ("" = the Windows the build's setup.exe is made for)
cases=(
    "defaults|Install.DefaultsWithDesktop||nt"
    "no-desktop|Install.DesktopCleared||nt"
    "typed|Install.TypedDirectoriesWithAndWithoutBackslash||nt"
    "renamed|Install.ARenamedCopy*||nt"
    "browse|Browse.*-*.InCodePage*||nt"
    "second-run|SecondRun.*-*.InCodePage*||nt"
    "bad-directory|BadInputInstall.UncreatableDirectoryKeepsTheDialogForAnotherTry||nt"
    "blocked-file|BadInputInstall.UnwritablePayloadFileStopsAndCancelRemovesNothing||nt"
    "full-drive|BadInputInstall.*FullDrive*||nt"
    "full-drive-95|BadInputInstall.*FullDrive*|win98|95||95"
    "running-tnp|BadInputInstall.ARunningTonePilot*||nt"
    "killed-runs|BadInputInstall.WhatAKilledRunLeft*||nt"
    "killed-runs-95|BadInputInstall.WhatAKilledRunLeft*|win98|95||95"
    "spoilt-payload|BadInputPayload.*||nt"
    "bad-entries|BadInputUninstallEntry.*||nt"
    "bad-paths|BadInputInstallPath.*-*.InCodePage*||nt"
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
    "search-emptied|Search.*||nt"
    "search-unspelt|Search.*||nt|||C.UTF-8"
    "search-open|Search.*||nt"
    "search-open-above|Search.*||nt"
    "search-best-fit|Search.*||nt|||C.UTF-8"
)
# The same steps on East-Asian Windows, in the Japanese (932) and Traditional Chinese (950) code
# pages, with names whose last character has 0x5C as its second byte, in UTF-8 as the drive
# folders hold them: a typed folder, three levels, a folder to browse to, an earlier folder; and
# a text longer in bytes than the install directory holds.
declare -A code_page_names=([932]="ソ 新ソフト 予定表 十 表 能" [950]="許 新功能 加蓋章 功 蓋 許功")
declare -A code_page_locales=([932]=ja_JP.UTF-8 [950]=zh_TW.UTF-8)
for cp in 932 950; do
    cases+=("cp$cp-typed|Install.InCodePageATypedFolder*||nt|||${code_page_locales[$cp]}"
            "cp$cp-levels|Install.InCodePageEachLevel*||nt|||${code_page_locales[$cp]}"
            "cp$cp-browse|Browse.InCodePage*||nt|||${code_page_locales[$cp]}"
            "cp$cp-entry|SecondRun.InCodePage*||nt|||${code_page_locales[$cp]}"
            "cp$cp-long|BadInputInstallPath.InCodePage*||nt|||${code_page_locales[$cp]}")
done
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
    "win10|Uninstall*|win10|nt||wine"
    "win7-64|Uninstall*|win7|nt||wine||wow64"
    "win10-64|Uninstall*|win10|nt||wine||wow64"
    "silent-10|Silent.*|win10|nt||wine"
    "silent-98|Silent.*|win98|95||95"
)

# 64-bit Windows for the i686 setup.exe: a prefix made by the 64-bit loader, in which the 32-bit
# loader runs setup.exe and the driver under WoW64. Made when a row first needs it.
# Made beside the first cases, which leave the cores mostly idle; waited for where needed.
if [ "$(pe_arch "${TNP_SETUP_EXE:-$build/setup.exe}")" = i686 ]; then
    for entry in "${cases[@]}"; do
        [[ $entry == *'|wow64' && ( -z "$only" || ${entry%%|*} == $only ) ]] || continue
        (export WINE=/usr/lib/wine/wine64 WINEARCH=win64; unset TNP_WINE_TEMPLATE; make_template "$work/template64"
         touch "$work/template64.made") &
        break
    done
fi

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
    search-emptied)  # what Windows empties, at C:'s root only (walked before D:), in any case: D:'s copy wins
        local copies=("$c/Windows.old/Program Files/Tone Pilot" "$c/\$Recycle.Bin/S-1-5-21/\$R1" "$c/recycled" "$c/RECYCLER/x"
                       "$d/Windows.older/\$Recycle.Bin/Windows.old") f
        mkdir -p "${copies[@]}"; for f in "${copies[@]}"; do touch "$f/tnp.exe"; done
        export TNP_EXPECT_FOUND='D:\Windows.older\$Recycle.Bin\Windows.old\' ;;
    search-unspelt)  # a name code page 1252 can't spell: entered, shown and installed into by Wine's short name
        mkdir -p "$d/Программы/Tone Pilot"; touch "$d/Программы/Tone Pilot/tnp.exe"
        export TNP_EXPECT_FOUND='D:\____~20A\Tone Pilot\' TNP_SEARCH_INSTALL=1 ;;
    search-open)  # a copy in a folder every user may write to, as is a folder in it
        mkdir -p "$c/TNP/plugins"; touch "$c/TNP/tnp.exe"; chmod 0777 "$c/TNP" "$c/TNP/plugins"
        export TNP_EXPECT_FOUND='C:\TNP\' TNP_SEARCH_INSTALL=1 ;;
    search-open-above)  # a copy whose folder every user may rename: refused, then the default installs
        mkdir -p "$d/Games/TNP"; touch "$d/Games/TNP/tnp.exe"; chmod 0777 "$d/Games"
        export TNP_EXPECT_FOUND='D:\Games\TNP\' TNP_SEARCH_INSTALL=1 TNP_EXPECT_REFUSED='D:\Games' ;;
    search-best-fit)  # a name 1252 spells by best fit ("Lódz"), which leads nowhere: entered by its short name
        mkdir -p "$d/Łódź/Tone Pilot"; touch "$d/Łódź/Tone Pilot/tnp.exe"
        export TNP_EXPECT_FOUND='D:\__D_~1WW\Tone Pilot\' TNP_SEARCH_INSTALL=1 ;;
    search-loops)  # a link back up the tree and a tree deeper than any path buffer, then a copy
        mkdir -p "$d/m"; ln -s .. "$d/m/loop"
        python3 -c "import os,sys; os.makedirs(os.path.join(sys.argv[1], *(['deep' + 'e'*26]*12)))" "$d/m"
        mkdir -p "$d/z"; touch "$d/z/tnp.exe"
        export TNP_EXPECT_FOUND='D:\z\' ;;
    search-long)  # long enough to see Continue wait for the scan, and the system ask it all along
        python3 -c "
import os, sys
for a in range(90):
    for b in range(100):
        os.makedirs(os.path.join(sys.argv[1], 'w%d' % a, 'v%d' % b))" "$d"
        export TNP_EXPECT_FOUND= TNP_EXPECT_LONG_SCAN=1 ;;
    esac
}

# The driver gets the names as bytes of the case's code page, converted here rather than left to
# how Wine passes on text; the folder to browse to is made on the Linux side.
lay_out_code_page() {  # <case name> <case dir>
    unset TNP_CODE_PAGE TNP_CODE_PAGE_NAMES
    [[ $1 == cp* ]] || return 0
    local cp=${1%%-*}; cp=${cp#cp}
    local names=(${code_page_names[$cp]}) hex=() name
    for name in "${names[@]}"; do hex+=("$(printf %s "$name" | iconv -f UTF-8 -t "CP$cp" | xxd -p | tr -d '\n')"); done
    export TNP_CODE_PAGE=$cp TNP_CODE_PAGE_NAMES="${hex[*]}"
    if [[ $1 == *-browse ]]; then mkdir "$2/d/${names[4]}"; fi
}

# What the case left on D:, read on the Linux side, where the names are UTF-8: the folders, one
# line each, and the folders holding files. Empty when it matches the case; else the difference.
lines() { [ -z "$1" ] || echo "$1"; }
check_code_page_tree() {  # <case name> <case dir>
    [[ $1 == cp* ]] || return 0
    local cp=${1%%-*}; cp=${cp#cp}
    local n=(${code_page_names[$cp]}) folders holders
    case $1 in
    *-typed)  folders="./${n[0]}" holders="" ;;  # uninstalled again
    *-levels) folders="./${n[1]}"$'\n'"./${n[1]}/${n[2]}"$'\n'"./${n[1]}/${n[2]}/${n[3]}" holders="./${n[1]}/${n[2]}/${n[3]}" ;;
    *-browse) folders="./${n[4]}" holders="" ;;
    *-entry)  folders="./${n[5]}" holders="./${n[5]}" ;;
    *-long)   folders="" holders="" ;;
    esac
    diff <(lines "$folders") <(cd "$2/d" && find . -mindepth 1 -type d | sort) | sed 's/^/    folders on D: /'
    diff <(lines "$holders") <(cd "$2/d" && find . -type f | sed 's|/[^/]*$||' | sort -u) | sed 's/^/    files in /'
}

# An open folder closed to others with all it holds (Everyone's write is the others' write bit),
# the default as is, each level setup makes on D: made closed (no Everyone entry: no bits for others).
check_folder_modes() {  # <case name> <case dir>
    local c=$WINEPREFIX/drive_c
    [[ $1 != *-levels ]] || (cd "$2/d" && find . -mindepth 1 -type d -perm /007 | sed 's/^/    made open to others: /')
    [ "$1" != search-open ] || (( (0$(stat -c %a "$c/TNP") & 2) == 0 )) || echo "    C:\\TNP is still writable for others"
    [ "$1" != search-open ] || find "$c/TNP" -mindepth 1 -perm /002 | sed 's/^/    still writable for others: /'
    [ "$1" != defaults ] || [ "$(stat -c %a "$c/Program Files/Tone Pilot")" = "$(stat -c %a "$c/Program Files")" ] ||
        echo "    the default folder's mode is now $(stat -c %a "$c/Program Files/Tone Pilot")"
}

# A small volume of its own as the fixed drive G: for the full-drive cases, which fill it up
# (its type is set in the template: the mount manager reads types once, at a prefix's first
# process). Its root lets others make nothing in it, as an NTFS drive's lets no user but the
# administrators delete what it holds (tmpfs would make it 1777, which Wine reads as Everyone's).
# Only root may mount; where the mount is refused, the driver is told so and skips these cases,
# which are then shown and counted as not run.
lay_out_full_drive() {  # <case name> <case dir>
    unset TNP_FULL_DRIVE_REFUSED
    [[ $1 == full-drive* ]] || return 0
    mkdir -p "$2/g"
    if mount -t tmpfs -o size=2m,mode=0755 tmpfs "$2/g" 2>"$2/mount.err"; then
        ln -s "$2/g" "$WINEPREFIX/dosdevices/g:"
    else
        echo "e2e $1: mounting a tmpfs volume was refused: $(cat "$2/mount.err")"
        export TNP_FULL_DRIVE_REFUSED=1
    fi
}

unmount_volumes() {  # [case dir]: that case's volume, else every case's
    local volume dirs=("$@")
    [ $# -gt 0 ] || dirs=("$work"/case-*)
    for volume in "${dirs[@]/%//g}"; do
        mountpoint -q "$volume" 2>/dev/null && { umount "$volume" || umount -l "$volume"; }
    done
    return 0
}

# The case lines also go to the test run's results, where the runner shows them whatever ctest keeps.
if [ -n "${TNP_RESULTS_DIR:-}" ]; then
    exec > >(tee -a "$TNP_RESULTS_DIR/e2e-cases.txt")
fi
# The cases mostly wait on Wine and X, so two runners take every second chosen case each, with
# an X server of their own; one runs them all where timings are taken (TNP_E2E_WORKERS=1).
workers=${TNP_E2E_WORKERS:-2} worker_pids=()
build_arch=$WINEARCH
run_cases() {  # <runner>
chosen=-1 passed=0 failed=0 not_run=0 failures=""
for entry in "${cases[@]}"; do
    IFS='|' read -r name filter version layout user folders locale machine <<<"$entry"
    export WINEARCH=$build_arch
    if [ -n "$only" ] && [[ "$name" != $only ]]; then continue; fi
    if [ -z "$only" ] && [[ "$name" == bench-* ]]; then continue; fi
    chosen=$((chosen + 1)); [ $((chosen % workers)) -eq "$1" ] || continue
    case_dir=$work/case-$name
    row_template=$template
    if [ "$machine" = wow64 ]; then
        if [ "$(pe_arch "${TNP_SETUP_EXE:-$build/setup.exe}")" != i686 ]; then
            not_run=$((not_run + 1)); printf 'e2e %-14s %-6s NOT RUN\n' "$name" "$version"
            echo "    the i686 setup.exe under WoW64: ${TNP_NO_I686_REASON:-this machine runs no 32-bit code}"
            continue
        fi
        while [ ! -e "$work/template64.made" ]; do sleep 1; done
        row_template=$work/template64
        export WINEARCH=win64  # the prefix's own kind, in which the 32-bit loader runs setup.exe
    fi
    make_case_prefix "$row_template" "$case_dir" "$build" "$version" "${folders:-wine}"
    [ "$machine" != wow64 ] || export TNP_EXPECT_PROGRAM_FILES='C:\Program Files (x86)'
    if [ "$name" = bench-scan ]; then  # 10 x 10 x 100 = 10,000 directories below the 110 above them
        python3 -c "
import os, sys
for a in range(10):
    for b in range(10):
        for c in range(100):
            os.makedirs(os.path.join(sys.argv[1], 'tree', 'a%d' % a, 'b%d' % b, 'c%d' % c))" "$case_dir/d"
    fi
    unset TNP_EXPECT_FOUND TNP_SEARCH_INSTALL TNP_EXPECT_LONG_SCAN TNP_EXPECT_REFUSED
    lay_out_search "$name" "$case_dir"
    lay_out_code_page "$name" "$case_dir"
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
    in_locale=()
    [ -z "$locale" ] || in_locale=(env LC_ALL="$locale")
    TNP_EXPECT_LAYOUT=$layout TNP_EXPECT_WINDOWS=$version timeout 300 "${as[@]}" "${in_locale[@]}" "$WINE" 'E:\e2e_driver.exe' \
        --gtest_filter="$filter" --gtest_output='xml:E:\result.xml' >"$case_dir.log" 2>&1
    rc=$?
    if [ -n "${TNP_RESULTS_DIR:-}" ]; then
        cp "$case_dir/e/result.xml" "$TNP_RESULTS_DIR/e2e-$name.xml" 2>/dev/null ||
            echo "<crashed/>" >"$TNP_RESULTS_DIR/e2e-$name.xml"
    fi
    seconds=$(echo "$(date +%s.%N) - $start" | bc)
    "${as[@]}" wineserver -k 2>/dev/null
    "${as[@]}" wineserver -w 2>/dev/null
    unmount_volumes "$case_dir"
    tree=$(check_code_page_tree "$name" "$case_dir"; check_folder_modes "$name" "$case_dir")
    if [ $rc -eq 0 ] && grep -q '\[  SKIPPED \]' "$case_dir.log"; then
        not_run=$((not_run + 1)); printf 'e2e %-14s %-6s NOT RUN\n' "$name" "${version:-default}"
        grep -h '^\[  SKIPPED \] .* ms)' "$case_dir.log" | sed 's/^/    /'
    elif [ $rc -eq 0 ] && grep -q '\[  PASSED  \]' "$case_dir.log" && [ -z "$tree" ]; then
        passed=$((passed + 1)); printf 'e2e %-14s %-6s passed (%.1f s)\n' "$name" "${version:-default}" "$seconds"
        grep -h '^FIGURE' "$case_dir.log" || true
    else
        failed=$((failed + 1)); failures="$failures $name"
        printf 'e2e %-14s %-6s FAILED (rc %s)\n' "$name" "${version:-default}" "$rc"
        grep -vE '^\[ *(RUN|OK) *\]' "$case_dir.log" | head -40 | sed 's/^/    /'
        [ -z "$tree" ] || echo "$tree"
    fi
    cd "$work"
    rm -rf "$case_dir"
done
echo "e2e: $passed passed, $failed failed, $not_run not run"
}
for ((w = 0; w < workers; ++w)); do
    if [ "$workers" -gt 1 ]; then
        (unset DISPLAY; start_xvfb_unless_display; echo "$DISPLAY $XVFB_PID") >"$work/display-$w"
        read -r display pid <"$work/display-$w"
        XVFB_PIDS="$XVFB_PIDS $pid"
    fi
    (export DISPLAY=${display:-$DISPLAY}; run_cases $w) >"$work/worker-$w.log" 2>&1 &
    worker_pids+=($!)
done
wait "${worker_pids[@]}"
cat "$work"/worker-*.log | grep -v '^e2e: '
read -r passed failed not_run < <(cat "$work"/worker-*.log | awk '/^e2e: / { p += $2; f += $4; n += $6 } END { print p, f, n }')
echo "e2e: $passed passed, $failed failed$([ "$not_run" -eq 0 ] || echo ", $not_run not run")"
[ $failed -eq 0 ]
