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
run fuzz tests/fuzz/run.sh 20000
run soak tests/soak/run.sh 2000
for script in linux_shell linux_monitors linux_snapshot linux_xscreensaver; do
    run "$script" bash "tests/e2e/$script.sh" build/native
done
for compositor in sway mutter kwin weston; do
    run "linux_wayland_$compositor" bash tests/e2e/linux_wayland.sh build/native "$compositor"
done
run package bash tests/e2e/package.sh build/windows
run linux_package bash tests/e2e/linux_package.sh build/native

# The Windows programs under Wine: one session for the GoogleTest programs, and a fresh one for
# each end-to-end script, so that no script sees what another left in the registry.
shots=build/windows/screenshots
run windows tests/wine_harness.sh --timeout 1800 ctest --preset windows
run run_modes tests/wine_harness.sh bash tests/e2e/run_modes.sh build/windows
run config_dialog tests/wine_harness.sh bash tests/e2e/config_dialog.sh \
    build/windows/shell/win32/quillmesh.scr "$shots/config-dialog.png"
for script in saver preview; do
    run "$script" tests/wine_harness.sh --timeout 900 bash "tests/e2e/$script.sh" build/windows "$shots"
done
run display_mode tests/wine_harness.sh --timeout 900 --screen 1024x768 \
    bash tests/e2e/display_mode.sh build/windows "$shots"
run two_monitors tests/wine_harness.sh --timeout 900 --two-monitors \
    bash tests/e2e/two_monitors.sh build/windows "$shots"
run bad_settings tests/wine_harness.sh --timeout 900 bash tests/e2e/bad_settings.sh build/windows

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
