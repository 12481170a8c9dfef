#!/usr/bin/env bash
# cppcheck and clang-tidy over the shipped sources; any finding fails. C-style casts are the
# Win32 idiom here (handles, resource bytes, registry buffers) and are not reported.
#
#   static_checks.sh <the build's folder of made headers (the product version)>
set -u
made=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
dirs=(setup payload search install shell)
status=0
cppcheck -q --enable=warning,style,performance,portability --error-exitcode=1 --platform=win32A \
    --std=c++17 --inline-suppr --suppress=missingIncludeSystem --suppress=cstyleCast \
    -I . -I resources -I "$made" "${dirs[@]}" || status=1
sources=$(find "${dirs[@]}" -name '*.cpp' | sort)
tidy=$(clang-tidy -quiet --checks='-*,bugprone-*,clang-analyzer-*,-bugprone-easily-swappable-parameters,-bugprone-reserved-identifier' \
    $sources -- --target=i686-w64-windows-gnu -isystem /usr/share/mingw-w64/include -I. -Iresources -I"$made" \
    -DWIN32_LEAN_AND_MEAN -DWINVER=0x0400 -D_WIN32_WINNT=0x0400 -D_WIN32_IE=0x0400 -fno-exceptions 2>&1 |
    grep -E 'warning:|error:' || true)
if [ -n "$tidy" ]; then
    echo "$tidy"
    status=1
fi
[ $status -eq 0 ] && echo "static checks: cppcheck and clang-tidy clean over $(echo $sources | wc -w) files"
exit $status
