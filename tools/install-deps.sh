#!/usr/bin/env bash
# Installs the Debian packages the build, the run and the tests need (as root). Quiet and quick
# when they are already there. A mirror in the middle of a sync fails some of its indexes; the
# set-up goes on with what apt has, and where the 32-bit Wine still can't be had it installs the
# rest and says so, since the run and the tests then use the x86_64 twin.
set -euo pipefail
packages=(cmake g++ clang libclang-rt-14-dev cppcheck g++-mingw-w64-i686-posix mingw-w64-tools
          wine wine32:i386 wine64 fonts-wine xvfb xdotool icoutils imagemagick
          libzopfli-dev zlib1g-dev googletest python3 bc g++-mingw-w64-x86-64-posix)
packages+=(osslsigncode openssl)  # signing a release and checking one
packages+=(dpkg-dev)              # apt-get source unpacks zlib's source package
packages+=(locales)               # code pages 932 and 950 for the East-Asian cases
locales_wanted=(ja_JP.UTF-8 zh_TW.UTF-8)
wine32=wine32:i386

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

# Updates the indexes. One that fails (a mirror mid-sync) is named in one line and its suite
# left in failed_suites; apt keeps using what it had. Output nobody can place stops the set-up.
failed_suites=()
update_indexes() {
    local log
    log=$(apt-get update -qq 2>&1) && return 0
    mapfile -t failed_suites < <(grep -o 'Failed to fetch [^ ]*/dists/[^/ ]*/' <<<"$log" |
                                 sed 's|.*/dists/||; s|/$||' | sort -u)
    if [ ${#failed_suites[@]} -eq 0 ]; then
        echo "$log" >&2
        exit 1
    fi
    echo "package index update failed for ${failed_suites[*]} ($(grep -m1 'Failed to fetch' <<<"$log" |
         sed 's|.*/dists/||; s/ *\[IP:.*//')); going on with the indexes apt has"
}

# The sources without the suites whose index failed, as a folder for Dir::Etc::SourceParts, so
# that a package and its other architecture's twin come from the same suite.
sources_without_failed() {  # <dir>
    local f suites
    suites=" ${failed_suites[*]} "
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        case $f in
        *.sources)
            awk -v failed="$suites" '
                BEGIN { RS = ""; ORS = "\n\n" }
                { n = split($0, line, "\n"); out = ""; keep = 1
                  for (i = 1; i <= n; i++) {
                      if (line[i] ~ /^Suites:/) {
                          m = split(substr(line[i], 8), s, " "); kept = ""
                          for (j = 1; j <= m; j++) if (index(failed, " " s[j] " ") == 0) kept = kept " " s[j]
                          if (kept == "") keep = 0
                          line[i] = "Suites:" kept
                      }
                      out = out line[i] "\n"
                  }
                  if (keep) printf "%s\n", out }' "$f" >"$1/$(basename "$f")" ;;
        *)
            awk -v failed="$suites" '
                /^deb(-src)? / { k = 3; if ($2 ~ /^\[/) while ($(k - 1) !~ /\]$/) k++
                                 if (index(failed, " " $k " ")) next }
                { print }' "$f" >"$1/$(basename "$f")" ;;
        esac
    done
}

# apt-get install, its message kept for whoever reports the failure. Any further arguments go
# before the packages.
install_log=""
apt_install() {  # [apt options ...] -- <packages ...>
    local opts=()
    while [ "$1" != -- ]; do opts+=("$1"); shift; done
    shift
    install_log=$(apt-get "${opts[@]}" install -y -qq "$@" 2>&1 >/dev/null) && return 0
    return 1
}

install_missing() {  # <packages ...>
    apt_install -- "$@" && return 0
    local opts=()
    if [ ${#failed_suites[@]} -gt 0 ]; then
        parts=$(mktemp -d /tmp/tnp-sources.XXXXXX)
        trap 'rm -rf "$parts"' EXIT
        sources_without_failed "$parts"
        opts=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$parts")
        apt_install "${opts[@]}" -- "$@" && return 0
    fi
    local rest=() p
    for p in "$@"; do [ "$p" = "$wine32" ] || rest+=("$p"); done
    if [ ${#rest[@]} -lt $# ]; then
        local why
        why=$(grep -m1 '^E: ' <<<"$install_log" | cut -c4- || true)
        if apt_install "${opts[@]}" -- "${rest[@]}"; then
            echo "32-bit Wine ($wine32) not installed (apt: ${why:-refused}); the run and the tests" \
                 "fall back to the x86_64 twin"
            return 0
        fi
    fi
    echo "$install_log" >&2
    exit 1
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
    update_indexes
    update=0
    install_missing "${missing[@]}"
fi
[ $update -eq 1 ] && update_indexes

generate=0
for l in "${locales_wanted[@]}"; do
    locale -a 2>/dev/null | grep -qix "${l/UTF-8/utf8}" && continue
    sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$l UTF-8" /etc/locale.gen || echo "$l UTF-8" >>/etc/locale.gen
    generate=1
done
[ $generate -eq 1 ] && locale-gen >/dev/null
exit 0
