#!/usr/bin/env bash
# Runs a command against a private virtual KWin (KDE Plasma's compositor, without Plasma) with
# its own session bus, and ends them by process id when the command ends, fails or is
# interrupted.
#
#   tests/kwin_session.sh [--timeout SECONDS] [--outputs N] COMMAND [ARG...]
#
# The command sees WAYLAND_DISPLAY, XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS (KWin's
# org.kde.KWin.ScreenShot2 is there) and QUILLMESH_COMPOSITOR_PID, and the rest that
# private_compositor.sh says. Its outputs are 1024x768 each, side by side. Any client may use
# org_kde_kwin_fake_input and take screen pictures.
set -euo pipefail
source "$(dirname "$0")/private_compositor.sh" kwin "$@"

start_session_bus
# The installed binary carries a file capability (cap_sys_resource) that a container may refuse
# to grant; a copy carries none.
install -m 755 /usr/bin/kwin_wayland "$session/kwin_wayland"
session_environment+=(QT_QPA_PLATFORM=offscreen KWIN_WAYLAND_NO_PERMISSION_CHECKS=1
    KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1)
start_as_user kwin "$session/kwin_wayland" --virtual --width 1024 --height 768 \
    --output-count "$session_outputs" --socket wayland-quillmesh --no-lockscreen \
    --no-global-shortcuts --no-kactivities
# Ready once its display and its screenshot service are there.
kwin_answers() {
    test -S "$runtime/wayland-quillmesh" &&
        gdbus introspect --session --dest org.kde.KWin --object-path /org/kde/KWin/ScreenShot2
}
wait_until kwin_answers
run_in_session wayland-quillmesh "$last_user_pid"
