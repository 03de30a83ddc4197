#!/usr/bin/env bash
# Runs a command in a private Wine session: its own Xvfb, its own fresh prefix and a persistent
# wineserver, all torn down by process id when the command ends, fails or is interrupted.
#
#   tests/wine_harness.sh [--timeout SECONDS] [--two-monitors | --screen WxH] COMMAND [ARG...]
#
# The screen is one monitor of 800x600 (of WxH with --screen); --two-monitors makes it two of
# 800x600 side by side, the left one primary.
# Inside a session already (as ctest is when the test script starts it here), it only runs the
# command under the timeout, so every test program shares the one session.
set -euo pipefail
source "$(dirname "$0")/private_xvfb.sh"

limit=${QUILLMESH_WINE_TIMEOUT:-300}
two_monitors=""
screen=800x600
while [[ ${1:-} == --timeout || ${1:-} == --two-monitors || ${1:-} == --screen ]]; do
    case $1 in
    --timeout) limit=$2 && shift ;;
    --screen) screen=$2 && shift ;;
    *) two_monitors=1 ;;
    esac
    shift
done
if [[ -n ${QUILLMESH_WINE_SESSION:-} ]]; then
    exec timeout -k 5 "$limit" "$@"
fi

session=$(mktemp -d "${TMPDIR:-/tmp}/quillmesh-wine.XXXXXX")
xvfb_pid=""
server_pid=""
command_pid=""

# A persistent server in the foreground, so that its process id is ours to end. It needs the
# prefix folder to exist.
start_wineserver() {
    wineserver -f -p </dev/null >>"$session/wineserver.log" 2>&1 &
    server_pid=$!
}

stop_wineserver() {
    if [[ -n $server_pid ]]; then
        # -k ends the session's programs and writes the registry out; never -k9.
        timeout 30 wineserver -k >/dev/null 2>&1 || true
        for _ in $(seq 100); do kill -0 "$server_pid" 2>/dev/null || break; sleep 0.1; done
        end_process "$server_pid"
        server_pid=""
    fi
}

teardown() {
    local status=$?
    trap - EXIT INT TERM
    end_process "$command_pid" # timeout passes it on to the command
    stop_wineserver
    end_process "$xvfb_pid"
    rm -rf "$session"
    exit "$status"
}
trap teardown EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# X first: a wineserver started without DISPLAY makes every later window fail.
if [[ -n $two_monitors ]]; then
    start_private_xvfb "$session" 1600x600x24
    # Two RandR monitors on the one screen. Switching the screen's own output off leaves exactly
    # them; X reports that as an error.
    xrandr --setmonitor +left 800/203x600/152+0+0 none
    xrandr --setmonitor right 800/203x600/152+800+0 none
    xrandr --output screen --off >/dev/null 2>&1 || true
else
    start_private_xvfb "$session" "${screen}x24"
fi

export WINEPREFIX=$session/prefix WINEARCH=win64 WINEDEBUG=-all,err+module
export WINEDLLOVERRIDES="mscoree=;mshtml="
mkdir "$WINEPREFIX"
start_wineserver
timeout 120 wineboot -i >/dev/null 2>&1
# Without a window manager Wine stalls on every DestroyWindow unless it manages no windows itself.
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
# A crash then ends the program with its exception code instead of a dialog that waits forever.
timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null
if [[ -n $two_monitors ]]; then
    # Wine sees the monitors through Xinerama only, and takes the display in when its server
    # starts: the one that made the prefix knows no monitor.
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null
    stop_wineserver
    start_wineserver
fi

export QUILLMESH_WINE_SESSION=$session
set +e
run_session_command "$limit" "$@"
