#!/usr/bin/env bash
# The full-screen saver on two monitors side by side (a private Xvfb of 1600x600 split by RandR
# 1.5 into two 800x600 monitors): both covered, the picture whole on the first, the closing rules
# over both, and monitors removed and the screen resized while it runs.
#   bash tests/e2e/linux_monitors.sh build/native [SCREENSHOT-FOLDER]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [[ -z ${QUILLMESH_XVFB_SESSION:-} ]]; then
    exec "$here/../xvfb_session.sh" --timeout 300 --screen 1600x600x24 bash "$0" "$@"
fi
source "$here/lib.sh"
source "$here/linux_lib.sh"
quillmesh=$(cd "$1" && pwd)/shell/linux/quillmesh
work=$(mktemp -d "${TMPDIR:-/tmp}/quillmesh-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
shots=${2:-$work}
mkdir -p "$shots"
export XDG_CONFIG_HOME=$work/config

# A grey root, so that black shows where the saver covers it.
xsetroot -solid gray40
monitor_count() { xrandr --listmonitors | sed -n 's/^Monitors: //p'; }
xrandr --setmonitor '*left' 800/203x600/152+0+0 none
xrandr --setmonitor right 800/203x600/152+800+0 none
# Takes the server's own whole-screen monitor away; xrandr reports an X error, and that is all.
xrandr --output screen --off 2>/dev/null
check "the server reports two monitors" test "$(monitor_count)" = 2

start_saver() { # start_saver X: the saver with the pointer at X,300
    xdotool mousemove "$1" 300
    sleep 0.1
    start_program --fullscreen
    id=$(wait_for_window Quillmesh) || id=""
    for _ in $(seq 50); do
        [[ $(xdotool getwindowfocus 2>/dev/null) == "$id" ]] && break
        sleep 0.05
    done
}

window_area_is() { # window_area_is WINDOW-ID WxH+X+Y
    local area
    area=$(xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ \
        { y = $4 } /Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h "+" x "+" y }')
    [[ $area == "$2" ]] || echo "  the window is $area" >&2
    [[ $area == "$2" ]]
}

# Takes a picture of the whole screen and cuts out each monitor.
screen_picture() { # screen_picture NAME: NAME.png, NAME-left.png, NAME-right.png
    sleep 0.5
    window_picture root "$shots/$1.png"
    convert "$shots/$1.png" -crop 800x600+0+0 +repage "$shots/$1-left.png"
    convert "$shots/$1.png" -crop 800x600+800+0 +repage "$shots/$1-right.png"
}
black() { test "$(convert "$1" -format '%[fx:maxima]' info:)" = 0; }
picture_whole_in() { at_least "$(lit_share "$1")" 0.05 && centred_in_picture "$1"; }

echo "--- two monitors"
start_saver 780
check "the picture's window is the first monitor, 800x600 at 0,0" window_area_is "$id" 800x600+0+0
screen_picture two
check "the first monitor shows the picture whole and centred" picture_whole_in "$shots/two-left.png"
check "the second is covered, all black" black "$shots/two-right.png"
xdotool mousemove 830 300
sleep 0.3
check "50 px of travel over the second monitor keeps the saver" still_running
xdotool mousemove 831 300
check "51 px ends it with 0" ended_with_zero_within 2
stop_program

start_saver 1200
xdotool key a
check "a key with the pointer over the second monitor ends it with 0" ended_with_zero_within 2
stop_program

echo "--- monitors removed while it runs"
start_saver 400
xrandr --delmonitor left
screen_picture one
check "with the first monitor gone the picture moves to the other" \
    window_area_is "$id" 800x600+800+0
check "and is whole there" picture_whole_in "$shots/one-right.png"
check "where the first was, black" black "$shots/one-left.png"
xrandr --delmonitor right
screen_picture none
check "with no monitor reported the picture takes the whole screen" \
    window_area_is "$id" 1600x600+0+0
check "centred on it" picture_whole_in "$shots/none.png"
xrandr --fb 1200x600
sleep 0.5
check "the screen resized to 1200x600: the picture follows" window_area_is "$id" 1200x600+0+0
check "the saver runs on through the changes" still_running
check "SIGTERM ends it with 0" ends_on_sigterm
stop_program
screen_picture after
check "and the grey root shows again on both, nothing black left" \
    test "$(convert "$shots/after.png" -format '%[fx:minima]' info:)" != 0

summary
