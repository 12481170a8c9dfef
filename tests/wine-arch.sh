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
    mkdir -p "$(dirname "$1")"  # Wine makes the prefix's own folder only
    WINEPREFIX=$1 WINEDEBUG=-all "$WINE" wineboot -i >/dev/null 2>&1
    local rc=$?
    WINEPREFIX=$1 wineserver -w 2>/dev/null
    return $rc
}

# True when this machine runs 32-bit Windows code: a prefix is made at <dir> by the 32-bit
# loader and a tiny i686 program started in it must exit with its own code. Never assumed
# either way; on a machine without 32-bit code the prefix is removed again. A subshell, so the
# caller's Wine stays as it was.
runs_32bit_code() (  # <dir> <i686 probe.exe>
    use_wine_for "$2"
    make_wine_prefix "$1" &&
        WINEPREFIX=$1 WINEDEBUG=-all timeout 120 "$WINE" "$2" >/dev/null 2>&1
    rc=$?
    WINEPREFIX=$1 wineserver -k 2>/dev/null
    [ $rc -eq 42 ] && exit 0
    rm -rf "$1"
    exit 1
)

# The build whose setup.exe this machine runs, with a new prefix for it at <dir>: the shipped
# i686 exe where 32-bit code runs, else the x86_64 twin, built here only then. Sets TNP_BUILD
# (build or build-tests) and TNP_UNDER_TEST (how to name the exe), and the Wine for it.
choose_build() {  # <prefix dir>
    if runs_32bit_code "$1" build/tests/arch_probe.exe; then
        TNP_BUILD=build TNP_UNDER_TEST="build/setup.exe (i686, the shipped bytes)"
    else
        cmake --preset tests >/dev/null && cmake --build --preset tests -j2 || return 1
        TNP_BUILD=build-tests
        # A mirror mid-sync can leave the 32-bit Wine uninstalled on a machine that runs such code.
        export TNP_NO_I686_REASON="this machine runs no 32-bit code"
        [ -x /usr/lib/wine/wine ] || TNP_NO_I686_REASON="the 32-bit Wine (wine32:i386) is not installed"
        TNP_UNDER_TEST="build-tests/setup.exe (x86_64 twin: $TNP_NO_I686_REASON)"
        use_wine_for build-tests/setup.exe
        make_wine_prefix "$1"
    fi
    use_wine_for "$TNP_BUILD/setup.exe"
}

# A prefix at <dir>: a copy of $TNP_WINE_TEMPLATE where the run made one, else a new one.
prefix_from_template() {  # <dir>
    if [ -n "${TNP_WINE_TEMPLATE:-}" ] && [ -d "$TNP_WINE_TEMPLATE" ]; then
        cp -a "$TNP_WINE_TEMPLATE" "$1"
    else
        make_wine_prefix "$1"
    fi
}
