# Which Wine runs a Windows program of this project (sourced). The program's own machine type
# decides: an i686 program runs through the 32-bit loader in a 32-bit prefix, which looks to it
# like the 32-bit Windows it is made for (no Wow6432Node, no SysWOW64, "C:\Program Files");
# an x86_64 one (the twin, for machines that run no 32-bit code) through wine64.

# "i686" or "x86_64" from the PE header's machine field.
pe_arch() {  # <exe>
    local pe machine
    pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    machine=$(od -An -tx2 -j $((pe + 4)) -N2 "$1" | tr -d ' ')
    case $machine in 014c) echo i686 ;; 8664) echo x86_64 ;; *) echo "unknown" ;; esac
}

use_wine_for() {  # <exe>; exports WINE and WINEARCH for it
    if [ "$(pe_arch "$1")" = i686 ]; then
        export WINE=/usr/lib/wine/wine WINEARCH=win32
    else
        export WINE=/usr/lib/wine/wine64 WINEARCH=win64
    fi
}

make_wine_prefix() {  # <dir>; a new prefix for the Wine chosen by use_wine_for
    WINEPREFIX=$1 WINEDEBUG=-all "$WINE" wineboot -i >/dev/null 2>&1
    local rc=$?
    WINEPREFIX=$1 wineserver -w 2>/dev/null
    return $rc
}

# True when this machine runs 32-bit Windows code: a prefix is made at <dir> by the 32-bit
# loader and a tiny i686 program started in it must exit with its own code. Never assumed
# either way; on a machine without 32-bit code the prefix is removed again.
runs_32bit_code() {  # <dir> <i686 probe.exe>
    local saved_wine=${WINE:-} saved_arch=${WINEARCH:-} rc
    use_wine_for "$2"
    make_wine_prefix "$1" &&
        WINEPREFIX=$1 WINEDEBUG=-all timeout 120 "$WINE" "$2" >/dev/null 2>&1
    rc=$?
    WINEPREFIX=$1 wineserver -k 2>/dev/null
    export WINE=$saved_wine WINEARCH=$saved_arch
    [ $rc -eq 42 ] && return 0
    rm -rf "$1"
    return 1
}
