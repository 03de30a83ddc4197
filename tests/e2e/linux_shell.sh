#!/usr/bin/env bash
# The real quillmesh program on a private Xvfb: its own window, the full-screen saver's closing
# rules, drawing into a foreign window, SIGTERM in every mode, no frames while nobody can see
# them, and the command line's refusals.
#   bash tests/e2e/linux_shell.sh build/native
# Starts its own Xvfb through tests/xvfb_session.sh unless it runs inside one.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [[ -z ${QUILLMESH_XVFB_SESSION:-} ]]; then
    exec "$here/../xvfb_session.sh" --timeout 600 bash "$0" "$@"
fi
source "$here/lib.sh"
source "$here/linux_lib.sh"
quillmesh=$(cd "$1" && pwd)/shell/linux/quillmesh
send_wm_delete=$(cd "$1" && pwd)/tests/shell/x11/send_wm_delete
fake_dpms=$(cd "$1" && pwd)/tests/shell/x11/libfake_dpms.so
work=$(mktemp -d "${TMPDIR:-/tmp}/quillmesh-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Settings of our own, so the user's file plays no part.
export XDG_CONFIG_HOME=$work/config

echo "--- its own window"
start_program --max-fps 30
id=$(wait_for_window Quillmesh) || id=""
check "a window titled Quillmesh appears" test -n "$id"
check "the window is Resolution X by Resolution Y (800x600)" window_size_is "$id" 800x600
check "the window shows a lit picture" wait_for_picture "$id" "$work/window.png"
check "the picture is centred in the window" centred_in_picture "$work/window.png"
xdotool windowsize "$id" 120 120
sleep 0.5
window_picture "$id" "$work/resized.png"
check "after a resize to 120x120 the picture fills the smaller window" \
    follows_size "$work/resized.png"
xdotool windowsize "$id" 300 100
sleep 0.5
window_picture "$id" "$work/wide.png"
check "after a resize to 300x100 it fills that one" follows_size "$work/wide.png"
xdotool key --window "$id" Escape 2>/dev/null
check "Escape closes the window with 0" ended_with_zero_within 2
stop_program

start_program --max-fps 20
id=$(wait_for_window Quillmesh) || id=""
"$send_wm_delete" "$id"
check "the window manager's close (WM_DELETE_WINDOW) closes it with 0" ended_with_zero_within 2
stop_program

start_program --width 320 --height 240
id=$(wait_for_window Quillmesh) || id=""
check "--width and --height size the window" window_size_is "$id" 320x240
xdotool key --window "$id" space 2>/dev/null
sleep 0.3
check "another key leaves the window open" still_running
check "SIGTERM ends the window mode with 0 within a second" ends_on_sigterm
stop_program

echo "--- the full-screen saver"
fullscreen() { # fullscreen ARG...: starts the saver with the pointer at 400,300
    xdotool mousemove 400 300
    sleep 0.1
    start_program --fullscreen "$@"
    id=$(wait_for_window Quillmesh) || id=""
    # The window takes the focus once it is mapped; wait for that before testing its rules.
    for _ in $(seq 50); do
        [[ $(xdotool getwindowfocus 2>/dev/null) == "$id" ]] && break
        sleep 0.05
    done
}
fullscreen
check "the saver covers the screen (800x600)" window_size_is "$id" 800x600
check "the saver's window is override-redirect" \
    bash -c "xwininfo -id '$id' | grep -q 'Override Redirect State: yes'"
check "the saver has the input focus" test "$(xdotool getwindowfocus)" = "$id"
check "the saver draws" wait_for_picture "$id" "$work/saver.png"
xdotool mousemove 450 300
sleep 0.3
check "50 px of travel along x keeps the saver" still_running
xdotool mousemove 350 250
sleep 0.3
check "50 px along both axes at once keeps it" still_running
xdotool mousemove 400 351
check "51 px of travel along y ends it with 0" ended_with_zero_within 2
check "no window of the saver is left on the screen" \
    bash -c "! xdotool search --onlyvisible --name '^Quillmesh\$' >/dev/null 2>&1"
stop_program

fullscreen
xdotool mousemove 349 300
check "51 px to the left ends it with 0" ended_with_zero_within 2
stop_program

fullscreen
xdotool key a
check "a key ends the saver with 0" ended_with_zero_within 2
stop_program

fullscreen
xdotool click 1
check "a mouse button ends the saver with 0" ended_with_zero_within 2
stop_program

fullscreen --mouse-threshold 5
xdotool mousemove 405 300
sleep 0.3
check "--mouse-threshold 5 keeps the saver at 5 px" still_running
xdotool mousemove 406 300
check "and ends it at 6 px" ended_with_zero_within 2
stop_program

xlogo -geometry 100x100+0+0 2>/dev/null &
other_pid=$!
other=$(wait_for_window xlogo) || other=""
fullscreen
xdotool windowfocus "$other" 2>/dev/null
check "losing the focus ends the saver with 0" ended_with_zero_within 2
stop_program

xdotool windowfocus "$other" 2>/dev/null
sleep 0.2
fullscreen
xdotool key a
check "a key ends the saver" ended_with_zero_within 2
check "and the focus goes back to the window that had it" \
    test "$(xdotool getwindowfocus 2>/dev/null)" = "$other"
stop_program
kill "$other_pid" 2>/dev/null
wait "$other_pid" 2>/dev/null

fullscreen
sleep 0.3
check "SIGTERM ends the saver with 0 within a second" ends_on_sigterm
check "and leaves no window of the saver behind" \
    bash -c "! xdotool search --onlyvisible --name '^Quillmesh\$' >/dev/null 2>&1"
stop_program

echo "--- a window made by somebody else"
# xlogo's drawing area is the child of its top-level window.
xlogo -geometry 320x240+0+0 2>/dev/null &
host_pid=$!
top=$(wait_for_window xlogo) || top=""
host=$(xwininfo -children -id "$top" | awk '/child(ren)?:$/ { getline; print $1; exit }')
start_program --window-id "$host"
check "--window-id draws inside the given window" wait_for_picture "$host" "$work/hosted.png"
check "the picture is centred in it" centred_in_picture "$work/hosted.png"
xdotool windowsize "$top" 120 120
sleep 0.7
window_picture "$host" "$work/hosted-resized.png"
check "the picture follows the window's new size" follows_size "$work/hosted-resized.png"
check "the given window keeps its own title" test "$(xdotool getwindowname "$top")" = xlogo
kill "$host_pid"
wait "$host_pid" 2>/dev/null
check "the program ends with 0 when the window goes away" ended_with_zero_within 1
stop_program

xlogo -geometry 320x240+0+0 2>/dev/null &
host_pid=$!
top=$(wait_for_window xlogo) || top=""
host=$(xwininfo -children -id "$top" | awk '/child(ren)?:$/ { getline; print $1; exit }')
start_program -window-id "$host"
wait_for_picture "$host" "$work/hosted.png"
check "SIGTERM ends the --window-id mode with 0 within a second" ends_on_sigterm
stop_program
check "the given window outlives the program" kill -0 "$host_pid"

XSCREENSAVER_WINDOW=$host start_program --root
check "--root draws into XSCREENSAVER_WINDOW" wait_for_picture "$host" "$work/xss.png"
kill -INT "$program_pid"
check "SIGINT ends it with 0" ended_with_zero_within 1
stop_program
kill "$host_pid"
wait "$host_pid" 2>/dev/null

start_program -root
check "-root without XSCREENSAVER_WINDOW draws on the root window" \
    wait_for_picture root "$work/root.png"
check "SIGTERM ends the --root mode with 0 within a second" ends_on_sigterm
stop_program

XSCREENSAVER_WINDOW=nonsense "$quillmesh" --root 2>"$work/err"
status=$?
check "a malformed XSCREENSAVER_WINDOW is refused with 1 and named" \
    bash -c "(( $status == 1 )) && grep -q XSCREENSAVER_WINDOW '$work/err'"
"$quillmesh" --window-id 0x1fffff0 2>"$work/err"
status=$?
check "a window id that does not exist is refused with 1" \
    bash -c "(( $status == 1 )) && grep -q 'no window' '$work/err'"

echo "--- no frame that nobody can see"
start_program --fps --max-fps 30
id=$(wait_for_window Quillmesh) || id=""
check "unmapped: drawing pauses, no frame until it is mapped again, then it resumes" \
    pauses_while_hidden "the window is not viewable" "xdotool windowunmap $id" \
    "xdotool windowmap $id"
stop_program

start_program --fps --max-fps 30
id=$(wait_for_window Quillmesh) || id=""
wait_for_log ' fps$'
xlogo -geometry 400x300+0+0 2>/dev/null &
cover_pid=$!
sleep 1
check "half covered, it draws on" bash -c "! grep -q paused '$program_log'"
end_process "$cover_pid"
check "fully covered: it pauses, draws nothing, and resumes when uncovered" \
    pauses_while_hidden "the window is covered" \
    "xlogo -geometry 800x600+0+0 2>/dev/null & cover_pid=\$!" 'end_process "$cover_pid"'
stop_program

xlogo -geometry 320x240+0+0 2>/dev/null &
host_pid=$!
top=$(wait_for_window xlogo) || top=""
host=$(xwininfo -children -id "$top" | awk '/child(ren)?:$/ { getline; print $1; exit }')
start_program --window-id "$host" --fps --max-fps 30
check "a given window that is no longer viewable (its parent unmapped) pauses it too" \
    pauses_while_hidden "the window is not viewable" "xdotool windowunmap $top" \
    "xdotool windowmap $top"
stop_program
end_process "$host_pid"

# Xvfb has no DPMS, so the program gets its answers from a stand-in preloaded for libXext's.
echo on >"$work/dpms"
LD_PRELOAD=$fake_dpms QUILLMESH_FAKE_DPMS=$work/dpms start_program --fps --max-fps 30
check "the display asleep (DPMS off): it pauses, draws nothing, and resumes when it wakes" \
    pauses_while_hidden "the display is asleep" "echo off >'$work/dpms'" "echo on >'$work/dpms'"
echo off >"$work/dpms"
sleep 1.5
# XScreenSaver ends its hacks with SIGTERM, whether or not they are drawing.
check "SIGTERM while paused ends it with 0 within a second" ends_on_sigterm
stop_program

echo "--- command line and settings"
bad_value() { # bad_value OPTION ARG...: exit 2, and the message names the option and the range
    local option=$1
    shift
    "$quillmesh" "$@" >/dev/null 2>"$work/err"
    local status=$?
    ((status == 2)) && grep -q -- "$option" "$work/err" && grep -q -E "from|expected" "$work/err"
}
check "--dot-size 0 exits 2 naming the option" bad_value --dot-size --dot-size 0
check "--line-size 11 exits 2 naming the option" bad_value --line-size --line-size 11
check "--rendermode bogus exits 2 naming the option" bad_value --rendermode --rendermode bogus
check "--max-fps -1 exits 2 naming the option" bad_value --max-fps --max-fps -1
check "--window-id x exits 2 naming the option" bad_value --window-id --window-id x
"$quillmesh" --no-such-option 2>"$work/err"
status=$?
check "an unknown option exits 2 and names it" \
    bash -c "(( $status == 2 )) && grep -q -- '--no-such-option' '$work/err'"
check "--help lists the options and exits 0" \
    bash -c "'$quillmesh' --help | grep -q -- '--mouse-threshold'"

check "--settings prints the defaults without a settings file" \
    bash -c "'$quillmesh' --settings | grep -qx 'Dot Size=8'"
check "--save stores the options" "$quillmesh" --rendermode all --dot-size 12 --save
check "the stored file holds them" \
    bash -c "grep -qx 'Rendermode=3' '$XDG_CONFIG_HOME/quillmesh/settings' &&
             grep -qx 'Dot Size=12' '$XDG_CONFIG_HOME/quillmesh/settings'"
check "a later run reads them" bash -c "'$quillmesh' --settings | grep -qx 'Rendermode=3'"
check "and an option overrides them for that run only" \
    bash -c "'$quillmesh' --rendermode 1 --settings | grep -qx 'Rendermode=1' &&
             grep -qx 'Rendermode=3' '$XDG_CONFIG_HOME/quillmesh/settings'"
sed -i 's/^Dot Size=.*/Dot Size=50/' "$XDG_CONFIG_HOME/quillmesh/settings"
check "a stored out-of-range value is taken unchanged" \
    bash -c "'$quillmesh' --settings | grep -qx 'Dot Size=50'"
start_program --max-fps 10
id=$(wait_for_window Quillmesh) || id=""
check "and the program runs with it" wait_for_picture "$id" "$work/dot50.png"
stop_program
sed -i -e 's/^Resolution X=.*/Resolution X=0/' -e 's/^Resolution Y=.*/Resolution Y=-7/' \
    "$XDG_CONFIG_HOME/quillmesh/settings"
start_program --max-fps 10
id=$(wait_for_window Quillmesh) || id=""
check "a stored resolution of 0 by -7 still opens a window, of the smallest size" \
    window_size_is "$id" 1x1
check "and the program runs on" still_running
check "until SIGTERM ends it with 0" ends_on_sigterm
stop_program
touch "$work/not-a-folder"
XDG_CONFIG_HOME=$work/not-a-folder "$quillmesh" --save 2>"$work/err"
status=$?
check "a settings file that cannot be written fails --save with 1 and a message" \
    bash -c "(( $status == 1 )) && grep -q 'cannot store the settings' '$work/err'"

summary
