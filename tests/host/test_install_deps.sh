#!/usr/bin/env bash
# The set-up on a mirror in the middle of a sync: one suite's index fails to update, and the
# 32-bit Wine can't be installed. Stand-ins for apt-get, dpkg-query, dpkg and locale take the
# calls, so nothing is installed.  test_install_deps.sh <source dir>
set -u
bin=$(mktemp -d /tmp/tnp-deps.XXXXXX)
trap 'rm -rf "$bin"' EXIT
cat >"$bin/apt-get" <<'SH'
#!/bin/bash
case " $* " in
*" update "*) echo "E: Failed to fetch http://mirror.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
              echo "E: Some index files failed to download. They have been ignored, or old ones used instead."; exit 100 ;;
*" wine32:i386 "*) echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100 ;;
*SourceParts=*) all="$*" parts=${all##*SourceParts=}; grep -rqs bookworm-security "${parts%% *}" || echo "$*" >>"${0%/*}/installed" ;;
esac
SH
printf '#!/bin/sh\nexit 1\n' >"$bin/dpkg-query"  # nothing installed, i386 known, the locales made
printf '#!/bin/sh\necho i386\n' >"$bin/dpkg"
printf '#!/bin/sh\nprintf "ja_JP.utf8\\nzh_TW.utf8\\n"\n' >"$bin/locale"
chmod +x "$bin"/*
PATH="$bin:$PATH" bash "$1/tools/install-deps.sh" || exit 1
grep -qs ' wine64 ' "$bin/installed" && ! grep -qs wine32 "$bin/installed"
