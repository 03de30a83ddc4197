#!/usr/bin/env bash
# The long run of the renderer in both Linux builds at once: under AddressSanitizer and
# UndefinedBehaviorSanitizer (no report, heap in use within 1 MiB after the warm-up) and natively
# (heap in use and resident size within 1 MiB). CI runs it short; the nightly length is 200000
# frames per style, just under two hours on two cores.
#
#   tests/soak/run.sh [FRAMES]      FRAMES per render style, default 2000
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1

frames=${1:-2000}
presets=(sanitize native)

for preset in "${presets[@]}"; do
    cmake --preset "$preset" >/dev/null || exit 1
    cmake --build --preset "$preset" --target soak || exit 1
done

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
for preset in "${presets[@]}"; do
    LSAN_OPTIONS=suppressions=$PWD/tests/render/mesa_leaks.supp UBSAN_OPTIONS=print_stacktrace=1 \
        "build/$preset/tests/soak/soak" "$frames" >"$logs/$preset.log" 2>&1 &
    echo $! >"$logs/$preset.pid"
done

passed=0
failed=0
for preset in "${presets[@]}"; do
    if wait "$(cat "$logs/$preset.pid")"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
    echo "=== soak, $preset build: $frames frames per style"
    cat "$logs/$preset.log"
done
echo "$passed passed, $failed failed"
((failed == 0))
