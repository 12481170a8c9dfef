#!/usr/bin/env bash
# The shipped 32-bit setup.exe as a file: a PE32 program for i386 with the Windows GUI
# subsystem 4.0 and OS version 4.0, importing only functions Windows 95 has and no C runtime.
# Prints its size, the bytes it adds to the packed payload, and its import list.
#
#   check_shipped_exe.sh <setup.exe>
set -uo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -f "$exe" ]; then
    echo "FAIL: $exe does not exist; build the default preset first"
    exit 1
fi
work=$(mktemp -d /tmp/tnp-exe.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
i686-w64-mingw32-objdump -p "$exe" >"$work/headers" || { echo "FAIL: objdump cannot read $exe"; exit 1; }

field() { awk -v f="$1" '$1 == f { print $2; exit }' "$work/headers"; }
grep -q "file format pei-i386" "$work/headers" || fail "not a pei-i386 file"
[ "$(field Magic)" = 010b ] || fail "Magic $(field Magic), not PE32 (010b)"
[ "$(field Subsystem)" = 00000002 ] || fail "Subsystem $(field Subsystem), not Windows GUI"
for f in MajorSubsystemVersion:4 MinorSubsystemVersion:0 MajorOSystemVersion:4 MinorOSystemVersion:0; do
    [ "$(field "${f%%:*}")" = "${f##*:}" ] || fail "${f%%:*} is $(field "${f%%:*}"), not ${f##*:}"
done
machine=$(od -An -tx2 -j $(( $(od -An -tu4 -j60 -N4 "$exe") + 4 )) -N2 "$exe" | tr -d ' ')
[ "$machine" = 014c ] || fail "machine $machine, not i386 (014c)"

# The import list as "DLL function" lines, DLL names in upper case.
awk '/DLL Name:/ { dll = toupper($3) } dll && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll, $3 }' \
    "$work/headers" | sort >"$work/imports"
awk '!/^#/ { for (i = 2; i <= NF; ++i) print toupper($1), $i }' "$here/win95_imports.txt" | sort >"$work/allowed"
[ -s "$work/imports" ] || fail "no imports found"
extra=$(comm -23 "$work/imports" "$work/allowed")
[ -z "$extra" ] || fail "imports beyond the Windows 95 list: $(echo $extra)"
if grep -Eiq '^(MSVCR|MSVCRT|UCRT|API-MS-WIN-CRT|LIBGCC|LIBSTDC|LIBWINPTHREAD)' "$work/imports"; then
    fail "imports a C runtime DLL: $(cut -d' ' -f1 "$work/imports" | sort -u | tr '\n' ' ')"
fi

size=$(stat -c %s "$exe")
payload=$(wrestool -l "$exe" | awk -F'size=' "/--type='ZPK'/ { sub(/\\]/, \"\", \$2); s += \$2 } END { print s + 0 }")
[ "$payload" -gt 0 ] || fail "no ZPK resources found"
echo "setup.exe: $size bytes; ZPK resources $payload bytes; stub overhead $((size - payload)) bytes"
echo "imports:"
awk '{ a[$1] = a[$1] " " $2 } END { for (d in a) print "  " d ":" a[d] }' "$work/imports" | sort
[ $failures -eq 0 ] && echo "shipped exe: all checks passed"
exit $((failures > 0))
