# Shared by the Linux end-to-end scripts: starting the program, waiting for it, and looking at
# what it drew. Source it after lib.sh.

# Starts quillmesh in the background with the arguments; its pid goes into $program_pid and its
# standard error into $program_log.
start_program() { # start_program ARG...
    program_log=$(mktemp "${TMPDIR:-/tmp}/quillmesh-e2e-log.XXXXXX")
    "$quillmesh" "$@" 2>"$program_log" &
    program_pid=$!
}

# Succeeds when the program has ended with exit code 0 within the given seconds.
ended_with_zero_within() { # ended_with_zero_within SECONDS
    local limit=$1 status
    for _ in $(seq $((limit * 20))); do
        kill -0 "$program_pid" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$program_pid" 2>/dev/null; then
        kill "$program_pid" 2>/dev/null
        wait "$program_pid" 2>/dev/null
        echo "  still running after ${limit}s" >&2
        return 1
    fi
    wait "$program_pid"
    status=$?
    ((status == 0)) || echo "  exit code $status" >&2
    ((status == 0))
}

still_running() { kill -0 "$program_pid" 2>/dev/null; }

# Ends the program if a check left it running, so that one failure does not spill into the next.
stop_program() {
    end_process "$program_pid"
    rm -f "$program_log"
}

# Sends SIGTERM and checks that the program ends with 0 within a second.
ends_on_sigterm() {
    local start=$EPOCHREALTIME
    kill -TERM "$program_pid"
    ended_with_zero_within 1 || return 1
    awk -v a="$start" -v b="$EPOCHREALTIME" \
        'BEGIN { printf "  ended %.0f ms after SIGTERM\n", (b - a) * 1000 }'
}

# The share of pixels in a picture (a file, or an X window's contents) that are not black.
lit_share() { # lit_share FILE
    convert "$1" -colorspace gray -threshold 4% -format '%[fx:mean]' info:
}

is_png_of_size() { # is_png_of_size FILE WxH
    [[ $(identify -format '%m %wx%h' "$1" 2>/dev/null) == "PNG $2" ]]
}

window_size_is() { # window_size_is WINDOW-ID WxH
    local size
    size=$(xwininfo -id "$1" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    [[ $size == "$2" ]]
}

window_picture() { # window_picture WINDOW-ID FILE
    import -window "$1" "$2" 2>/dev/null
}

at_least() { # at_least VALUE LIMIT
    awk -v v="$1" -v l="$2" 'BEGIN { exit !(v >= l) }'
}

# Waits until the window's picture has lit pixels, i.e. frames arrive.
wait_for_picture() { # wait_for_picture WINDOW-ID FILE
    for _ in $(seq 50); do
        window_picture "$1" "$2" && at_least "$(lit_share "$2")" 0.01 && return 0
        sleep 0.1
    done
    return 1
}

# Succeeds when the lit part of a picture lies around its middle, within a quarter of its size:
# what a viewport that follows the window gives. A viewport left at an older, larger size puts
# the middle of the picture towards the window's top right, or out of it altogether.
centred_in_picture() { # centred_in_picture FILE
    local width height box_w box_h box_x box_y
    read -r width height < <(identify -format '%w %h' "$1")
    read -r box_w box_h box_x box_y < <(convert "$1" -fuzz 4% -trim -format '%w %h %X %Y' info:)
    awk -v W="$width" -v H="$height" -v w="$box_w" -v h="$box_h" -v x="$box_x" -v y="$box_y" \
        'BEGIN { cx = x + w / 2; cy = y + h / 2
                 ok = (cx - W / 2)^2 <= (W / 4)^2 && (cy - H / 2)^2 <= (H / 4)^2
                 if (!ok)
                     printf "  lit box %dx%d+%d+%d in %dx%d\n", w, h, x, y, W, H > "/dev/stderr"
                 exit !ok }'
}

# The picture after a resize: lit enough, and centred.
follows_size() { # follows_size FILE
    at_least "$(lit_share "$1")" 0.05 && centred_in_picture "$1"
}

# Waits until the program's standard error has a line matching the extended regular expression.
wait_for_log() { # wait_for_log PATTERN [SECONDS]
    local seconds=${2:-5}
    for _ in $(seq $((seconds * 10))); do
        grep -Eq "$1" "$program_log" && return 0
        sleep 0.1
    done
    echo "  no line like '$1' after ${seconds}s" >&2
    return 1
}

# For a program started with --fps: hides its window with one command and shows it again a
# second later with another; succeeds when the program said that it paused for the reason given,
# drew no frame until it resumed (the frame counts agree), and reported a frame rate after.
pauses_while_hidden() { # pauses_while_hidden REASON HIDE-COMMAND SHOW-COMMAND
    local paused resumed
    wait_for_log ' fps$' || return 1
    eval "$2"
    wait_for_log "paused after [0-9]+ frames: $1\$" || return 1
    sleep 1
    eval "$3"
    wait_for_log 'resumed after' || return 1
    paused=$(sed -n -E 's/^quillmesh: paused after ([0-9]+) frames.*/\1/p' "$program_log")
    resumed=$(sed -n -E 's/^quillmesh: resumed after ([0-9]+) frames$/\1/p' "$program_log")
    [[ $paused == "$resumed" ]] || { echo "  paused after $paused, resumed after $resumed" >&2; return 1; }
    for _ in $(seq 30); do
        sed '1,/resumed after/d' "$program_log" | grep -q ' fps$' && return 0
        sleep 0.1
    done
    echo "  no frame rate reported after resuming" >&2
    return 1
}
