# Throw-away Wine prefixes for the end-to-end runs (sourced). A template is made once; each case
# gets a copy with setup.exe, the driver and the packed and unpacked payload on a CD-ROM drive E:
# (which the search never lists), an empty fixed drive D:, and no z: drive, so that the search
# walks only the prefix's own disks and never the host. The Wine is the one for the build's
# setup.exe (wine-arch.sh), and the template starts as a copy of $TNP_WINE_TEMPLATE when the
# test run made one.
. "$(dirname "${BASH_SOURCE[0]}")/../wine-arch.sh"
# Non-ASCII arguments (folder names) reach Wine's programs intact only under a UTF-8 locale.
export LC_ALL=C.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winealsa.drv,winepulse.drv,wineoss.drv="

make_template() {  # <dir>
    prefix_from_template "$1"
    WINEPREFIX=$1 "$WINE" reg add 'HKLM\Software\Wine\Drives' /v d: /d hd /f >/dev/null 2>&1
    WINEPREFIX=$1 "$WINE" reg add 'HKLM\Software\Wine\Drives' /v e: /d cdrom /f >/dev/null 2>&1
    WINEPREFIX=$1 "$WINE" reg add 'HKLM\Software\Wine\Drives' /v f: /d network /f >/dev/null 2>&1
    WINEPREFIX=$1 "$WINE" reg add 'HKLM\Software\Wine\Drives' /v g: /d hd /f >/dev/null 2>&1
    WINEPREFIX=$1 wineserver -w
    # This Wine doesn't find its own fonts in its data directory, only in the Windows folder: without
    # them a close box draws as an "r" (no Marlett) and captions fall back to a host font.
    cp /usr/share/wine/fonts/* "$1/drive_c/windows/Fonts/"
}

make_case_prefix() {  # <template> <case dir> <build dir> [Windows version] [shell folders]; sets WINEPREFIX
    local template=$1 case_dir=$2 build=$3 version=${4:-} folders=${5:-wine}
    export WINEPREFIX=$case_dir/pfx
    mkdir -p "$case_dir/d" "$case_dir/e/expect" "$case_dir/e/zpk"
    cp -a "$template" "$WINEPREFIX"
    cp "${TNP_SETUP_EXE:-$build/setup.exe}" "$case_dir/e/setup.exe"
    cp "$build"/tests/e2e/{e2e_driver,floor_dialog,bare_shell_work,launch,launch64}.exe "$case_dir/e/"
    cp "$build"/payload-files/* "$case_dir/e/expect/"
    cp "$build"/payload/*.zpk "$case_dir/e/zpk/"
    mkdir -p "$case_dir/e/planted"  # another copy among DLLs of system names, as in a download folder
    cp "$case_dir/e/setup.exe" "$build"/tests/e2e/planted/*.dll "$case_dir/e/planted/"
    rm -f "$WINEPREFIX/dosdevices/z:"
    ln -s "$case_dir/d" "$WINEPREFIX/dosdevices/d:"
    ln -s "$case_dir/e" "$WINEPREFIX/dosdevices/e:"
    if [ -n "$version" ]; then
        "$WINE" reg add 'HKCU\Software\Wine\AppDefaults\setup.exe' /v Version /d "$version" /f >/dev/null 2>&1
    fi
    lay_out_tool_directory "$version"
    lay_out_shell_folders "$folders"
}

# The CD Player that Windows 95 to 2000 keep in the tool directory; XP and later have none, nor
# has Wine. Exports TNP_EXPECT_CDPLAYER where there is one.
lay_out_tool_directory() {  # <Windows version>
    unset TNP_EXPECT_CDPLAYER
    case $1 in
    win95|win98|winme) touch "$WINEPREFIX/drive_c/windows/cdplayer.exe" ;;
    nt40|win2k) touch "$WINEPREFIX/drive_c/windows/system32/cdplayer.exe" ;;
    *) return 0 ;;
    esac
    export TNP_EXPECT_CDPLAYER=1
}

# The Start-menu and desktop folders a Windows keeps, laid out in the prefix's registry and on
# disk before any program asks the shell for them. Exports where the links must go
# (TNP_EXPECT_PROGRAMS and TNP_EXPECT_DESKTOP, the shell's Programs and Desktop folders) and the
# directory ids tnp.inf must give them (TNP_EXPECT_DIRIDS), and the program folder the system
# names (TNP_EXPECT_PROGRAM_FILES, as setup proposes it where that is the English one).
#   95    Windows 95/98/ME: the Windows directory's own Start Menu and Desktop; no common folders
#   de98  a German Windows 98: Startmenü\Programme
#   nt4   Windows NT 4: the common profile under the Windows directory
#   2000  Windows 2000 and XP: the common profile under C:\Documents and Settings
#   wine  Wine's own, as Vista and later lay them out
lay_out_shell_folders() {  # <layout>
    local user common_programs= common_desktop= programs desktop program_files=
    user=$(id -un)
    export TNP_EXPECT_PROGRAM_FILES='c:\Program Files'
    case $1 in
    95)   programs='C:\windows\Start Menu\Programs' desktop='C:\windows\Desktop' ;;
    de98) programs='C:\windows\Startmenü\Programme' desktop='C:\windows\Desktop' program_files='C:\Programme' ;;
    nt4)  common_programs='C:\windows\Profiles\All Users\Start Menu\Programs'
          common_desktop='C:\windows\Profiles\All Users\Desktop'
          programs="C:\windows\Profiles\\$user\Start Menu\Programs" desktop="C:\windows\Profiles\\$user\Desktop" ;;
    2000) common_programs='C:\Documents and Settings\All Users\Start Menu\Programs'
          common_desktop='C:\Documents and Settings\All Users\Desktop'
          programs="C:\Documents and Settings\\$user\Start Menu\Programs"
          desktop="C:\Documents and Settings\\$user\Desktop" ;;
    wine) export TNP_EXPECT_PROGRAMS='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
          export TNP_EXPECT_DESKTOP='C:\users\Public\Desktop' TNP_EXPECT_DIRIDS='16407 16409'
          return ;;
    esac
    if [ -n "$program_files" ]; then
        "$WINE" reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProgramFilesDir /d "$program_files" /f >/dev/null 2>&1
        export TNP_EXPECT_PROGRAM_FILES=$program_files
    fi
    local folder
    for folder in "$programs" "$desktop" "$common_programs" "$common_desktop" "$program_files"; do
        [ -n "$folder" ] || continue
        folder=${folder#C:\\}
        mkdir -p "$WINEPREFIX/drive_c/${folder//\\//}"
    done
    if [ -z "$common_programs" ]; then
        # Where the shell has no common folders, Wine's would have to be missing: named, never made.
        common_programs='C:\no common folder\Programs' common_desktop='C:\no common folder\Desktop'
        export TNP_EXPECT_PROGRAMS=$programs TNP_EXPECT_DESKTOP=$desktop
    else
        export TNP_EXPECT_PROGRAMS=$common_programs TNP_EXPECT_DESKTOP=$common_desktop
    fi
    case $TNP_EXPECT_PROGRAMS in 'C:\windows\'*) TNP_EXPECT_DIRIDS='10 10' ;; *) TNP_EXPECT_DIRIDS='16407 16409' ;; esac
    export TNP_EXPECT_DIRIDS
    local key='Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
    "$WINE" reg add "HKLM\\$key" /v 'Common Programs' /t REG_EXPAND_SZ /d "$common_programs" /f >/dev/null 2>&1
    "$WINE" reg add "HKLM\\$key" /v 'Common Desktop' /t REG_EXPAND_SZ /d "$common_desktop" /f >/dev/null 2>&1
    "$WINE" reg add "HKCU\\$key" /v Programs /t REG_EXPAND_SZ /d "$programs" /f >/dev/null 2>&1
    "$WINE" reg add "HKCU\\$key" /v Desktop /t REG_EXPAND_SZ /d "$desktop" /f >/dev/null 2>&1
}

start_xvfb_unless_display() {  # starts an X server of our own when there is no display
    [ -n "${DISPLAY:-}" ] && return 0
    local n
    for n in $(seq 90 130); do [ -e /tmp/.X11-unix/X$n ] || break; done
    Xvfb ":$n" -screen 0 1024x768x24 >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    sleep 1
}
