#!/usr/bin/env bash
# Runs a command against a private Xvfb on whatever display number is free, and ends that Xvfb
# by its process id when the command ends, fails or is interrupted.
#
#   tests/xvfb_session.sh [--timeout SECONDS] [--screen WxHxD] COMMAND [ARG...]
#
# Inside a session already (QUILLMESH_XVFB_SESSION set) it only runs the command.
set -euo pipefail
source "$(dirname "$0")/private_xvfb.sh"

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
command_pid=""

teardown() {
    local status=$?
    trap - EXIT INT TERM
    end_process "$command_pid"
    end_process "$xvfb_pid"
    rm -rf "$session"
    exit "$status"
}
trap teardown EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

start_private_xvfb "$session" "$screen"
# The server's pid lets a benchmark count the server's share of the work.
export DISPLAY QUILLMESH_XVFB_SESSION=$session QUILLMESH_XVFB_PID=$xvfb_pid
# Only this X server: a Wayland session around it would draw the program elsewhere.
unset WAYLAND_DISPLAY

set +e
run_session_command "$limit" "$@"
