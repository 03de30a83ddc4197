#!/usr/bin/env bash
# Bad stored settings against the real "quillmesh.scr /s", in a Wine virtual desktop of 640x480
# whose modes really switch. Each row presets all eleven product values (the defaults, with the
# row's own values over them) and any platform values, starts the saver, lets it draw for two
# seconds and presses a key. The saver must end with exit code 0, never crash or hang, and leave
# the display mode as it found it. Where an OpenGL error box is expected, exactly one opens at a
# time, and the row answers it.
#   tests/wine_harness.sh bash tests/e2e/bad_settings.sh build/windows [ROW-PATTERN]
# ROW-PATTERN (an extended regular expression) runs only the rows whose line matches.
set -uo pipefail
here=$(dirname "$0")
source "$here/lib.sh"
build=$1
only=${2:-}
scr=$build/shell/win32/quillmesh.scr
probe=$build/tests/e2e/saver_probe.exe
product="HKCU\\Software\\Halvorn\\Brisco's Quillmesh"
platform="HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers"
# The virtual desktop offers only the standard modes up to the X screen's size (800x600 in the
# harness), so a larger start mode could never be switched back to; 640x480 is one of them, and
# the saver's 800x600 a real switch away.
desktop_mode=640x480
# A desktop of its own: the session's "Default" desktop already exists and would stay as it is.
desktop_name=QuillmeshMatrix
setup_box="Error beim Initialisieren des Objektes"
draw_box="Error beim Zeichnen des Objektes"

# How the row ends, then its values ("Name=value;...", "platform:" for the platform's key).
#   key        no box: a key closes the saver
#   setup-no   the setup error box: "No", then a key closes the saver
#   setup-yes  the setup error box: "Yes" ends the saver
#   draw-yes   the drawing error box: "Yes" ends the saver
#   any        the saver may close by itself (a key closes it otherwise)
rows=(
    "key       | Resolution X=0;Resolution Y=0"
    "draw-yes  | Resolution X=-1;Resolution Y=-1"
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
defaults="Resolution X=800;Resolution Y=600;Bit Depth=16;ZBuffer Depth=16;Alpha Depth=8"
defaults+=";Stencil Depth=0;Rendermode=0;Timer=0;EnvMap=0;Dot Size=8;Line Size=2"

reg_dword() { # reg_dword KEY NAME VALUE (negative values as their 32-bit pattern)
    wine reg add "$1" /v "$2" /t REG_DWORD /d $(($3 & 0xFFFFFFFF)) /f >/dev/null
}

preset() { # preset "Name=value;..." : the defaults, then the row's values
    wine reg delete "$product" /f >/dev/null 2>&1
    wine reg delete "$platform" /v "Mouse Threshold" /f >/dev/null 2>&1
    wine reg delete "$platform" /v "Password Delay" /f >/dev/null 2>&1
    local pair name
    IFS=';' read -ra pairs <<<"$defaults;$1"
    for pair in "${pairs[@]}"; do
        name=${pair%%=*}
        if [[ $name == platform:* ]]; then
            reg_dword "$platform" "${name#platform:}" "${pair#*=}"
        else
            reg_dword "$product" "$name" "${pair#*=}"
        fi
    done
}

display_mode() { wine "$probe" mode | tr -d '\r'; }
boxes() { wine "$probe" boxes "$1" | tr -d '\r'; }

# Waits for the box; fails unless it is the only one of its kind for a second, as frames go on.
one_box_shows() { # one_box_shows TITLE
    local count=0
    for _ in $(seq 100); do
        count=$(boxes "$1")
        ((count > 0)) && break
        sleep 0.2
    done
    ((count == 1)) || return 1
    for _ in 1 2 3 4 5; do
        sleep 0.2
        [[ $(boxes "$1") == 1 ]] || return 1
    done
}

saver_pid=""
ends_within() { # ends_within SECONDS: true when the saver has ended; keeps its exit status
    for _ in $(seq $(($1 * 10))); do
        if ! kill -0 "$saver_pid" 2>/dev/null; then
            wait "$saver_pid"
            saver_status=$?
            return 0
        fi
        sleep 0.1
    done
    return 1
}

run_row() { # run_row HOW VALUES
    local how=$1 values=$2 title=""
    preset "$values"
    # The pointer stays put from before the start, so no travel closes the saver.
    xdotool mousemove 400 300
    saver_status=""
    wine "$scr" /s &
    saver_pid=$!
    case $how in
    setup-*) title=$setup_box ;;
    draw-*) title=$draw_box ;;
    esac
    local ok=0
    if [[ -n $title ]]; then
        one_box_shows "$title" || { echo "  no single '$title' box" >&2; ok=1; }
        if [[ $how == *-yes ]]; then
            wine "$probe" answer "$title" || ok=1
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
    if ! ends_within 20; then
        echo "  hangs" >&2
        kill "$saver_pid" 2>/dev/null
        wait "$saver_pid" 2>/dev/null
        return 1
    fi
    [[ $saver_status == 0 ]] || { echo "  exit status $saver_status" >&2; ok=1; }
    local mode
    mode=$(display_mode)
    [[ $mode == "$desktop_mode" ]] || { echo "  display mode $mode after the run" >&2; ok=1; }
    return $ok
}

wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$desktop_name" /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$desktop_name" /d "$desktop_mode" /f >/dev/null
check "the virtual desktop starts at $desktop_mode" test "$(display_mode)" == "$desktop_mode"

for row in "${rows[@]}"; do
    [[ -z $only || $row =~ $only ]] || continue
    how=$(echo "${row%%|*}" | xargs)
    values=$(echo "${row#*|}" | sed 's/^ *//; s/ *$//')
    check "$values ($how)" run_row "$how" "$values"
done

wine reg delete "$product" /f >/dev/null 2>&1
wine reg delete "$platform" /v "Mouse Threshold" /f >/dev/null 2>&1
wine reg delete "$platform" /v "Password Delay" /f >/dev/null 2>&1
wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
wine reg delete 'HKCU\Software\Wine\Explorer\Desktops' /v "$desktop_name" /f >/dev/null 2>&1
summary
