#!/usr/bin/env bash
# Checks that a released setup.exe is what this checkout's commit builds: the commit is built
# cleanly, with the default preset and no signing, in a folder of its own (kept, and reused for
# the same commit), and compared byte for byte with the release, its signature removed first.
# Builds agree only with the toolchain tools/install-deps.sh installs (Debian 12).
#
#   verify-release.sh SETUP.EXE     (TNP_VERIFY_DIR names the build folder; default per commit)
set -uo pipefail
[ $# -eq 1 ] || { echo "usage: verify-release.sh SETUP.EXE" >&2; exit 2; }
given=$1
[ -f "$given" ] || { echo "$given: no such file" >&2; exit 2; }
top=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$top" rev-parse HEAD) || exit 2
dir=${TNP_VERIFY_DIR:-/tmp/tnp-verify-$commit}
work=$(mktemp -d /tmp/tnp-verify-cmp.XXXXXX)
trap 'rm -rf "$work"' EXIT

# The clean build: setup.exe and the commit it came from stay; the sources and build files go.
if [ "$(cat "$dir/commit" 2>/dev/null)" = "$commit" ] && [ -f "$dir/setup.exe" ]; then
    echo "reusing the clean build of commit $commit in $dir" >&2
else
    echo "building commit $commit in $dir" >&2
    rm -rf "$dir/src" "$dir/setup.exe" "$dir/commit" && mkdir -p "$dir/src" || exit 2
    git -C "$top" archive "$commit" | tar -x -C "$dir/src" || exit 2
    if ! (cd "$dir/src" && cmake --preset default && cmake --build build --target setup -j2) \
            >"$dir/build.log" 2>&1; then
        tail -30 "$dir/build.log" >&2
        echo "the clean build of commit $commit failed; its log is $dir/build.log" >&2
        exit 2
    fi
    cp "$dir/src/build/setup.exe" "$dir/setup.exe" && echo "$commit" >"$dir/commit" || exit 2
    rm -rf "$dir/src"
fi

# A release's signature is the PE certificate table at the end of the file; signing also sets
# the PE checksum and the table's directory entry. Removing it gives back the linked bytes: the
# linker writes the true PE checksum, which osslsigncode computes again, and the image ends on
# its 512-byte file alignment, so no padding went before the table. A table anywhere but at the
# end is not removed, and the file is refused.
security=$(objdump -p "$given" 2>/dev/null | awk '/Security Directory/ { print $3; exit }')
if [ -z "$security" ]; then
    echo "$given is not a PE file" >&2
    exit 1
fi
unsigned=$given bytes="its bytes"
if [ "$security" != 00000000 ]; then
    unsigned=$work/unsigned.exe bytes="its bytes without the signature"
    if ! osslsigncode remove-signature -in "$given" -out "$unsigned" >"$work/remove.log" 2>&1; then
        cat "$work/remove.log" >&2
        echo "$given: its signature can't be removed, so its program bytes can't be compared" >&2
        exit 1
    fi
fi

if cmp -s "$unsigned" "$dir/setup.exe"; then
    echo "setup.exe matches this source: $(sha256sum "$unsigned" | cut -d' ' -f1)"
    exit 0
fi
# Where they differ, by cmp's byte numbers (from 1). A changed program byte in a signed file
# shows with the PE checksum, which osslsigncode computed for the changed bytes.
where=$(cmp -l "$unsigned" "$dir/setup.exe" 2>/dev/null | awk 'NR <= 8 { list = list ", " $1 }
    END { if (NR) printf " at %d byte%s: %s%s", NR, (NR > 1 ? "s" : ""), substr(list, 3), (NR > 8 ? ", ..." : "") }')
size=$(stat -c %s "$unsigned") built=$(stat -c %s "$dir/setup.exe")
echo "$given does not match this source (commit $commit): $bytes differ from the clean build's$where$(
     [ "$size" = "$built" ] || echo "; its length is $size bytes, the build's $built")"
exit 1
