#!/usr/bin/env bash
# Runs a command against a private headless sway (wlroots' headless backend, drawing in
# software), and ends that sway by its process id when the command ends, fails or is interrupted.
#
#   tests/sway_session.sh [--timeout SECONDS] [--outputs N] COMMAND [ARG...]
#
# The command sees WAYLAND_DISPLAY, XDG_RUNTIME_DIR, SWAYSOCK (for swaymsg) and
# QUILLMESH_COMPOSITOR_PID, and the rest that private_compositor.sh says.
set -euo pipefail
source "$(dirname "$0")/private_compositor.sh" sway "$@"

# Moving the focus must not move the pointer: to a saver that is travel.
cat >"$session/config" <<'EOT'
xwayland disable
mouse_warping none
EOT
session_environment=(WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1
    WLR_HEADLESS_OUTPUTS="$session_outputs")
start_as_user sway sway -c "$session/config"
# Ready once it answers on its socket.
sway_answers() {
    SWAYSOCK=$(compgen -G "$runtime/sway-ipc.*.sock") swaymsg -t get_version &&
        compgen -G "$runtime/wayland-*[0-9]"
}
wait_until sway_answers
display=$(compgen -G "$runtime/wayland-*[0-9]")
export SWAYSOCK=$(compgen -G "$runtime/sway-ipc.*.sock")
run_in_session "${display##*/}" "$last_user_pid"
