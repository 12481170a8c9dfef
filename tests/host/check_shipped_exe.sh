#!/usr/bin/env bash
# The shipped 32-bit setup.exe as a file: a PE32 program for i386 with the Windows GUI
# subsystem 4.0 and OS version 4.0, importing only functions Windows 95 has and no C runtime,
# with no instruction the 386 lacks. Prints its size, the bytes it adds to the packed payload,
# its import list and any instructions newer than the 386, counted by kind.
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

# Every instruction of every code section must be one the 386 has: Windows 95 runs on a 386DX,
# NT 4 on a 486, and most Windows 95 machines had a Pentium or a Pentium MMX. An instruction
# they lack is an invalid-opcode fault there, which Wine on a modern processor never shows.
# Decided on the opcode bytes, not on objdump's names. Of the two-byte opcodes (0F xx) only the
# 386's pass, which refuses CMOV, the multi-byte NOP (0F 1F), BSWAP, CMPXCHG and CMPXCHG8B,
# XADD, CPUID, RDTSC, SYSENTER, the fences, MMX and SSE; of the x87 ones FCMOV, F(U)COMI(P) and
# FISTTP are refused; a vector register in an operand catches the VEX forms.
# The only data in a code section is the linker's two constructor lists at the end of .text
# (-1, 0, -1, 0: setup.exe has no constructors) and padding (NOPs or zeros); jump tables go to
# .rdata. Those bytes decode as (bad), incl, add and nop, none of them refused, so every hit is
# an instruction.
i686-w64-mingw32-objdump -d --insn-width=16 "$exe" >"$work/code" || fail "objdump cannot disassemble $exe"
awk -F'\t' '
    function digit(s, i) { return index("0123456789abcdef", substr(s, i, 1)) - 1 }
    function hex(s) { return digit(s, 1) * 16 + digit(s, 2) }
    BEGIN {
        # UD2 (0F 0B) is there to raise the invalid-opcode fault, which the 386 raises for it too.
        n = split("00 01 02 03 06 0b 20 21 22 23 24 26 a0 a1 a3 a4 a5 a8 a9 ab ac ad af " \
                  "b2 b3 b4 b5 b6 b7 ba bb bc bd be bf", list, " ")
        for (i = 1; i <= n; ++i) the386[list[i]] = 1
        for (i = 128; i < 160; ++i) the386[sprintf("%02x", i)] = 1  # Jcc near, SETcc
    }
    /^Disassembly of section / { sections = sections " " substr($0, 24, length($0) - 24) }
    $1 ~ /^ *[0-9a-f]+:$/ && NF >= 3 {
        n = split($2, b, " ")
        for (i = 1; i < n && b[i] ~ /^(26|2e|36|3e|64|65|66|67|f0|f2|f3)$/; ++i) {}
        op = b[i]
        ++count
        if (op == "0f") {
            m = hex(b[i + 2]); reg = int(m / 8) % 8
            # 0F 00 and 0F 01 hold 286 and 386 system instructions beside later ones (INVLPG,
            # RDTSCP, MONITOR, XGETBV, ...) told apart by the ModRM byte.
            refused = !(b[i + 1] in the386) || (b[i + 1] == "00" && reg > 5) ||
                      (b[i + 1] == "01" && (reg == 5 || reg == 7 || (m >= 192 && reg < 4)))
        } else {
            m = hex(b[i + 1]); reg = int(m / 8) % 8
            refused = ((op == "da" || op == "db") && m >= 192 && m < 224) ||
                      ((op == "db" || op == "df") && m >= 232 && m < 248) ||
                      ((op == "db" || op == "dd" || op == "df") && m < 192 && reg == 1)
        }
        if (refused || $3 ~ /%[xyz]?mm[0-9]/) {
            split($3, word, " ")
            if (!(word[1] in kinds)) { at[word[1]] = $1; gsub(/[ :]/, "", at[word[1]]) }
            ++kinds[word[1]]; ++newer
        }
    }
    END {
        printf "code:%s, %d instructions", sections, count
        if (!newer) { print ", all of them the 386\047s"; exit count == 0 }
        printf ", %d newer than the 386:", newer
        for (k in kinds) printf " %s %d (first at %s)", k, kinds[k], at[k]
        print ""
        exit 1
    }' "$work/code" || fail "instructions the 386 lacks, or no code to disassemble"

size=$(stat -c %s "$exe")
payload=$(wrestool -l "$exe" | awk -F'size=' "/--type='ZPK'/ { sub(/\\]/, \"\", \$2); s += \$2 } END { print s + 0 }")
[ "$payload" -gt 0 ] || fail "no ZPK resources found"
echo "setup.exe: $size bytes; ZPK resources $payload bytes; stub overhead $((size - payload)) bytes"
echo "imports:"
awk '{ a[$1] = a[$1] " " $2 } END { for (d in a) print "  " d ":" a[d] }' "$work/imports" | sort
[ $failures -eq 0 ] && echo "shipped exe: all checks passed"
exit $((failures > 0))
