#!/usr/bin/env bash
# Installs the Debian packages the build, the run and the tests need (as root). Quiet and quick
# when they are already there.
set -euo pipefail
packages=(cmake g++ clang libclang-rt-14-dev cppcheck g++-mingw-w64-i686-posix mingw-w64-tools
          wine wine32:i386 wine64 fonts-wine xvfb xdotool icoutils imagemagick
          libzopfli-dev zlib1g-dev googletest python3 bc g++-mingw-w64-x86-64-posix)
packages+=(osslsigncode openssl)  # signing a release and checking one
packages+=(dpkg-dev)              # apt-get source unpacks zlib's source package
packages+=(locales)               # code pages 932 and 950 for the East-Asian cases
locales_wanted=(ja_JP.UTF-8 zh_TW.UTF-8)

# apt-get source needs deb-src entries; they name the same mirrors and suites as the deb ones.
add_source_entries() {
    local list=/etc/apt/sources.list.d/tnp-deb-src.sources
    grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/ && return 1
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$list"
    else
        grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
            >/etc/apt/sources.list.d/tnp-deb-src.list
    fi
}

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
update=0
add_source_entries && update=1
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    update=0
    apt-get install -y -qq "${missing[@]}" >/dev/null
fi
[ $update -eq 1 ] && apt-get update -qq

generate=0
for l in "${locales_wanted[@]}"; do
    locale -a 2>/dev/null | grep -qix "${l/UTF-8/utf8}" && continue
    sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$l UTF-8" /etc/locale.gen || echo "$l UTF-8" >>/etc/locale.gen
    generate=1
done
[ $generate -eq 1 ] && locale-gen >/dev/null
exit 0
