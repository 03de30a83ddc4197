#!/usr/bin/env bash
# Runs a command against a private headless mutter (GNOME's compositor, without GNOME Shell)
# with its own session bus, and PipeWire with WirePlumber for its screen casts; ends them all by
# process id when the command ends, fails or is interrupted.
#
#   tests/mutter_session.sh [--timeout SECONDS] [--outputs N] COMMAND [ARG...]
#
# The command sees WAYLAND_DISPLAY, XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS (mutter's
# org.gnome.Mutter.RemoteDesktop and ScreenCast are there) and QUILLMESH_COMPOSITOR_PID, and the
# rest that private_compositor.sh says. Its outputs are 1024x768 each, side by side.
set -euo pipefail
source "$(dirname "$0")/private_compositor.sh" mutter "$@"

start_session_bus
start_as_user pipewire pipewire
wait_until test -S "$runtime/pipewire-0"
start_as_user wireplumber wireplumber
monitors=()
for _ in $(seq "$session_outputs"); do
    monitors+=(--virtual-monitor 1024x768)
done
start_as_user mutter mutter --headless --wayland --no-x11 "${monitors[@]}" \
    --wayland-display wayland-quillmesh
# Ready once its display and its remote desktop service are there.
mutter_answers() {
    test -S "$runtime/wayland-quillmesh" &&
        gdbus introspect --session --dest org.gnome.Mutter.RemoteDesktop \
            --object-path /org/gnome/Mutter/RemoteDesktop
}
wait_until mutter_answers
run_in_session wayland-quillmesh "$last_user_pid"
