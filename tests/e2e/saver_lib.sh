# Shared by the end-to-end scripts of the saver and its preview under Wine. Sourced with the
# script's arguments: BUILD_DIR [SCREENSHOT_DIR], a fresh folder for the pictures without one.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
build=$1
shots=${2:-$(mktemp -d)}

scr=$build/shell/win32/quillmesh.scr
scrprev=$build/shell/win32/scrprev/Scrprev.exe
probe_program=$build/tests/e2e/saver_probe.exe
settings_key="HKCU\\Software\\Halvorn\\Brisco's Quillmesh"
platform_key="HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers"
mkdir -p "$shots"
saver_pid=""
keeper_pid=""

# Ends what a failed check left running, so that the next step starts clean.
stop_saver() {
    end_process "$saver_pid"
    saver_pid=""
}

# A Wine virtual desktop ends, and comes back in its own mode, whenever no program runs in it; a
# program that stays keeps it, so that only the saver can put the mode back, and no saver starts
# into a desktop that is just closing. The keeper has no window, so keys still reach the saver.
start_desktop_keeper() {
    start_staying_probe keeper_pid stay
}

# Starts a saver_probe command that stays until ended and waits until it says "ready".
start_staying_probe() { # start_staying_probe PID_VARIABLE COMMAND [ARG...]
    local name=$1
    shift
    wine "$probe_program" "$@" >"$shots/$name.out" 2>/dev/null &
    printf -v "$name" %s $!
    for _ in $(seq 120); do
        grep -q ready "$shots/$name.out" && return 0
        sleep 0.25
    done
    return 1
}

stop_desktop_keeper() {
    end_process "$keeper_pid"
    keeper_pid=""
}
trap 'stop_saver; stop_desktop_keeper' EXIT

probe() { # probe COMMAND [ARG]: saver_probe.exe, its output without carriage returns
    local output
    output=$(timeout 30 wine "$probe_program" "$@" 2>/dev/null) || return 1
    printf '%s\n' "${output//$'\r'/}"
}

reg_dword() { # reg_dword KEY NAME VALUE (a negative value as its 32-bit pattern)
    timeout 30 wine reg add "$1" /v "$2" /t REG_DWORD /d $(($3 & 0xFFFFFFFF)) /f >/dev/null 2>&1
}

# All eleven settings, the defaults but for the ones given; the store takes all or none.
store_settings() { # store_settings ["NAME=VALUE"...]
    local -A values=(["Resolution X"]=800 ["Resolution Y"]=600 ["Bit Depth"]=16
        ["ZBuffer Depth"]=16 ["Alpha Depth"]=8 ["Stencil Depth"]=0 ["Rendermode"]=0 ["Timer"]=0
        ["EnvMap"]=0 ["Line Size"]=2 ["Dot Size"]=8)
    local setting name
    for setting in "$@"; do
        values[${setting%%=*}]=${setting#*=}
    done
    for name in "${!values[@]}"; do
        reg_dword "$settings_key" "$name" "${values[$name]}"
    done
}

start_saver() { # start_saver ARGUMENT...: sets saver_pid
    start_saver_program "$scr" "$@"
}

start_saver_program() { # start_saver_program SCR ARGUMENT...: sets saver_pid
    stop_saver
    wine "$@" &
    saver_pid=$!
}

# Starts /s with the pointer at X,Y and waits for the window to show, the platform to be told that
# a saver runs and, unless an error box is expected to take it, the keyboard. Travel counts from
# where the pointer stands after the display switch, which comes just before the platform is told.
start_full_screen_at() { # start_full_screen_at X Y [--box]
    xdotool mousemove "$1" "$2"
    start_saver /s
    local window
    window=$(wait_for_window SaverWindow) || return 1
    until_probe_says 1 10 running || return 1
    [[ ${3:-} == --box ]] && return 0
    for _ in $(seq 50); do
        [[ $(xdotool getwindowfocus 2>/dev/null) == "$window" ]] && return 0
        sleep 0.1
    done
    return 1
}

# True when the saver ended within the seconds with the exit code ("any": whatever it was).
ended_with() { # ended_with CODE [SECONDS]
    local expected=$1 seconds=${2:-10} status
    for _ in $(seq $((seconds * 10))); do
        kill -0 "$saver_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$saver_pid" 2>/dev/null; then
        echo "  the saver still runs after $seconds s" >&2
        stop_saver
        return 1
    fi
    wait "$saver_pid"
    status=$?
    saver_pid=""
    [[ $expected == any ]] || ((status == expected)) || {
        echo "  the saver ended with $status" >&2
        return 1
    }
}

# What a saver that must stay is given to close wrongly; nothing else tells "still running".
keeps_running() { # keeps_running SECONDS
    sleep "$1"
    kill -0 "$saver_pid" 2>/dev/null
}

until_probe_says() { # until_probe_says EXPECTED [SECONDS] COMMAND [ARG]
    local expected=$1 seconds=$2 said
    shift 2
    for _ in $(seq $((seconds * 4))); do
        said=$(probe "$@")
        [[ $said == "$expected" ]] && return 0
        sleep 0.25
    done
    echo "  probe $1 said '$said', not '$expected'" >&2
    return 1
}

# The buffer swaps so far in a Wine trace of the saver (WINEDEBUG=-all,trace+wgl: one
# glxdrv_wglSwapBuffers line each).
swap_count() { # swap_count TRACE_FILE
    grep -c glxdrv_wglSwapBuffers "$1"
}

swaps_over() { # swaps_over SECONDS TRACE_FILE: the swaps over the next seconds
    local before after
    before=$(swap_count "$2")
    sleep "$1"
    after=$(swap_count "$2")
    echo $((after - before))
}

screenshot() { # screenshot NAME: saves the screen as $shots/NAME.png
    import -window root "$shots/$1.png"
}

# The saver's picture: orange light on black, so far more red than blue, unlike grey or white.
shows_the_picture() { # shows_the_picture NAME [AREA]
    local means
    means=$(convert "$shots/$1.png" ${2:+-crop "$2"} -format '%[fx:mean.r] %[fx:mean.b]' info:)
    awk -v red="${means% *}" -v blue="${means#* }" 'BEGIN { exit !(red > 0.01 && red > 2 * blue) }'
}

all_black() { # all_black NAME
    [[ $(convert "$shots/$1.png" -format '%[fx:maxima]' info:) == 0 ]]
}
