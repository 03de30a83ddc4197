#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test: native, native under
# AddressSanitizer and UndefinedBehaviorSanitizer, the Windows programs under Wine, and the
# end-to-end scripts against the real programs.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

for preset in native sanitize windows; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
status=0

run() { # run NAME COMMAND...: keeps the output for the summary, goes on after a failure
    local name=$1
    shift
    echo "=== $name"
    "$@" 2>&1 | tee "$logs/$name.log" || status=1
}

run harness bash tests/wine_harness_test.sh
run native ctest --preset native
run sanitize ctest --preset sanitize
# One Wine session for all Windows tests; each end-to-end script cleans up the keys it sets.
run windows tests/wine_harness.sh --timeout 2400 bash -c '
    status=0
    ctest --preset windows || status=1
    for script in tests/e2e/run_modes.sh; do
        echo "--- $script"
        bash "$script" build/windows || status=1
    done
    exit $status'

# One line for all layers: ctest's totals and the scripts' own summary lines.
passed=0
failed=0
while read -r failures total; do
    passed=$((passed + total - failures))
    failed=$((failed + failures))
done < <(sed -n -E 's/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+)$/\1 \2/p' "$logs"/*.log)
while read -r p f; do
    passed=$((passed + p))
    failed=$((failed + f))
done < <(sed -n -E 's/^([0-9]+) passed, ([0-9]+) failed$/\1 \2/p' "$logs"/*.log)
echo "all layers: $passed passed, $failed failed"
exit $status
