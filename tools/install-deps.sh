#!/usr/bin/env bash
# Installs the Debian packages the build, the run and the tests need (as root). Quiet and quick
# when they are already there.
set -euo pipefail
packages=(cmake g++ clang libclang-rt-14-dev cppcheck g++-mingw-w64-i686-posix mingw-w64-tools
          libz-mingw-w64-dev wine wine32:i386 wine64 fonts-wine xvfb xdotool icoutils imagemagick
          libzopfli-dev zlib1g-dev googletest python3 bc g++-mingw-w64-x86-64-posix)
packages+=(osslsigncode openssl)  # signing a release and checking one
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
