#!/usr/bin/env bash
# Runs a command in a private Wine session: its own Xvfb, its own fresh prefix and a persistent
# wineserver, all torn down by process id when the command ends, fails or is interrupted.
#
#   tests/wine_harness.sh [--timeout SECONDS] COMMAND [ARG...]
#
# Inside a session already (as ctest is when the test script starts it here), it only runs the
# command under the timeout, so every test program shares the one session.
set -euo pipefail
source "$(dirname "$0")/private_xvfb.sh"

limit=${QUILLMESH_WINE_TIMEOUT:-300}
if [[ ${1:-} == --timeout ]]; then
    limit=$2
    shift 2
fi
if [[ -n ${QUILLMESH_WINE_SESSION:-} ]]; then
    exec timeout -k 5 "$limit" "$@"
fi

session=$(mktemp -d "${TMPDIR:-/tmp}/quillmesh-wine.XXXXXX")
xvfb_pid=""
server_pid=""
command_pid=""

teardown() {
    local status=$?
    trap - EXIT INT TERM
    end_process "$command_pid" # timeout passes it on to the command
    if [[ -n $server_pid ]]; then
        # -k ends the session's programs and writes the registry out; never -k9.
        timeout 30 wineserver -k >/dev/null 2>&1 || true
        for _ in $(seq 100); do kill -0 "$server_pid" 2>/dev/null || break; sleep 0.1; done
        end_process "$server_pid"
    fi
    end_process "$xvfb_pid"
    rm -rf "$session"
    exit "$status"
}
trap teardown EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# X first: a wineserver started without DISPLAY makes every later window fail.
start_private_xvfb "$session" 800x600x24

export WINEPREFIX=$session/prefix WINEARCH=win64 WINEDEBUG=-all,err+module
export WINEDLLOVERRIDES="mscoree=;mshtml="
# A persistent server in the foreground, so that its process id is ours to end. It needs the
# prefix folder to exist.
mkdir "$WINEPREFIX"
wineserver -f -p </dev/null >"$session/wineserver.log" 2>&1 &
server_pid=$!
timeout 120 wineboot -i >/dev/null 2>&1
# Without a window manager Wine stalls on every DestroyWindow unless it manages no windows itself.
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
# A crash then ends the program with its exception code instead of a dialog that waits forever.
timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null

export QUILLMESH_WINE_SESSION=$session
set +e
run_session_command "$limit" "$@"
