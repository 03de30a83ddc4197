#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (fuzz preset: AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a fixed number of inputs, starting from its seed
# corpus. New inputs and crash reproducers go to a scratch folder, never into the seeds.
#
#   tests/fuzz/run.sh [RUNS]        RUNS defaults to 20000 per target
#
# A failing target leaves its reproducer in build/fuzz/crashes/: turn it into a
# unit test, then delete it.
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1

runs=${1:-20000}
targets=(command_line_fuzzer registry_values_fuzzer settings_file_fuzzer linux_options_fuzzer)

cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz --target "${targets[@]}" || exit 1

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
passed=0
failed=0
for target in "${targets[@]}"; do
    seeds=tests/fuzz/corpus/${target%_fuzzer}
    mkdir -p "$scratch/$target"
    echo "=== $target: $runs runs"
    if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "build/fuzz/tests/fuzz/$target" "$scratch/$target" "$seeds" -runs="$runs" \
        -artifact_prefix="$scratch/$target-" -print_final_stats=1 >"$scratch/$target.log" 2>&1; then
        passed=$((passed + 1))
        grep -E '^stat::number_of_executed_units|^#[0-9]+ +DONE' "$scratch/$target.log"
        echo "ok: $target"
    else
        failed=$((failed + 1))
        tail -n 40 "$scratch/$target.log" >&2
        mkdir -p build/fuzz/crashes
        cp "$scratch/$target"-* build/fuzz/crashes/ 2>/dev/null
        echo "FAILED: $target (reproducers in build/fuzz/crashes/)" >&2
    fi
done
echo "$passed passed, $failed failed"
((failed == 0))
