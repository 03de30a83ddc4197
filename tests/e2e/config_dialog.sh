#!/usr/bin/env bash
# The configuration dialog of the real quillmesh.scr, worked with X input under Wine: "/c" and no
# argument show it, clicks and typing choose, Enter stores, Escape and "Abb&rechen" store nothing.
#   tests/wine_harness.sh bash tests/e2e/config_dialog.sh PATH/TO/quillmesh.scr [SCREENSHOT.png]
# With a second argument the dialog as it first shows is saved there.
set -uo pipefail
here=$(dirname "$0")
source "$here/lib.sh"
scr=$1
screenshot=${2:-}
key="HKCU\\Software\\Halvorn\\Brisco's Quillmesh"
caption="Quillmesh v1.0b written by Brisco Halvorn"

# Wine draws the frame of the unmanaged dialog itself: the caption and the dialog frame lie inside
# the X window, the client area below and within them.
frame=3
caption_height=19

saver_pid=""
window=""
client_x=0 client_y=0 client_width=0 client_height=0

start_dialog() { # start_dialog [ARGUMENT...]
    window=""
    wine "$scr" "$@" &
    saver_pid=$!
    window=$(wait_for_window "$caption") || return 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    client_x=$((X + frame))
    client_y=$((Y + frame + caption_height))
    client_width=$((WIDTH - 2 * frame))
    client_height=$((HEIGHT - 2 * frame - caption_height))
}

# Clicks the middle of a control given by its place and size in dialog units (307 x 201 in all).
click_control() { # click_control X Y WIDTH HEIGHT
    local x=$((client_x + (2 * $1 + $3) * client_width / (2 * 307)))
    local y=$((client_y + (2 * $2 + $4) * client_height / (2 * 201)))
    xdotool mousemove "$x" "$y" click 1
    sleep 0.2
}

# True when the saver has ended with 0 within ten seconds and its dialog is gone.
ended_with_zero() {
    for _ in $(seq 100); do
        kill -0 "$saver_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$saver_pid" 2>/dev/null; then
        kill "$saver_pid"
        wait "$saver_pid" 2>/dev/null
        return 1
    fi
    wait "$saver_pid" && ! xdotool search --onlyvisible --name "^$caption\$" >/dev/null 2>&1
}

stored_dword() { # stored_dword NAME: the value as a decimal number; fails unless a REG_DWORD
    local line
    line=$(timeout 30 wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | grep REG_DWORD) ||
        return 1
    echo $((${line##* }))
}

# Every one of the eleven values, in storing order, as "name=value" words.
stored_settings() {
    local name value text=""
    for name in "Resolution X" "Resolution Y" "Bit Depth" "ZBuffer Depth" "Alpha Depth" \
        "Stencil Depth" "Rendermode" "Timer" "EnvMap" "Dot Size" "Line Size"; do
        value=$(stored_dword "$name") || value=missing
        text+="$name=$value;"
    done
    echo "$text"
}

settings_are() { # settings_are EXPECTED: compares with stored_settings, says what differs
    local actual
    actual=$(stored_settings)
    [[ $actual == "$1" ]] || { echo "stored: $actual" >&2; return 1; }
}

settings_key_absent() { ! timeout 30 wine reg query "$key" >/dev/null 2>&1; }

timeout 30 wine reg delete "$key" /f >/dev/null 2>&1

# First run, "/c": the defaults show; 1024x768, "Texture Mapping" and a Dot Size of 12, then Enter.
check "'/c' shows the dialog" start_dialog /c
if [[ -n $window ]]; then
    if [[ -n $screenshot ]]; then
        sleep 0.5 # let the controls paint
        import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$screenshot"
    fi
    click_control 20 103 51 10    # "1024x768"
    click_control 175 116 69 10   # "Texture Mapping"
    click_control 110 95 40 14    # the Dot Size field, which shows 8
    xdotool key End BackSpace BackSpace BackSpace
    xdotool type --delay 50 12
    sleep 0.2
    xdotool key Return            # the default button, OK
    check "Enter ends the dialog and the saver with 0" ended_with_zero
fi
chosen="Resolution X=1024;Resolution Y=768;Bit Depth=16;ZBuffer Depth=16;Alpha Depth=8;"
chosen+="Stencil Depth=0;Rendermode=2;Timer=0;EnvMap=0;Dot Size=12;Line Size=2;"
check "OK stored the choices and the defaults, all eleven as REG_DWORD" settings_are "$chosen"

# Escape after a change: the dialog closes and the registry stays as it was.
check "'/c' shows the dialog again" start_dialog /c
if [[ -n $window ]]; then
    click_control 20 79 51 10     # "640x480"
    click_control 175 90 48 10    # "Wireframe"
    xdotool key Escape
    check "Escape closes the dialog and the saver ends with 0" ended_with_zero
fi
check "Escape stored nothing" settings_are "$chosen"

# No argument is Configure too; "Abb&rechen" stores nothing either.
check "no argument shows the dialog" start_dialog
if [[ -n $window ]]; then
    click_control 20 139 51 10    # "1600x1200"
    click_control 223 178 50 14   # "Abb&rechen"
    check "'Abb&rechen' closes the dialog and the saver ends with 0" ended_with_zero
fi
check "'Abb&rechen' stored nothing" settings_are "$chosen"

# The caption's close box, first run: no key appears.
timeout 30 wine reg delete "$key" /f >/dev/null 2>&1
check "'/c' shows the dialog on a first run" start_dialog /c
if [[ -n $window ]]; then
    click_control 25 33 32 10     # "32Bit"
    xdotool mousemove $((X + WIDTH - frame - 10)) $((Y + frame + caption_height / 2)) click 1
    check "the close box closes the dialog and the saver ends with 0" ended_with_zero
fi
check "the close box created no settings key" settings_key_absent

summary
