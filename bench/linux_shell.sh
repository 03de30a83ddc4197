#!/usr/bin/env bash
# Figures for the Linux program on a private Xvfb and a private headless Wayland compositor, both
# drawing in software (Mesa's llvmpipe; the compositor composes in software too):
#   - in an X11 window, processor seconds per wall second with --max-fps 60 against --max-fps 0,
#     and their ratio (the cap should cost at most a third of running flat out);
#   - the full-screen saver at 1024x768 and --max-fps 60 under Wayland beside the same under
#     X11: processor seconds per wall second (program and display server), and start to first
#     frame in milliseconds (process start until the first frame is swapped);
#   - peak resident memory;
#   - processor seconds per wall second of the program and of the X server while it draws in an
#     X11 window, and while nobody can see its frames: unmapped, fully covered, the display asleep
#     (DPMS off). The goal: hidden at most 1% of drawn.
#   bash bench/linux_shell.sh [--compositor NAME] BUILD [SECONDS]
# NAME (sway unless given) names the session script tests/NAME_session.sh that starts the
# compositor with one 1024x768 output: it takes --timeout SECONDS and runs the command inside,
# with WAYLAND_DISPLAY set and the compositor's pid in QUILLMESH_COMPOSITOR_PID beside
# QUILLMESH_COMPOSITOR=NAME, as tests/private_compositor.sh exports them.
# Every figure printed was measured: when the program does not start or there is no build, the
# script says so and exits 1.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
die() {
    echo "bench/linux_shell.sh: $*" >&2
    exit 1
}
args=("$@")
compositor=sway
if [[ ${1:-} == --compositor ]]; then
    compositor=${2:-}
    shift 2 || die "--compositor needs a name"
fi
(($# >= 1)) || die "usage: bash bench/linux_shell.sh [--compositor NAME] BUILD [SECONDS]"
quillmesh=$1/shell/linux/quillmesh
[[ -x $quillmesh ]] || die "no build to measure: $quillmesh is missing (cmake --build --preset native)"
session_script=$here/../tests/${compositor}_session.sh
[[ -f $session_script ]] || die "no compositor '$compositor': tests/${compositor}_session.sh is missing"
if [[ -z ${QUILLMESH_XVFB_SESSION:-} ]]; then
    exec "$here/../tests/xvfb_session.sh" --timeout 900 --screen 1024x768x24 bash "$0" "${args[@]}"
fi
if [[ ${QUILLMESH_COMPOSITOR:-} == "$compositor" ]]; then
    compositor_pid=${QUILLMESH_COMPOSITOR_PID:-}
else
    exec "$session_script" --timeout 900 bash "$0" "${args[@]}"
fi
[[ -n $compositor_pid ]] || die "tests/${compositor}_session.sh exports no compositor pid"
build=$(cd "$1" && pwd)
quillmesh=$build/shell/linux/quillmesh
seconds=${2:-5}
work=$(mktemp -d "${TMPDIR:-/tmp}/quillmesh-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
ticks=$(getconf CLK_TCK)
# The saver's screen on both: Xvfb's is 1024x768 already, and so are the other compositors'.
if [[ $compositor == sway ]]; then
    swaymsg output HEADLESS-1 resolution 1024x768 >/dev/null
fi

cpu_seconds() { # cpu_seconds PID: user and system time of all its threads so far
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    awk -v t="$ticks" '{ sub(/^.*\) /, ""); printf "%.3f", ($12 + $13) / t }' <<<"$stat"
}

# Prints "cpu-seconds server-cpu-seconds" that the program and the display server use in the
# given wall time. The server's time counts too: in software it copies or composes every frame.
# Fails when either process is not running throughout.
sample() { # sample PID SERVER-PID SECONDS
    local start_cpu end_cpu start_server end_server
    start_cpu=$(cpu_seconds "$1") || return 1
    start_server=$(cpu_seconds "$2") || return 1
    sleep "$3"
    end_cpu=$(cpu_seconds "$1") || return 1
    end_server=$(cpu_seconds "$2") || return 1
    awk -v a="$start_cpu" -v b="$end_cpu" -v c="$start_server" -v d="$end_server" \
        'BEGIN { printf "%.3f %.3f\n", b - a, d - c }'
}

# Why the program is not there to measure, with what it said.
not_running() { # not_running PID ARG...
    local pid=$1
    shift
    wait "$pid"
    die "quillmesh $* did not run to be measured (exit $?): $(tail -n 3 "$work/fps.log")"
}

# Runs the program for the given wall time; prints "cpu-seconds server-cpu-seconds peak-rss-kB
# mean-fps", or fails when it could not measure.
run_for() { # run_for SECONDS SERVER-PID ARG...
    local wall=$1 server=$2
    shift 2
    "$quillmesh" --fps "$@" 2>"$work/fps.log" &
    local pid=$!
    sleep 1 # past start-up: measure the steady state only
    local figures
    figures=$(sample "$pid" "$server" "$wall") || not_running "$pid" "$@"
    local rss
    rss=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null) || not_running "$pid" "$@"
    kill -TERM "$pid"
    wait "$pid"
    local cpu server_cpu
    read -r cpu server_cpu <<<"$figures"
    local fps
    fps=$(awk '/fps$/ { sum += $2; n++ } END { if (n) printf "%.1f", sum / n; else print "?" }' \
        "$work/fps.log")
    echo "$cpu $server_cpu $rss $fps"
}

compare() { # compare WIDTH HEIGHT
    local size=(--x11 --width "$1" --height "$2") figures
    figures=$(run_for "$seconds" "$QUILLMESH_XVFB_PID" "${size[@]}" --max-fps 60) || exit 1
    read -r capped_cpu capped_server capped_rss capped_fps <<<"$figures"
    figures=$(run_for "$seconds" "$QUILLMESH_XVFB_PID" "${size[@]}" --max-fps 0) || exit 1
    read -r free_cpu free_server free_rss free_fps <<<"$figures"
    awk -v c="$capped_cpu" -v f="$free_cpu" -v cs="$capped_server" -v fs="$free_server" \
        -v s="$seconds" -v cf="$capped_fps" -v ff="$free_fps" -v w="$1x$2" '
        BEGIN {
            printf "X11 window %s, cpu per wall second (program + X server):\n", w
            printf "  --max-fps 60: %.3f + %.3f (%s fps)\n", c / s, cs / s, cf
            printf "  --max-fps 0:  %.3f + %.3f (%s fps)\n", f / s, fs / s, ff
            printf "  ratio capped / uncapped: program %.3f, with the server %.3f",
                c / f, (c + cs) / (f + fs)
            printf " (goal <= 0.333)\n"
            if (cf > 0 && ff > 0)
                printf "  program cpu per frame: %.2f ms capped, %.2f ms uncapped\n",
                    1000 * c / (s * cf), 1000 * f / (s * ff)
        }'
}

# The median of five: from just before the program starts until it reports the first swap.
first_frame_ms() { # first_frame_ms ARG...
    local samples=() start pid line status
    rm -f "$work/stderr"
    mkfifo "$work/stderr"
    for run in 1 2 3 4 5; do
        start=$EPOCHREALTIME
        "$quillmesh" --fps "$@" 2>"$work/stderr" &
        pid=$!
        while read -r line; do
            if [[ $line == "quillmesh: first frame drawn" ]]; then
                samples+=("$(awk -v a="$start" -v b="$EPOCHREALTIME" \
                    'BEGIN { printf "%.1f", (b - a) * 1000 }')")
                break
            fi
        done <"$work/stderr"
        kill -TERM "$pid" 2>/dev/null
        wait "$pid"
        status=$?
        ((${#samples[@]} == run)) || die "quillmesh $* drew no first frame (exit $status)"
    done
    printf '%s\n' "${samples[@]}" | sort -n | awk '
        { v[NR] = $1 }
        END { printf "%.1f ms (min %.1f, max %.1f, %d runs)", v[int((NR + 1) / 2)], v[1], v[NR], NR }'
}

compare 320 240
compare 800 600

echo "the full-screen saver, 1024x768, --max-fps 60, cpu per wall second (program + server):"
saver=(--fullscreen --max-fps 60)
figures=$(run_for "$seconds" "$QUILLMESH_XVFB_PID" --x11 "${saver[@]}") || exit 1
read -r x_cpu x_server x_rss x_fps <<<"$figures"
figures=$(run_for "$seconds" "$compositor_pid" --wayland "${saver[@]}") || exit 1
read -r w_cpu w_server w_rss w_fps <<<"$figures"
wayland_name=$(printf 'Wayland (headless %s):' "$compositor")
awk -v xc="$x_cpu" -v xs="$x_server" -v xf="$x_fps" -v wc="$w_cpu" -v ws="$w_server" \
    -v wf="$w_fps" -v s="$seconds" -v wn="$wayland_name" '
    BEGIN {
        printf "  %-26s %.3f + %.3f = %.3f (%s fps)\n", "X11 (Xvfb):", xc / s, xs / s,
            (xc + xs) / s, xf
        printf "  %-26s %.3f + %.3f = %.3f (%s fps)\n", wn, wc / s, ws / s, (wc + ws) / s, wf
        printf "  ratio Wayland / X11: program %.2f, with the server %.2f\n", wc / xc,
            (wc + ws) / (xc + xs)
    }'
echo "start to first frame, the full-screen saver, median of five:"
x_first=$(first_frame_ms --x11 --fullscreen) || exit 1
printf '  %-26s %s\n' "X11 (Xvfb):" "$x_first"
w_first=$(first_frame_ms --wayland --fullscreen) || exit 1
printf '  %-26s %s\n' "$wayland_name" "$w_first"

echo "peak resident memory: X11 window 800x600 ${capped_rss} kB at --max-fps 60," \
    "${free_rss} kB at --max-fps 0; full-screen saver ${x_rss} kB on X11, ${w_rss} kB on Wayland"

# Drawing against hiding, in one run of the program in an X11 window at its defaults (800x600,
# --max-fps 60).
echo "while nobody can see the frames, cpu per wall second (program + X server), ${seconds} s each:"
state() { # state NAME: samples the running program, prints the line and keeps the figures
    local cpu server figures
    figures=$(sample "$pid" "$QUILLMESH_XVFB_PID" "$seconds") || not_running "$pid" --x11
    read -r cpu server <<<"$figures"
    awk -v n="$1" -v c="$cpu" -v s="$server" -v w="$seconds" -v dc="${drawn_cpu:-}" \
        -v ds="${drawn_server:-}" 'BEGIN {
            printf "  %-28s %.4f + %.4f", n ":", c / w, s / w
            if (dc != "" && dc + ds > 0)
                printf "  (%.2f%% of drawn; goal <= 1%%)", 100 * (c + s) / (dc + ds)
            printf "\n" }'
    last_cpu=$cpu last_server=$server
}
"$quillmesh" --x11 2>"$work/fps.log" &
pid=$!
sleep 1
state drawn
drawn_cpu=$last_cpu drawn_server=$last_server
id=$(xdotool search --onlyvisible --name '^Quillmesh$' | head -n 1)
[[ -n $id ]] || die "the X11 window of quillmesh is not to be found"
xdotool windowunmap "$id"
sleep 0.5
state unmapped
xdotool windowmap "$id"
xlogo -geometry 800x600+0+0 2>/dev/null &
cover_pid=$!
sleep 0.5
state "covered by another window"
kill "$cover_pid"
wait "$cover_pid" 2>/dev/null
sleep 0.5
xset dpms force off 2>"$work/xset.log"
sleep 1.5
state "after xset dpms force off"
xset dpms force on 2>/dev/null
if grep -q 'does not have' "$work/xset.log"; then
    echo "  (no DPMS in this X server; xset says: $(head -n 1 "$work/xset.log")."
    echo "  So the program draws on. With a stand-in for libXext's DPMS calls that says off:)"
    kill -TERM "$pid"
    wait "$pid"
    echo off >"$work/dpms"
    LD_PRELOAD=$build/tests/shell/x11/libfake_dpms.so QUILLMESH_FAKE_DPMS=$work/dpms \
        "$quillmesh" --x11 2>"$work/fps.log" &
    pid=$!
    sleep 1.5
    state "DPMS off (stand-in)"
fi
kill -TERM "$pid"
wait "$pid"
