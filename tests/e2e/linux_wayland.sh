#!/usr/bin/env bash
# The real quillmesh program on a private headless sway with two outputs: its own window, the
# full-screen saver on both outputs with its closing rules, SIGTERM, and a compositor that
# cannot be reached or goes away.
#   bash tests/e2e/linux_wayland.sh build/native
# Starts its own sway through tests/sway_session.sh unless it runs inside one. Pictures of the
# whole screen go to BUILD/screenshots/ to be looked at.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [[ -z ${QUILLMESH_SWAY_SESSION:-} ]]; then
    exec "$here/../sway_session.sh" --timeout 600 --outputs 2 bash "$0" "$@"
fi
source "$here/lib.sh"
source "$here/linux_lib.sh"
build=$(cd "$1" && pwd)
quillmesh=$build/shell/linux/quillmesh
work=$(mktemp -d "${TMPDIR:-/tmp}/quillmesh-e2e.XXXXXX")
shots=$build/screenshots
mkdir -p "$shots"
pointer_pid=""
keyboard_pid=""
trap 'end_process "$pointer_pid"; end_process "$keyboard_pid"; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
# Nothing may fall back on X.
unset DISPLAY

# One line per toplevel of ours, as sway sees it: output, fullscreen (0 or 1), the content's
# place (x y width height), border, focused, process id.
views() {
    swaymsg -t get_tree | python3 -c '
import json, sys
def walk(node, output=None):
    if node.get("type") == "output":
        output = node["name"]
    if node.get("app_id") == "quillmesh" and node.get("name") == "Quillmesh":
        r, w = node["rect"], node["window_rect"]
        print(output, node["fullscreen_mode"], r["x"] + w["x"], r["y"] + w["y"], w["width"],
              w["height"], node["border"], str(node["focused"]).lower(), node["pid"])
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child, output)
walk(json.load(sys.stdin))'
}

wait_for_views() { # wait_for_views COUNT
    for _ in $(seq 100); do
        (($(views | wc -l) == $1)) && return 0
        sleep 0.1
    done
    return 1
}

# What a region of the screen shows: grim's picture of it, without the pointer.
region_picture() { # region_picture "X,Y WxH" FILE
    grim -g "$1" "$2"
}

window_region() { views | awk 'NR == 1 { print $3 "," $4 " " $5 "x" $6 }'; }

wait_for_region_picture() { # wait_for_region_picture "X,Y WxH" FILE
    for _ in $(seq 50); do
        region_picture "$1" "$2" && at_least "$(lit_share "$2")" 0.01 && return 0
        sleep 0.1
    done
    return 1
}

is_black() { [[ $(convert "$1" -format '%[fx:maxima]' info:) == 0 ]]; }

# What the program asked the pointer to show on entering its surface, from its protocol log
# (WAYLAND_DEBUG): "nil" for nothing, else the surface with the picture. The headless sway's
# screen copies do not show its software cursor reliably, so pictures cannot tell.
pointer_picture_set() { # pointer_picture_set nil|wl_surface
    grep -Eq "wl_pointer@[0-9]+\.set_cursor\([0-9]+, $1" "$program_log"
}

pointer_to() { swaymsg -- seat seat0 cursor set "$1" "$2" >/dev/null; }
pointer_by() { swaymsg -- seat seat0 cursor move "$1" "$2" >/dev/null; }

# A headless sway has no mouse and no keyboard: plug virtual ones in for the whole script, as
# a desktop has them. The keyboard lasts as long as this wtype sleeps; each later wtype is a
# second keyboard of its own.
plug_in_keyboard() {
    wtype -s 600000 &
    keyboard_pid=$!
    for _ in $(seq 50); do
        swaymsg -t get_seats | grep -q '"capabilities": 3' && break
        sleep 0.05
    done
}
"$build/tests/shell/wayland/plug_in_pointer" >"$work/pointer.log" 2>&1 &
pointer_pid=$!
plug_in_keyboard

echo "--- its own window"
pointer_to 1200 700
WAYLAND_DEBUG=1 start_program --max-fps 30
check "a toplevel titled Quillmesh appears" wait_for_views 1
# sway tiles windows; floating, a window takes the size it asked for.
swaymsg '[app_id="quillmesh"] floating enable' >/dev/null
sleep 0.3
check "it is Resolution X by Resolution Y (800x600)" \
    test "$(views | awk '{ print $5 "x" $6 }')" = 800x600
check "with a title bar from the compositor (xdg-decoration)" \
    test "$(views | awk '{ print $7 }')" = normal
region=$(window_region)
check "the window shows a lit picture" wait_for_region_picture "$region" "$work/window.png"
check "the picture is centred in the window" centred_in_picture "$work/window.png"
grim "$shots/wayland-window.png"
convert "$work/window.png" -crop 16x16+0+0 +repage "$work/corner.png"
check "its background is opaque black, not the desktop's grey behind it" is_black "$work/corner.png"
read -r wx wy _ < <(views | awk '{ print $3, $4 }')
pointer_to $((wx + 10)) $((wy + 10))
sleep 0.3
check "over the window the pointer shows an arrow" pointer_picture_set wl_surface
swaymsg '[app_id="quillmesh"] resize set 320 240' >/dev/null
sleep 0.5
region_picture "$(window_region)" "$work/resized.png"
check "after a resize to 320x240 the picture fills the smaller window" \
    follows_size "$work/resized.png"
wtype -k space
sleep 0.3
check "another key leaves the window open" still_running
wtype -k Escape
check "Escape closes the window with 0" ended_with_zero_within 2
stop_program

start_program --max-fps 20
wait_for_views 1
swaymsg '[app_id="quillmesh"] kill' >/dev/null
check "the compositor's close closes it with 0" ended_with_zero_within 2
stop_program

fps_lines() { grep -c 'fps$' "$program_log"; }
start_program --fps
wait_for_views 1
sleep 1.5
swaymsg '[app_id="quillmesh"] move to workspace 7' >/dev/null
sleep 0.5
before=$(fps_lines)
sleep 2.5
check "hidden on another workspace, it draws nothing" test "$(fps_lines)" -eq "$before"
swaymsg workspace 7 >/dev/null
sleep 2.5
check "shown again, it draws again" test "$(fps_lines)" -gt "$before"
check "SIGTERM ends the window mode with 0 within a second" ends_on_sigterm
stop_program
swaymsg workspace 1 >/dev/null

echo "--- the full-screen saver on two outputs"
fullscreen() { # fullscreen X Y ARG...: the saver with the pointer at X,Y
    pointer_to "$1" "$2"
    shift 2
    start_program --fullscreen "$@"
    wait_for_views 2
    for _ in $(seq 50); do views | grep -q ' true ' && break; sleep 0.05; done
}
WAYLAND_DEBUG=1 fullscreen 20 20
check "each output has a full-screen toplevel of its size" \
    test "$(views | awk '{ print $1, $2, $5 "x" $6 }' | sort | tr '\n' ' ')" = \
    "HEADLESS-1 1 1280x720 HEADLESS-2 1 1280x720 "
check "and the saver has the focus" bash -c "$(declare -f views); views | grep -q ' true '"
check "the first output shows the picture" \
    wait_for_region_picture "0,0 1280x720" "$work/first.png"
region_picture "1280,0 1280x720" "$work/second.png"
grim "$shots/wayland-fullscreen.png"
check "the second is black" is_black "$work/second.png"
check "the pointer is hidden over it" pointer_picture_set nil
swaymsg focus output HEADLESS-2 >/dev/null
sleep 0.3
check "the focus moving to its other output keeps it" still_running
pointer_by 50 0
sleep 0.3
check "50 px of travel along x keeps it" still_running
pointer_by -100 50
sleep 0.3
check "50 px along both axes at once keeps it" still_running
pointer_by 50 1
check "51 px along y ends it with 0" ended_with_zero_within 2
sleep 0.3
check "no toplevel of it is left" test "$(views | wc -l)" -eq 0
stop_program

fullscreen 400 300
pointer_by -51 0
check "51 px to the left ends it" ended_with_zero_within 2
stop_program

fullscreen 1270 300
pointer_by 20 0
sleep 0.3
check "20 px onto the second output keeps it: travel is measured across outputs" still_running
pointer_by 31 0
check "and 51 px ends it" ended_with_zero_within 2
stop_program

fullscreen 400 300
end_process "$keyboard_pid"
sleep 0.3
check "the keyboard unplugged is no loss of focus" still_running
plug_in_keyboard
sleep 0.3 # for the saver to take the new keyboard
wtype -k a
check "a key ends it with 0" ended_with_zero_within 2
stop_program

fullscreen 400 300
swaymsg seat seat0 cursor press button1 >/dev/null
swaymsg seat seat0 cursor release button1 >/dev/null
check "a mouse button ends it with 0" ended_with_zero_within 2
stop_program

fullscreen 400 300
swaymsg seat seat0 cursor press button4 >/dev/null
check "so does the wheel, as on X11" ended_with_zero_within 2
stop_program

fullscreen 400 300
swaymsg workspace number 9 >/dev/null
check "losing the focus ends it with 0" ended_with_zero_within 2
stop_program
swaymsg workspace number 1 >/dev/null

fullscreen 400 300
sleep 0.3
check "SIGTERM ends the saver with 0 within a second" ends_on_sigterm
sleep 0.3
check "and leaves no toplevel of it behind" test "$(views | wc -l)" -eq 0
stop_program

echo "--- as the screen saver of swayidle"
# As README.md tells: with -w swayidle waits for its commands, so the saver goes in the
# background and the later timeout (the displays' power) can come while it runs.
swayidle -w timeout 1 "$quillmesh --fullscreen &" timeout 3 "touch $work/displays-off" \
    >/dev/null 2>&1 &
idle_pid=$!
check "after a second of idleness swayidle starts the saver on both outputs" wait_for_views 2
check "a later idle timeout still comes while it runs: nothing inhibits idleness" \
    bash -c "for _ in \$(seq 50); do [[ -e '$work/displays-off' ]] && exit 0; sleep 0.1; done; exit 1"
wtype -k a
check "and a key ends it" bash -c "$(declare -f views wait_for_views); wait_for_views 0"
end_process "$idle_pid"
for pid in $(views | awk '{ print $9 }' | sort -u); do kill "$pid"; done

echo "--- which window system, and a compositor that is not there"
WAYLAND_DISPLAY=wayland-none "$quillmesh" 2>"$work/err"
status=$?
check "an unreachable WAYLAND_DISPLAY exits 1 with a message naming it" \
    bash -c "(( $status == 1 )) && grep -q \"Wayland display 'wayland-none'\" '$work/err'"
"$quillmesh" --x11 2>"$work/err"
status=$?
check "--x11 chooses X even under Wayland (here without an X display: 1)" \
    bash -c "(( $status == 1 )) && grep -q 'X display' '$work/err'"
"$quillmesh" --wayland --root 2>"$work/err"
status=$?
check "--root under --wayland is refused with 2: X11 only" \
    bash -c "(( $status == 2 )) && grep -q 'X11 only' '$work/err'"

start_program --max-fps 30
wait_for_views 1
kill "$QUILLMESH_SWAY_PID"
check "a compositor that goes away ends it with 1" \
    bash -c "for _ in \$(seq 40); do kill -0 $program_pid 2>/dev/null || exit 0; sleep 0.05; done; exit 1"
wait "$program_pid"
status=$?
check "and a message" bash -c "(( $status == 1 )) && grep -q 'Wayland compositor' '$program_log'"
stop_program

summary
