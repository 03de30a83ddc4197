#!/usr/bin/env bash
# Runs a command against a private Xvfb on whatever display number is free, and ends that Xvfb
# by its process id when the command ends, fails or is interrupted.
#
#   tests/xvfb_session.sh [--timeout SECONDS] [--screen WxHxD] COMMAND [ARG...]
#
# Inside a session already (QUILLMESH_XVFB_SESSION set) it only runs the command.
set -euo pipefail

limit=${QUILLMESH_XVFB_TIMEOUT:-300}
screen=800x600x24
while [[ ${1:-} == --* ]]; do
    case $1 in
    --timeout) limit=$2 ;;
    --screen) screen=$2 ;;
    *) break ;;
    esac
    shift 2
done
if [[ -n ${QUILLMESH_XVFB_SESSION:-} ]]; then
    exec timeout -k 5 "$limit" "$@"
fi

session=$(mktemp -d "${TMPDIR:-/tmp}/quillmesh-xvfb.XXXXXX")
xvfb_pid=""

teardown() {
    local status=$?
    trap - EXIT INT TERM
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$session"
    exit "$status"
}
trap teardown EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$session/display" \
    >"$session/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 200); do
    [[ -s $session/display ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$session/xvfb.log" >&2; exit 1; }
    sleep 0.05
done
DISPLAY=:$(tr -d '[:space:]' <"$session/display")
# The server's pid lets a benchmark count the server's share of the work.
export DISPLAY QUILLMESH_XVFB_SESSION=$session QUILLMESH_XVFB_PID=$xvfb_pid

set +e
timeout -k 5 "$limit" "$@"
