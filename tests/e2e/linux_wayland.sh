#!/usr/bin/env bash
# The real quillmesh program on a private compositor with two outputs (weston: one): its own
# window, the full-screen saver on both outputs with its closing rules, SIGTERM, and a compositor
# that cannot be reached or goes away. The same cases on each compositor; sway's tools let its
# run look closer (sizes, focus, workspaces, swayidle, a scale of 2, an output plugged in).
# weston's headless backend has no seat: there the window draws and SIGTERM ends it.
#   bash tests/e2e/linux_wayland.sh build/native [sway|mutter|kwin|weston]
# Starts its own compositor through tests/COMPOSITOR_session.sh unless it runs inside one. Pictures
# of the whole screen go to BUILD/screenshots/ to be looked at.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
compositor=${2:-sway}
if [[ ${QUILLMESH_COMPOSITOR:-} != "$compositor" ]]; then
    exec "$here/../${compositor}_session.sh" --timeout 600 --outputs 2 bash "$0" "$@"
fi
source "$here/lib.sh"
source "$here/linux_lib.sh"
build=$(cd "$1" && pwd)
quillmesh=$build/shell/linux/quillmesh
work=$(mktemp -d "${TMPDIR:-/tmp}/quillmesh-e2e.XXXXXX")
shots=$build/screenshots
mkdir -p "$shots"
# Linux key and button codes of what the script presses, for the drivers that send codes.
declare -A key_codes=([Escape]=1 [a]=30 [space]=57)
left_button=272
# plug_in_input, unplug_input, park_pointer X Y, move_pointer DX DY, press_key NAME, click,
# take_picture FILE (all outputs), output_regions ("X,Y WxH" each)
source "$here/wayland/$compositor.sh"
trap 'unplug_input; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
# Nothing may fall back on X.
unset DISPLAY

is_black() { [[ $(convert "$1" -format '%[fx:maxima]' info:) == 0 ]]; }

# The box in which two pictures differ: "WIDTH HEIGHT".
changed_box() { # changed_box PICTURE PICTURE
    convert "$1" "$2" -compose difference -composite -colorspace gray -threshold 4% \
        -format '%@' info: 2>/dev/null | awk -F '[x+]' '{ print $1, $2 }'
}

# Succeeds once the screen differs from the picture taken before over at least 320x240 (the
# program's frames arrive) and a later picture differs again (they keep coming).
draws_since() { # draws_since PICTURE
    local width height
    for _ in $(seq 20); do
        take_picture "$work/now.png" && read -r width height < <(changed_box "$1" "$work/now.png")
        ((${width:-0} >= 320 && ${height:-0} >= 240)) && break
        sleep 0.25
    done
    ((${width:-0} >= 320 && ${height:-0} >= 240)) ||
        { echo "  the screen changed over ${width:-0}x${height:-0}" >&2; return 1; }
    sleep 0.3
    take_picture "$work/later.png" &&
        read -r width height < <(changed_box "$work/now.png" "$work/later.png")
    ((width > 0)) || { echo "  but then stood still" >&2; return 1; }
}

# Each output has a full-screen toplevel of its size (from the program's protocol log), the
# first shows the picture and the second is black (from a picture of both, once the
# compositor's map animation is over).
covers_outputs() {
    local size=${output_regions[0]#* } toplevels
    for _ in $(seq 50); do
        toplevels=$(grep -Eo "xdg_toplevel@[0-9]+\.configure\(${size/x/, }," "$program_log" |
            sort -u | wc -l)
        ((toplevels == ${#output_regions[@]})) && break
        sleep 0.1
    done
    ((toplevels == ${#output_regions[@]})) ||
        { echo "  $toplevels toplevels configured at $size" >&2; return 1; }
    crop() { # crop OUTPUT FILE
        local place=${output_regions[$1]% *}
        convert "$work/outputs.png" -crop "${output_regions[$1]#* }+${place/,/+}" +repage "$2"
    }
    for _ in $(seq 20); do
        take_picture "$work/outputs.png" && crop 0 "$work/first.png" && crop 1 "$work/second.png" &&
            at_least "$(lit_share "$work/first.png")" 0.01 && is_black "$work/second.png" && return 0
        sleep 0.2
    done
    echo "  the first output's lit share $(lit_share "$work/first.png")," \
        "the second's brightest pixel $(convert "$work/second.png" -format '%[fx:maxima]' info:)" >&2
    return 1
}

# A picture of half the size stretched over an output of scale 2 is made of 2x2 blocks: drawn at
# the output's own pixel size, a good share of its lit pixels differ from those blocks.
drawn_at_pixel_size() { # drawn_at_pixel_size FILE
    local lit off_blocks
    lit=$(lit_share "$1")
    off_blocks=$(convert "$1" \( +clone -sample 50% -sample 200% \) -compose difference -composite \
        -colorspace gray -threshold 4% -format '%[fx:mean]' info:)
    at_least "$off_blocks" "$(awk -v l="$lit" 'BEGIN { print l / 5 }')" ||
        { echo "  lit $lit of the picture, off its 2x2 blocks $off_blocks" >&2; return 1; }
}

plug_in_input || { echo "no input devices on $compositor" >&2; exit 1; }

echo "--- its own window ($compositor)"
take_picture "$work/desktop.png"
[[ $compositor == sway ]] && park_pointer 1200 700
WAYLAND_DEBUG=1 start_program --max-fps 30
check "the window draws a moving picture" draws_since "$work/desktop.png"
take_picture "$shots/wayland-$compositor-window.png"
if [[ $compositor == weston ]]; then
    check "SIGTERM ends it with 0 within a second" ends_on_sigterm
    stop_program
    summary
    exit
fi

# One line per toplevel of ours, as sway sees it: output, fullscreen (0 or 1), the content's
# place (x y width height), border, focused, process id.
views() {
    swaymsg -t get_tree | python3 -c '
import json, signal, sys
signal.signal(signal.SIGPIPE, signal.SIG_DFL)  # grep -q may stop reading
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

# What the program asked the pointer to show on entering its surface, from its protocol log
# (WAYLAND_DEBUG): "nil" for nothing, else the surface with the picture. The headless sway's
# screen copies do not show its software cursor reliably, so pictures cannot tell.
pointer_picture_set() { # pointer_picture_set nil|wl_surface
    grep -Eq "wl_pointer@[0-9]+\.set_cursor\([0-9]+, $1" "$program_log"
}

if [[ $compositor == sway ]]; then
    check "a toplevel titled Quillmesh appears" wait_for_views 1
    # sway tiles windows; floating, a window takes the size it asked for.
    swaymsg '[app_id="quillmesh"] floating enable' >/dev/null
    sleep 0.3
    check "it is Resolution X by Resolution Y (800x600)" \
        test "$(views | awk '{ print $5 "x" $6 }')" = 800x600
    check "with a title bar from the compositor (xdg-decoration)" \
        test "$(views | awk '{ print $7 }')" = normal
    region=$(window_region)
    wait_for_region_picture "$region" "$work/window.png"
    check "the picture is centred in the window" centred_in_picture "$work/window.png"
    convert "$work/window.png" -crop 16x16+0+0 +repage "$work/corner.png"
    check "its background is opaque black, not the desktop's grey behind it" is_black "$work/corner.png"
    read -r wx wy _ < <(views | awk '{ print $3, $4 }')
    park_pointer $((wx + 10)) $((wy + 10))
    sleep 0.3
    check "over the window the pointer shows an arrow" pointer_picture_set wl_surface
    swaymsg '[app_id="quillmesh"] resize set 320 240' >/dev/null
    sleep 0.5
    region_picture "$(window_region)" "$work/resized.png"
    check "after a resize to 320x240 the picture fills the smaller window" \
        follows_size "$work/resized.png"
    press_key space
    sleep 0.3
    check "another key leaves the window open" still_running
fi
press_key Escape
check "Escape closes the window with 0" ended_with_zero_within 2
stop_program

if [[ $compositor == sway ]]; then
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
fi

echo "--- the full-screen saver on two outputs ($compositor)"
# The saver with the pointer parked at X,Y, from the moment its first frame is drawn.
saver_at() { # saver_at X Y ARG...
    park_pointer "$1" "$2"
    shift 2
    start_program --fullscreen --fps "$@"
    wait_for_log '^quillmesh: first frame drawn$' 10
    if [[ $compositor == sway ]]; then
        wait_for_views $((${#output_regions[@]}))
        for _ in $(seq 50); do views | grep -q ' true ' && break; sleep 0.05; done
    else
        # The others map the window only after its first frame; a motion before the pointer
        # has entered it goes to the desktop.
        sleep 0.3
    fi
}
WAYLAND_DEBUG=1 saver_at 20 20
check "each output has a full-screen toplevel of its size, the first with the picture, the second black" \
    covers_outputs
take_picture "$shots/wayland-$compositor-fullscreen.png"
if [[ $compositor == sway ]]; then
    check "sway sees them full screen on both outputs" \
        test "$(views | awk '{ print $1, $2, $5 "x" $6 }' | sort | tr '\n' ' ')" = \
        "HEADLESS-1 1 1280x720 HEADLESS-2 1 1280x720 "
    check "and the saver has the focus" bash -c "$(declare -f views); views | grep -q ' true '"
    check "the pointer is hidden over it" pointer_picture_set nil
    swaymsg focus output HEADLESS-2 >/dev/null
    sleep 0.3
    check "the focus moving to its other output keeps it" still_running
    move_pointer 50 0
    sleep 0.3
    check "50 px of travel along x keeps it" still_running
    move_pointer -100 50
    sleep 0.3
    check "50 px along both axes at once keeps it" still_running
fi
stop_program

# A compositor's window animation, enter and re-enter are no travel, wherever the pointer is
# parked.
for place in "200 150" "800 150" "200 600" "800 600"; do
    # shellcheck disable=SC2086
    saver_at $place
    move_pointer 1 0
    sleep 0.5
    check "a 1 px nudge right after start keeps it (pointer at ${place/ /, })" still_running
    stop_program
done

saver_at 400 300
move_pointer 0 51
check "51 px along y ends it with 0" ended_with_zero_within 2
if [[ $compositor == sway ]]; then
    sleep 0.3
    check "no toplevel of it is left" test "$(views | wc -l)" -eq 0
fi
stop_program

saver_at 400 300
press_key a
check "a key ends it with 0" ended_with_zero_within 2
stop_program

saver_at 400 300
check "SIGTERM ends the saver with 0 within a second" ends_on_sigterm
if [[ $compositor == sway ]]; then
    sleep 0.3
    check "and leaves no toplevel of it behind" test "$(views | wc -l)" -eq 0
fi
stop_program

if [[ $compositor == sway ]]; then
    saver_at 400 300
    move_pointer -51 0
    check "51 px to the left ends it" ended_with_zero_within 2
    stop_program

    saver_at 1270 300
    move_pointer 20 0
    sleep 0.3
    check "20 px onto the second output keeps it: travel is measured across outputs" still_running
    move_pointer 31 0
    check "and 51 px ends it" ended_with_zero_within 2
    stop_program

    saver_at 400 300
    end_process "$keyboard_pid"
    sleep 0.3
    check "the keyboard unplugged is no loss of focus" still_running
    plug_in_keyboard
    sleep 0.3 # for the saver to take the new keyboard
    press_key a
    check "a key on the new keyboard ends it with 0" ended_with_zero_within 2
    stop_program

    saver_at 400 300
    click
    check "a mouse button ends it with 0" ended_with_zero_within 2
    stop_program

    saver_at 400 300
    swaymsg seat seat0 cursor press button4 >/dev/null
    check "so does the wheel, as on X11" ended_with_zero_within 2
    stop_program

    saver_at 400 300
    swaymsg workspace number 9 >/dev/null
    check "losing the focus ends it with 0" ended_with_zero_within 2
    stop_program
    swaymsg workspace number 1 >/dev/null

    echo "--- on an output of scale 2"
    swaymsg output HEADLESS-1 scale 2 >/dev/null
    saver_at 20 20
    sleep 0.5
    grim -o HEADLESS-1 "$work/scaled.png"
    cp "$work/scaled.png" "$shots/wayland-scale-2.png"
    check "the picture is drawn at the output's 1280x720 pixels, not stretched from 640x360" \
        drawn_at_pixel_size "$work/scaled.png"
    stop_program
    swaymsg output HEADLESS-1 scale 1 >/dev/null

    echo "--- as the screen saver of swayidle"
    # As README.md tells: with -w swayidle waits for its commands, so the saver goes in the
    # background and the later timeout (the displays' power) can come while it runs.
    swayidle -w timeout 1 "$quillmesh --fullscreen &" timeout 3 "touch $work/displays-off" \
        >/dev/null 2>&1 &
    idle_pid=$!
    check "after a second of idleness swayidle starts the saver on both outputs" wait_for_views 2
    check "a later idle timeout still comes while it runs: nothing inhibits idleness" \
        bash -c "for _ in \$(seq 50); do [[ -e '$work/displays-off' ]] && exit 0; sleep 0.1; done; exit 1"
    press_key a
    check "and a key ends it" bash -c "$(declare -f views wait_for_views); wait_for_views 0"
    end_process "$idle_pid"
    for pid in $(views | awk '{ print $9 }' | sort -u); do kill "$pid"; done

    echo "--- an output plugged in while it runs"
    saver_at 400 300
    swaymsg create_output >/dev/null
    read -r new_output new_mode < <(swaymsg -t get_outputs | python3 -c '
import json, sys
o = sorted(json.load(sys.stdin), key=lambda o: o["name"])[-1]
print(o["name"], "%dx%d" % (o["current_mode"]["width"], o["current_mode"]["height"]))')
    check "the new output $new_output gets a full-screen toplevel at once" \
        bash -c "$(declare -f views wait_for_views); wait_for_views 3"
    # Sway 1.7 does not always repaint a new headless output once a window is mapped on it
    # (it goes on showing its own grey); setting the output's mode again makes it repaint.
    sleep 0.5
    swaymsg output "$new_output" resolution "$new_mode" >/dev/null
    sleep 0.5
    grim -o "$new_output" "$work/plugged.png"
    check "which is black" is_black "$work/plugged.png"
    check "and the saver still runs" still_running
    stop_program
    swaymsg output "$new_output" disable >/dev/null

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
fi

echo "--- the compositor going away ($compositor)"
# The window and the full-screen saver at once: every mode ends with 1 and the message.
went_away_with_one() { # went_away_with_one PID LOG
    local status
    for _ in $(seq 40); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.05
    done
    kill -0 "$1" 2>/dev/null && { echo "  still running" >&2; return 1; }
    wait "$1"
    status=$?
    ((status == 1)) || echo "  exit code $status" >&2
    ((status == 1)) && grep -q 'Wayland compositor' "$2"
}
start_program --max-fps 30
window_pid=$program_pid window_log=$program_log
saver_at 400 300
kill "$QUILLMESH_COMPOSITOR_PID"
check "a compositor that goes away ends the window with 1 and a message" \
    went_away_with_one "$window_pid" "$window_log"
check "and the full-screen saver" went_away_with_one "$program_pid" "$program_log"
stop_program
rm -f "$window_log"

summary
