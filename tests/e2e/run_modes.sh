#!/usr/bin/env bash
# The real quillmesh.scr under Wine: switches that select no run mode, and "/a", whose password
# service Wine offers only as a placeholder, end at once, show nothing and store nothing.
#   tests/wine_harness.sh bash tests/e2e/run_modes.sh build/windows
set -uo pipefail
here=$(dirname "$0")
source "$here/lib.sh"
scr=$1/shell/win32/quillmesh.scr
key="HKCU\\Software\\Halvorn\\Brisco's Quillmesh"

# Runs the saver with the arguments; fails if it does not end with 0 within ten seconds, or if
# any window of its own (Wine names the X class after the program) shows up meanwhile.
ends_at_once_without_window() {
    wine "$scr" "$@" &
    local pid=$! seen=""
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        seen+=$(xdotool search --onlyvisible --classname '^quillmesh\.scr$' 2>/dev/null)
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        return 1
    fi
    wait "$pid" && [[ -z $seen ]]
}

settings_key_absent() { ! wine reg query "$key" >/dev/null 2>&1; }

wine reg delete "$key" /f >/dev/null 2>&1
for arguments in "/x" "/" "1234" "//s" "/a"; do
    check "'$arguments' ends at once with 0 and no window" ends_at_once_without_window "$arguments"
done
check "no run wrote the settings key" settings_key_absent

summary
