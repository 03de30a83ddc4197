#!/usr/bin/env bash
# The real quillmesh.scr /s under Wine and Xvfb: a topmost full-screen window with a picture that
# closes by its rules on real X input, and the OpenGL error box.
#   tests/wine_harness.sh bash tests/e2e/saver.sh BUILD_DIR [SCREENSHOT_DIR]
set -uo pipefail
source "$(dirname "$0")/saver_lib.sh" "$@"

init_box="Error beim Initialisieren des Objektes"

start_full_screen() { # start_full_screen [--box]
    start_full_screen_at 400 300 "$@"
}

store_settings
reg_dword "$platform_key" "Mouse Threshold" 50

# With Wine's trace of its swaps, kept apart from the checks' own messages.
WINEDEBUG=-all,trace+wgl start_full_screen 2>"$shots/saver-wgl.log"
check "/s shows SaverWindow and it takes the keyboard" [ $? == 0 ]
check "the window is topmost, 800x600 at 0,0" [ "$(probe saver)" == "800x600+0+0 topmost" ]
check "the platform is told that a saver runs" [ "$(probe running)" == 1 ]
sleep 1
screenshot saver
check "it shows the picture" shows_the_picture saver
# No more frames than a display shows: Wine reports the hardware's default rate here, 60 Hz.
swaps=$(swaps_over 3 "$shots/saver-wgl.log")
check "it swaps at most 75 frames a second ($swaps in 3 s)" [ "$swaps" -gt 0 -a "$swaps" -le 225 ]
xdotool key a
check "a key ends it with exit code 0" ended_with 0
check "the platform is told that it no longer runs" [ "$(probe running)" == 0 ]

check "/s again" start_full_screen
xdotool mousemove 450 350
check "travel of 50 px on both axes keeps it running" keeps_running 1.5
xdotool mousemove 451 350
check "51 px to the right ends it with 0" ended_with 0

check "/s again" start_full_screen
xdotool mousemove 400 350
check "travel of 50 px down keeps it running" keeps_running 1.5
xdotool mousemove 400 351
check "51 px down ends it with 0" ended_with 0

check "/s again" start_full_screen
probe close >/dev/null
check "a WM_CLOSE from another program before any input is ignored" keeps_running 1.5
xdotool click 1
check "a mouse button ends it with 0" ended_with 0

store_settings "Rendermode=5"
check "/s with Rendermode 5" start_full_screen
sleep 1
screenshot rendermode5
check "Rendermode 5 shows a black screen" all_black rendermode5
xdotool key space
check "a key still ends it with 0" ended_with 0

store_settings "Dot Size=0"
check "/s with Dot Size 0" start_full_screen --box
check "shows the initialisation error box" until_probe_says 1 10 boxes "$init_box"
sleep 2
screenshot error_box
check "still exactly one box while frames go on" [ "$(probe boxes "$init_box")" == 1 ]
check "the saver waits for the answer" kill -0 "$saver_pid"
xdotool key n
check "No takes the box away" until_probe_says 0 10 boxes "$init_box"
check "and the saver runs on" keeps_running 1
xdotool key a
check "until a key ends it with 0" ended_with 0

check "/s with Dot Size 0 again" start_full_screen --box
check "shows the box again" until_probe_says 1 10 boxes "$init_box"
xdotool key Return
check "Yes ends the saver with 0" ended_with 0
check "and the platform is told that it no longer runs" [ "$(probe running)" == 0 ]

summary
