#!/usr/bin/env bash
# Builds the pure rules natively with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs each libFuzzer target for a bounded time from its seed corpus. Fails on any finding.
#
#   run_fuzzers.sh [seconds per target]
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-20}
out=$(mktemp -d /tmp/tnp-fuzz.XXXXXX)
trap 'rm -rf "$out"' EXIT
findings=$top/build-tests/fuzz-findings  # kept after the run, so a finding can be replayed
mkdir -p "$findings"
flags=(-g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$top")
common=("$top/setup/bounded_text.cpp" "$top/setup/path_chars.cpp")
declare -A sources=(
    [uninstall_string]="setup/uninstall_command.cpp"
    [folder_rules]="setup/folders.cpp setup/uninstall_command.cpp"
    [command_line]="setup/command_line.cpp"
    [path_rules]="install/path_rules.cpp"
    [script_text]="shell/uninstall_script_text.cpp setup/folders.cpp setup/uninstall_command.cpp"
    [name_match]="search/name_match.cpp"
)
failed=0 total=0
for target in "${!sources[@]}"; do
    total=$((total + 1))
    files=()
    for s in ${sources[$target]}; do files+=("$top/$s"); done
    if ! clang++ "${flags[@]}" "$top/tests/fuzz/fuzz_$target.cpp" "${common[@]}" "${files[@]}" -o "$out/$target" \
        2>"$out/$target.build"; then
        echo "fuzz $target: build FAILED"; cat "$out/$target.build"; failed=$((failed + 1)); continue
    fi
    mkdir -p "$out/corpus-$target"
    if "$out/$target" -max_total_time="$seconds" -max_len=1024 -print_final_stats=1 -artifact_prefix="$findings/$target-" \
        "$out/corpus-$target" "$top/tests/fuzz/corpus/$target" >"$out/$target.log" 2>&1; then
        runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$out/$target.log" | grep -oE '[0-9]+$')
        echo "fuzz $target: ${runs:-?} runs in ${seconds} s, no findings"
    else
        echo "fuzz $target: FINDING, input kept in $findings"; grep -E 'ERROR|SUMMARY|runtime error' "$out/$target.log" | head -5
        failed=$((failed + 1))
    fi
done
echo "fuzz: $((total - failed)) passed, $failed failed"
[ $failed -eq 0 ]
