#!/usr/bin/env bash
# Two clean builds of the shipped setup.exe, in two different folders, must give the same bytes.
#
#   check_reproducible.sh            (from anywhere; about a minute on two cores)
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/tnp-repro.XXXXXX)
trap 'rm -rf "$work"' EXIT
for n in 1 2; do
    cmake -S "$top" -B "$work/build$n" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" \
          -DCMAKE_BUILD_TYPE=MinSizeRel >"$work/configure$n.log" 2>&1 \
        || { cat "$work/configure$n.log"; echo "FAIL: configure $n"; exit 1; }
    cmake --build "$work/build$n" --target setup -j2 >"$work/build$n.log" 2>&1 \
        || { tail -30 "$work/build$n.log"; echo "FAIL: build $n"; exit 1; }
done
if cmp "$work/build1/setup.exe" "$work/build2/setup.exe"; then
    echo "reproducible: two clean builds give the same setup.exe ($(stat -c %s "$work/build1/setup.exe") bytes," \
         "sha256 $(sha256sum "$work/build1/setup.exe" | cut -c1-16))"
    exit 0
fi
echo "FAIL: two clean builds give different setup.exe files"
exit 1
