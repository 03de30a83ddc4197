#!/usr/bin/env bash
# Runs a command against a private headless weston (drawing in software), and ends it by its
# process id when the command ends, fails or is interrupted. Its headless backend has no seat:
# no input reaches a client.
#
#   tests/weston_session.sh [--timeout SECONDS] [--outputs N] COMMAND [ARG...]
#
# The command sees WAYLAND_DISPLAY, XDG_RUNTIME_DIR and QUILLMESH_COMPOSITOR_PID, and the rest
# that private_compositor.sh says. Its output is 1024x768; weston 10's headless backend makes
# one, whatever --outputs says. --debug lets weston-screenshooter take pictures.
set -euo pipefail
source "$(dirname "$0")/private_compositor.sh" weston "$@"

start_as_user weston weston --backend=headless-backend.so --use-pixman --width=1024 \
    --height=768 --socket=wayland-quillmesh --idle-time=0 --debug
wait_until test -S "$runtime/wayland-quillmesh"
run_in_session wayland-quillmesh "$last_user_pid"
