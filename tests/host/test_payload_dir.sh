#!/usr/bin/env bash
# A build with its options set: pointed at a folder of product files with TNP_PAYLOAD_DIR, it
# packs exactly those files and makes no stand-ins; given a TNP_VERSION, setup.exe's version
# resource carries it. A TNP_VERSION that is no version fails the configure, saying why.
#
#   test_payload_dir.sh <source folder> <toolchain file>
set -uo pipefail
source_dir=$1 toolchain=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/tnp-payload-dir.XXXXXX)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/product"
python3 - "$work/product" <<'PY'
import sys
d = sys.argv[1]
files = {"TNPRead.txt": b"Our own ReadMe.\r\n" * 3, "tnp.hlp": b"?_\x03\x00" + bytes(range(200)) * 3,
         "tnp.cnt": b":Base tnp.hlp>main\r\n2 Ours=IDH_OURS\r\n", "tnp.exe": b"MZ" + b"\x90" * 3000,
         "tnp32hlp.dll": b"MZ" + bytes(range(256)) * 9, "tnp16hlp.dll": b"MZ" + b"NE" * 700}
for name, data in files.items():
    open(d + "/" + name, "wb").write(data)
PY
cmake -S "$source_dir" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=MinSizeRel \
      -DTNP_PAYLOAD_DIR="$work/product" -DTNP_VERSION=2.1.65535 >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log"; exit 1; }
cmake --build "$work/build" --target setup -j2 >"$work/build.log" 2>&1 || { tail -30 "$work/build.log"; exit 1; }
status=0
python3 "$source_dir/tests/resources/test_resources.py" "$work/build/setup.exe" "$work/build/icons" \
    --version 2.1.65535 >"$work/resources.log" 2>&1 || { cat "$work/resources.log"; status=1; }
for bad in "" 2.1.0.0.1 1..2 2.65536 v2 02.1; do
    if cmake -S "$source_dir" -B "$work/bad" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DTNP_VERSION="$bad" \
            >"$work/bad.log" 2>&1 || ! grep -q "TNP_VERSION \"$bad\" is not a version" "$work/bad.log"; then
        echo "FAIL: TNP_VERSION \"$bad\" was not refused with a reason"; status=1
    fi
    rm -rf "$work/bad"
done
python3 "$here/check_streams.py" "$work/product" "$work/build/payload" || status=1
if [ -e "$work/build/payload-files" ] || grep -q "stand-in" "$work/build.log"; then
    echo "FAIL: stand-ins were made although TNP_PAYLOAD_DIR was given"
    status=1
fi
[ $status -eq 0 ] && echo "build options: the given files packed, the given version carried, bad versions refused"
exit $status
