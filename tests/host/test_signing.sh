#!/usr/bin/env bash
# A signed release, made with a throw-away self-signed certificate by a build of the default
# configuration with the two signing options: its unsigned bytes are the plain build's, the
# signature checks out against that certificate, the file keeps the shipped exe's properties,
# installs under Wine, and verify-release.sh accepts it but not a copy with
# one program byte changed. A wrong password fails the build and leaves no setup.exe.
#
#   test_signing.sh <source dir> <build dir of the default preset>
set -uo pipefail
top=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
work=$(mktemp -d /tmp/tnp-signing.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

printf 'throw-away\n' >"$work/password"
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Tone Pilot test signer" \
    -keyout "$work/key.pem" -out "$work/cert.pem" >"$work/openssl.log" 2>&1 &&
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout "file:$work/password" \
    -out "$work/cert.p12" >>"$work/openssl.log" 2>&1 || { cat "$work/openssl.log"; exit 1; }

signed=$work/signed
(cd "$top" && cmake --preset default -B "$signed" -DTNP_SIGN_PKCS12="$work/cert.p12" \
    -DTNP_SIGN_PASSWORD_FILE="$work/password" && cmake --build "$signed" --target setup -j2) \
    >"$work/build.log" 2>&1 || { tail -30 "$work/build.log"; echo "FAIL: the signed build"; exit 1; }
exe=$signed/setup.exe
echo "signed setup.exe: $(stat -c %s "$exe") bytes, unsigned $(stat -c %s "$signed/setup-unsigned.exe")"
cmp "$signed/setup-unsigned.exe" "$build/setup.exe" ||
    fail "the signed build's setup-unsigned.exe differs from $build/setup.exe"
osslsigncode verify -CAfile "$work/cert.pem" -in "$exe" >"$work/verify.log" 2>&1 ||
    { cat "$work/verify.log"; fail "osslsigncode does not accept the signature"; }
grep -q "Message digest algorithm *: SHA256" "$work/verify.log" || fail "the digest is not SHA-256"
bash "$top/tests/host/check_shipped_exe.sh" "$exe" >"$work/check.log" ||
    { cat "$work/check.log"; fail "the signed exe lost a property of the shipped exe"; }
# The runner gets the build folder without its own setup.exe: only the signed one can install.
mkdir "$work/e2e" && ln -s "$build"/* "$work/e2e/" && rm "$work/e2e/setup.exe"
TNP_SETUP_EXE=$exe TNP_RESULTS_DIR= bash "$top/tests/e2e/run_e2e.sh" "$work/e2e" defaults >"$work/e2e.log" 2>&1
grep -q "^e2e: 1 passed, 0 failed" "$work/e2e.log" || { cat "$work/e2e.log"; fail "the signed exe does not install"; }

# verify-release builds a commit; a snapshot commit of the working tree is what was built here.
snap=$work/checkout
mkdir "$snap" && git -C "$top" ls-files -z --cached --others --exclude-standard |
    (cd "$top" && tar --null -T - --ignore-failed-read -cf -) | tar -x -C "$snap" &&
    git -C "$snap" init -q && git -C "$snap" add -A &&
    git -C "$snap" -c user.name=test -c user.email=test@localhost commit -qm snapshot ||
    { echo "FAIL: no snapshot of the working tree"; exit 1; }
export TNP_VERIFY_DIR=$work/verify
out=$(bash "$snap/tools/verify-release.sh" "$exe" 2>"$work/verify-release.log")
expected="setup.exe matches this source: $(sha256sum "$build/setup.exe" | cut -d' ' -f1)"
[ "$out" = "$expected" ] || { cat "$work/verify-release.log"; fail "verify-release says '$out'"; }
echo "$out"

# One byte in the middle of the code, not in the signature.
read -r size offset < <(objdump -h "$exe" | awk '$2 == ".text" { print $3, $6 }')
text=$((0x$offset + 0x$size / 2))
cp "$exe" "$work/changed.exe"
printf '\xcc' | dd of="$work/changed.exe" bs=1 seek="$text" conv=notrunc 2>/dev/null
cmp -s "$exe" "$work/changed.exe" && fail "byte $text was 0xcc already"
out=$(bash "$snap/tools/verify-release.sh" "$work/changed.exe" 2>&1)
[ $? -eq 1 ] && [[ "$out" == *"does not match this source"*"$((text + 1))"* ]] ||
    fail "verify-release on a copy with byte $text changed says '$out'"

printf 'wrong\n' >"$work/wrong"
(cmake -S "$top" -B "$signed" -DTNP_SIGN_PASSWORD_FILE="$work/wrong" && cmake --build "$signed" --target setup) \
    >"$work/wrong.log" 2>&1 && fail "the build with a wrong password succeeded"
grep -q "Wrong password" "$work/wrong.log" || fail "the failed build does not show osslsigncode's message"
[ ! -e "$exe" ] || fail "the failed build left a setup.exe behind"

[ $failures -eq 0 ] && echo "signing: all checks passed"
exit $((failures > 0))
