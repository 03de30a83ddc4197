#!/usr/bin/env bash
# Bad stored settings against the real "quillmesh.scr /s", in a Wine virtual desktop of 640x480
# whose modes really switch. Each row presets all eleven product values (the defaults, with the
# row's own values over them) and any platform values, starts the saver, lets it draw for two
# seconds and presses a key. The saver must end with exit code 0, never crash or hang, and leave
# the display mode as it found it. Where an OpenGL error box is expected, exactly one opens at a
# time, and the row answers it. A program that stays keeps the desktop, and its mode, from row to
# row.
#   tests/wine_harness.sh bash tests/e2e/bad_settings.sh build/windows [ROW-PATTERN]
# ROW-PATTERN (an extended regular expression) runs only the rows whose line matches.
set -uo pipefail
source "$(dirname "$0")/saver_lib.sh" "$1"
only=${2:-}
# The virtual desktop offers only the standard modes up to the X screen's size (800x600 in the
# harness), so a larger start mode could never be switched back to; 640x480 is one of them, and
# the saver's 800x600 a real switch away.
desktop_mode=640x480
# A desktop of its own: the session's "Default" desktop already exists and would stay as it is.
desktop_name=QuillmeshMatrix
setup_box="Error beim Initialisieren des Objektes"

# How the row ends, then its values ("Name=value;...", "platform:" for the platform's key).
#   key        no box: a key closes the saver
#   setup-no   the setup error box: "No", then a key closes the saver
#   setup-yes  the setup error box: "Yes" ends the saver
#   any        the saver may close by itself (a key closes it otherwise)
rows=(
    "key       | Resolution X=0;Resolution Y=0"
    # Refused as a mode, so the picture takes the screen's size instead of a bad viewport.
    "key       | Resolution X=-1;Resolution Y=-1"
    # A window beyond X's 32767-pixel limit must neither crash nor hang the saver.
    "key       | Resolution X=100000;Resolution Y=100000"
    "key       | Resolution X=640;Resolution Y=0"
    "key       | Bit Depth=0"
    "key       | Bit Depth=255"
    "key       | Bit Depth=256"
    "key       | ZBuffer Depth=255"
    "key       | Alpha Depth=255"
    "key       | Stencil Depth=255"
    "key       | Rendermode=-1"
    "key       | Rendermode=4"
    "key       | Rendermode=7"
    "key       | EnvMap=2"
    "key       | EnvMap=1;Rendermode=2"
    "setup-no  | Dot Size=0"
    "setup-yes | Dot Size=-5"
    "key       | Dot Size=1000"
    "setup-no  | Line Size=0"
    "any       | platform:Mouse Threshold=-1"
    "key       | platform:Password Delay=-1"
    "key       | platform:Password Delay=0"
)

clear_platform_values() {
    local name
    for name in "Mouse Threshold" "Password Delay"; do
        timeout 30 wine reg delete "$platform_key" /v "$name" /f >/dev/null 2>&1
    done
}

preset() { # preset "Name=value;...": all eleven product values, the row's over the defaults
    local pair pairs product_values=()
    clear_platform_values
    IFS=';' read -ra pairs <<<"$1"
    for pair in "${pairs[@]}"; do
        if [[ $pair == platform:* ]]; then
            pair=${pair#platform:}
            reg_dword "$platform_key" "${pair%%=*}" "${pair#*=}"
        else
            product_values+=("$pair")
        fi
    done
    store_settings "${product_values[@]}"
}

boxes() { probe boxes "$1"; }

# Waits for the box; fails unless it is the only one of its kind for a second, as frames go on.
# Says what it saw when it fails.
one_box_shows() { # one_box_shows TITLE
    local count=0 seen=""
    for _ in $(seq 100); do
        count=$(boxes "$1")
        ((count > 0)) && break
        sleep 0.2
    done
    seen=$count
    for _ in 1 2 3 4 5; do
        ((count == 1)) || break
        sleep 0.2
        count=$(boxes "$1")
        seen+=" $count"
    done
    ((count == 1)) && return 0
    echo "  '$1' boxes counted: $seen" >&2
    kill -0 "$saver_pid" 2>/dev/null || echo "  the saver had ended by then" >&2
    return 1
}

run_row() { # run_row HOW VALUES
    local how=$1 values=$2 title=""
    preset "$values"
    # The pointer stays put from before the start, so no travel closes the saver.
    xdotool mousemove 400 300
    start_saver /s
    [[ $how == setup-* ]] && title=$setup_box
    local ok=0
    if [[ -n $title ]]; then
        one_box_shows "$title" || ok=1
        if [[ $how == *-yes ]]; then
            probe answer "$title" >/dev/null || ok=1
        else
            xdotool key n
            sleep 1
            [[ $(boxes "$title") == 0 ]] || { echo "  a box still open after No" >&2; ok=1; }
        fi
    fi
    if [[ $how != *-yes ]]; then
        sleep 2
        kill -0 "$saver_pid" 2>/dev/null && xdotool key x
    fi
    ended_with 0 20 || ok=1
    local mode
    mode=$(probe mode)
    [[ $mode == "$desktop_mode" ]] || { echo "  display mode $mode after the run" >&2; ok=1; }
    return $ok
}

explorer_key="HKCU\\Software\\Wine\\Explorer"
reg_string() { timeout 30 wine reg add "$1" /v "$2" /d "$3" /f >/dev/null 2>&1; }
reg_string "$explorer_key" Desktop "$desktop_name"
reg_string "$explorer_key\\Desktops" "$desktop_name" "$desktop_mode"
check "a program that keeps the desktop" start_desktop_keeper
check "the virtual desktop starts at $desktop_mode" until_probe_says "$desktop_mode" 10 mode

for row in "${rows[@]}"; do
    [[ -z $only || $row =~ $only ]] || continue
    how=$(echo "${row%%|*}" | xargs)
    values=$(echo "${row#*|}" | sed 's/^ *//; s/ *$//')
    check "$values ($how)" run_row "$how" "$values"
done

stop_desktop_keeper
timeout 30 wine reg delete "$settings_key" /f >/dev/null 2>&1
clear_platform_values
timeout 30 wine reg delete "$explorer_key" /v Desktop /f >/dev/null 2>&1
timeout 30 wine reg delete "$explorer_key\\Desktops" /v "$desktop_name" /f >/dev/null 2>&1
summary
