#!/usr/bin/env bash
# Prints the figures table: sizes of the shipped exe and its payload, and timings and memory of
# the install and the scan measured beside bare loops in the same run. Figures only: nothing
# here passes or fails.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash tools/install-deps.sh
cmake --preset default >/dev/null && cmake --build --preset default -j2 >/dev/null
. tests/wine-arch.sh

# Timings of the shipped i686 exe wherever this machine runs 32-bit code, else of the twin.
probe=$(mktemp -d /tmp/tnp-bench.XXXXXX)
trap 'rm -rf "$probe"' EXIT
choose_build "$probe/pfx" >/dev/null
export TNP_WINE_TEMPLATE=$probe/pfx

exe=build/setup.exe
read -r exe_bytes zpk_bytes level9 original < <(python3 - "$exe" build/payload build/payload-files <<'PY'
import os, sys, zlib
exe, zpk, files = sys.argv[1:4]
names = ["TNPREAD.TXT", "TNP.HLP", "TNP.CNT", "TNP.EXE", "TNP32HLP.DLL", "TNP16HLP.DLL"]
plain = ["TNPRead.txt", "tnp.hlp", "tnp.cnt", "tnp.exe", "tnp32hlp.dll", "tnp16hlp.dll"]
ours = sum(os.path.getsize(os.path.join(zpk, n + ".zpk")) for n in names)
data = [open(os.path.join(files, p), "rb").read() for p in plain]
print(os.path.getsize(exe), ours, sum(len(zlib.compress(d, 9)) for d in data), sum(len(d) for d in data))
PY
)
figures=$(TNP_E2E_WORKERS=1 bash tests/e2e/run_e2e.sh "$TNP_BUILD" 'bench-*' | grep '^FIGURE' || true)
value() { echo "$figures" | grep -oE "\b$1=-?[0-9.]+" | head -1 | cut -d= -f2; }

printf '%-44s %14s %10s\n' "figure" "value" "goal"
printf '%-44s %14s %10s\n' "setup.exe bytes (i686)" "$exe_bytes" ""
printf '%-44s %14s %10s\n' "stub overhead: exe minus ZPK bytes" "$((exe_bytes - zpk_bytes))" "<= 38912"
printf '%-44s %14s %10s\n' "payload: our bytes / zlib level 9 bytes" \
    "$(echo "scale=3; $zpk_bytes / $level9" | bc)" "<= 0.95"
printf '%-44s %14s %10s\n' "install: OK to success box, median of 5 (ms)" "$(value install_ms)" "<= 150"
printf '%-44s %14s %10s\n' "  of which until the last file is written (ms)" "$(value extract_ms)" ""
printf '%-44s %14s %10s\n' "bare extract loop, median of 5 (ms)" "$(value bare_ms)" ""
printf '%-44s %14s %10s\n' "extraction part / bare extract" "$(value extract_ratio)" ""
printf '%-44s %14s %10s\n' "bare staged swap loop, median of 5 (ms)" "$(value bare_swap_ms)" ""
printf '%-44s %14s %10s\n' "extraction part / bare staged swap" "$(value swap_ratio)" "<= 1.2"
printf '%-44s %14s %10s\n' "bare links, file and entry, median of 5 (ms)" "$(value bare_shell_ms)" ""
printf '%-44s %14s %10s\n' "install after the files / bare links etc." "$(value shell_ratio)" "<= 1.2"
printf '%-44s %14s %10s\n' "peak private memory of setup (KB)" "$(value peak_private_kb)" ""
printf '%-44s %14s %10s\n' "  of our minimal dialog program (KB)" "$(value floor_peak_private_kb)" ""
printf '%-44s %14s %10s\n' "setup above that floor (KB)" "$(value above_floor_kb)" "<= 1228"
printf '%-44s %14s %10s\n' "scan of $(value directories) directories (ms)" "$(value scan_ms)" ""
printf '%-44s %14s %10s\n' "walk with the same four calls (ms)" "$(value shown_walk_ms)" ""
printf '%-44s %14s %10s\n' "bare FindFirstFileA walk (ms)" "$(value bare_scan_ms)" ""
printf '%-44s %14s %10s\n' "scan / walk with the same calls" "$(value scan_shown_ratio)" "<= 1.10"
printf '%-44s %14s %10s\n' "scan / bare walk" "$(value scan_ratio)" ""
printf '%-44s %14s %10s\n' "directories per second in the dialog" "$(value dirs_per_s)" ""
echo "(measured: $TNP_UNDER_TEST; $original payload bytes; $(nproc) cores, $(date -u +%Y-%m-%d))"
