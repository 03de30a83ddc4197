#!/usr/bin/env bash
# Two monitors side by side, 800x600 each: while /s runs, the saver draws on the left (primary)
# one and the right one is black, even over a topmost window of another program; the mouse over
# the right one follows the saver's closing rules. Plain Xvfb cannot switch modes, so the saver
# keeps the desktop's mode.
#   tests/wine_harness.sh --two-monitors bash tests/e2e/two_monitors.sh BUILD_DIR [SCREENSHOT_DIR]
set -uo pipefail
source "$(dirname "$0")/saver_lib.sh" "$@"

red_pid=""
trap 'stop_saver; end_process "$red_pid"' EXIT

sees_two_monitors() {
    [[ $(probe monitors) == $'800x600+0+0 primary\n800x600+800+0' ]]
}

start_on_the_right() { # start_on_the_right: /s with the pointer over the right monitor
    start_full_screen_at 1200 300
}

right_monitor() { # right_monitor NAME COLOUR: the right half of the picture is all that colour
    local colour
    colour=$(convert "$shots/$1.png" -crop 800x600+800+0 +repage -format '%[fx:minima.r],%[fx:maxima.r],%[fx:minima.g],%[fx:maxima.g],%[fx:minima.b],%[fx:maxima.b]' info:)
    case $2 in
    black) [[ $colour == 0,0,0,0,0,0 ]] ;;
    red) [[ $colour == 1,1,0,0,0,0 ]] ;;
    esac || { echo "  the right monitor shows min,max r,g,b $colour" >&2; return 1; }
}

store_settings
reg_dword "$platform_key" "Mouse Threshold" 50

check "Wine sees two monitors of 800x600 side by side, the left one primary" sees_two_monitors
check "a red topmost window of another program on the right monitor" \
    start_staying_probe red_pid red 800 0 800 600
sleep 1
screenshot two_monitors_before
check "it shows red" right_monitor two_monitors_before red

check "/s with the pointer over the right monitor shows SaverWindow" start_on_the_right
check "the saver window is 800x600 on the left monitor" [ "$(probe saver)" == "800x600+0+0 topmost" ]
check "a cover of both monitors lies just beneath it" \
    [ "$(probe cover)" == "1600x600+0+0 topmost beneath-saver" ]
sleep 1
screenshot two_monitors_saver
check "the left monitor shows the picture" shows_the_picture two_monitors_saver 800x600+0+0
check "the right monitor is black over the red window" right_monitor two_monitors_saver black
xdotool key a
check "a key ends it with 0" ended_with 0
check "and takes the cover away" bash -c "! timeout 30 wine '$probe_program' cover >/dev/null 2>&1"
sleep 1
screenshot two_monitors_after
check "the right monitor shows red again" right_monitor two_monitors_after red

check "/s again" start_on_the_right
xdotool mousemove 1250 350
check "50 px of travel on both axes over the right monitor keeps it running" keeps_running 1.5
xdotool mousemove 1251 350
check "51 px ends it with 0" ended_with 0

check "/s again" start_on_the_right
xdotool click 1
check "a click on the right monitor ends it with 0" ended_with 0

summary
