#!/usr/bin/env bash
# The payload packer on this machine: streams that are complete zlib streams of the exact
# input, the same bytes on every run, refusals that name the file, and the stand-ins' kinds,
# sizes and packing ratio.
#
#   test_zpack.sh <host tools folder> <folder of the six files the build packed> [standins]
# With "standins" the files are the generated stand-ins, whose kinds and ratio are ours to
# check; the product's own files are only measured.
set -uo pipefail
tools=$1 files=$2 standins=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/tnp-zpack.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
names=(TNPRead.txt tnp.hlp tnp.cnt tnp.exe tnp32hlp.dll tnp16hlp.dll)

# Six small files of our own, one of exactly the largest size setup can unpack.
make_inputs() {
    mkdir -p "$1"
    python3 - "$1" <<'PY'
import os, sys
d = sys.argv[1]
texts = {"TNPRead.txt": b"read me\r\n" * 50, "tnp.hlp": bytes(range(256)) * 40, "tnp.cnt": b":Base tnp.hlp\r\n",
         "tnp.exe": b"MZ" + bytes(1000), "tnp32hlp.dll": bytes((i * 7) & 255 for i in range(5000)),
         "tnp16hlp.dll": bytes((i * i) & 255 for i in range(1000000))}
for name, data in texts.items():
    open(os.path.join(d, name), "wb").write(data)
PY
}

make_inputs "$work/in"
"$tools/zpack" "$work/in" "$work/out1" >"$work/log1" || fail "zpack refused good inputs: $(cat "$work/log1")"
python3 "$here/check_streams.py" "$work/in" "$work/out1" || fail "streams of our own six files"
"$tools/zpack" "$work/in" "$work/out2" >/dev/null || fail "second run"
for f in "$work"/out1/*.zpk; do
    cmp -s "$f" "$work/out2/$(basename "$f")" || fail "$(basename "$f") differs between two runs"
done

# Refusals: exit status, a message naming the file, and nothing written.
refuse() {  # <label> <file name> <expected words> <setup of the input folder>
    local label=$1 name=$2 words=$3
    rm -rf "$work/bad" "$work/badout"
    cp -a "$work/in" "$work/bad"
    eval "$4"
    if "$tools/zpack" "$work/bad" "$work/badout" >"$work/stdout" 2>"$work/stderr"; then
        fail "$label: accepted"
    fi
    grep -q "$work/bad/$name" "$work/stderr" || fail "$label: message does not name the file: $(cat "$work/stderr")"
    grep -q "$words" "$work/stderr" || fail "$label: message does not say '$words': $(cat "$work/stderr")"
    [ ! -e "$work/badout" ] || fail "$label: output written all the same"
}
refuse "empty file" tnp.cnt "empty" ': > "$work/bad/tnp.cnt"'
refuse "over 1,000,000 bytes" tnp16hlp.dll "1000001 bytes" 'head -c 1000001 /dev/zero > "$work/bad/tnp16hlp.dll"'
refuse "missing file" tnp32hlp.dll "missing" 'rm "$work/bad/tnp32hlp.dll"'
refuse "one name in two cases" TNP.EXE "and $work/bad/tnp.exe" 'cp "$work/bad/tnp.exe" "$work/bad/TNP.EXE"'
mkdir "$work/upper"; for n in "${names[@]}"; do cp "$work/in/$n" "$work/upper/${n^^}"; done
"$tools/zpack" "$work/upper" "$work/out3" >/dev/null || fail "the six files in upper case (as from a CD) were refused"
for f in "$work"/out1/*.zpk; do cmp -s "$f" "$work/out3/${f##*/}" || fail "${f##*/} packed from upper case differs"; done

# The files the build packed: the six exact sizes, the kind of each, and the packing ratio.
sizes=(2320 171532 2104 441344 18432 4768)
for i in "${!names[@]}"; do
    size=$(stat -c %s "$files/${names[$i]}")
    [ "$size" = "${sizes[$i]}" ] || fail "${names[$i]} is $size bytes, not ${sizes[$i]}"
done
if [ "$standins" = standins ]; then
    python3 "$here/check_standin_kinds.py" "$files" || fail "kinds of the stand-in files"
fi
start=$(date +%s.%N)
"$tools/zpack" "$files" "$work/standins" >"$work/standins.log" || fail "packing the build's files"
seconds=$(echo "$(date +%s.%N) - $start" | bc)
cat "$work/standins.log"
echo "packing took $seconds s"
ratio=$(awk '$1 == "total" { print $5 }' "$work/standins.log")
if [ "$standins" = standins ]; then
    awk -v r="$ratio" 'BEGIN { exit !(r != "" && r <= 0.95) }' || fail "total ratio ours/zlib-9 is $ratio, above 0.95"
fi

[ $failures -eq 0 ] && echo "zpack: all checks passed"
exit $((failures > 0))
