#!/usr/bin/env bash
# Frames a second and processor seconds a second of quillmesh.scr under Wine, on a private Xvfb
# of 800x600 drawn by Mesa's llvmpipe:
#   - /s at 800x600 (the settings' defaults);
#   - /p in the 152x112 child of Scrprev: shown, with Scrprev minimized, and restored.
# Frames are counted from Wine's trace of each buffer swap (WINEDEBUG=-all,trace+wgl, one
# glxdrv_wglSwapBuffers line each); processor time is the saver process's own (user + system).
# Every SCR given is measured the same way in the one session, so that a build before a change
# and one after it can be set side by side; BUILD_DIR gives Scrprev, the probe and, without any
# SCR, the saver itself.
#   bash bench/wine_frames.sh [--seconds N] BUILD_DIR [SCR...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
seconds=5
if [[ ${1:-} == --seconds ]]; then
    seconds=$2
    shift 2
fi
if (($# < 1)); then
    echo "usage: bash bench/wine_frames.sh [--seconds N] BUILD_DIR [SCR...]" >&2
    exit 2
fi
if [[ -z ${QUILLMESH_WINE_SESSION:-} ]]; then
    args=()
    for path in "$@"; do
        resolved=$(realpath -e "$path") || {
            echo "cannot measure: no $path" >&2
            exit 1
        }
        args+=("$resolved")
    done
    exec "$here/../tests/wine_harness.sh" --timeout 900 bash "$0" --seconds "$seconds" "${args[@]}"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quillmesh-wine-bench.XXXXXX")
source "$here/../tests/e2e/saver_lib.sh" "$1" "$work"
shift
savers=("$@")
((${#savers[@]} > 0)) || savers=("$scr")
for program in "$scrprev" "$probe_program" "${savers[@]}"; do
    [[ -f $program ]] || {
        echo "cannot measure: no $program (build first)" >&2
        exit 1
    }
done
host_pid=""
trap 'stop_saver; end_process "$host_pid"; rm -rf "$work"' EXIT
ticks=$(getconf CLK_TCK)
unmeasured=0

cpu_seconds() { # cpu_seconds PID: user and system time of all its threads so far
    awk -v t="$ticks" '{ sub(/^.*\) /, ""); printf "%.3f", ($12 + $13) / t }' "/proc/$1/stat"
}

# Prints "FRAMES-PER-SECOND CPU-SECONDS-PER-SECOND" of the running saver over the seconds; fails,
# printing nothing, if the saver is not running at both ends or its trace shows no swap at all.
sample() { # sample TRACE_FILE
    local swaps_before cpu_before start swaps_after cpu_after end
    kill -0 "$saver_pid" 2>/dev/null || return 1
    swaps_before=$(swap_count "$1")
    cpu_before=$(cpu_seconds "$saver_pid") || return 1
    start=$EPOCHREALTIME
    sleep "$seconds"
    swaps_after=$(swap_count "$1")
    cpu_after=$(cpu_seconds "$saver_pid") || return 1
    end=$EPOCHREALTIME
    kill -0 "$saver_pid" 2>/dev/null && ((swaps_after > 0)) || return 1
    awk -v s0="$swaps_before" -v s1="$swaps_after" -v c0="$cpu_before" -v c1="$cpu_after" \
        -v t0="$start" -v t1="$end" \
        'BEGIN { printf "%.1f %.3f\n", (s1 - s0) / (t1 - t0), (c1 - c0) / (t1 - t0) }'
}

report() { # report WHAT TRACE_FILE: samples and prints one line, or says why it cannot
    local figures
    if figures=$(sample "$2"); then
        printf '  %-30s %7.1f frames/s  %6.3f cpu s/s\n' "$1" ${figures}
    else
        printf '  %-30s cannot measure: the saver stopped or its trace shows no swap\n' "$1"
        unmeasured=1
    fi
}

cannot_measure() { # cannot_measure WHAT WHY
    printf '  %-30s cannot measure: %s\n' "$1" "$2"
    unmeasured=1
}

measure_saver() {
    local trace=$work/saver.log
    WINEDEBUG=-all,trace+wgl start_saver /s 2>"$trace"
    if wait_for_window SaverWindow >/dev/null; then
        sleep 1 # past start-up: the steady state only
        report "/s 800x600" "$trace"
    else
        cannot_measure "/s 800x600" "no saver window"
    fi
    stop_saver
}

measure_preview() {
    local trace=$work/preview.log number area
    read -r number area < <(probe host) || {
        cannot_measure "/p" "no preview host"
        return
    }
    WINEDEBUG=-all,trace+wgl start_saver /p "$number" 2>"$trace"
    for _ in $(seq 80); do
        probe preview | grep -q in-host && break
        sleep 0.25
    done
    if ! probe preview | grep -q in-host; then
        cannot_measure "/p" "no preview window in the host"
        stop_saver
        return
    fi
    sleep 1
    report "/p ${area%%+*}, shown" "$trace"
    if [[ $(probe minimize-host) == minimized ]]; then
        sleep 0.5
        report "/p, host minimized" "$trace"
    else
        cannot_measure "/p, host minimized" "the host would not minimize"
    fi
    if [[ $(probe restore-host) == restored ]]; then
        sleep 0.5
        report "/p, host restored" "$trace"
    else
        cannot_measure "/p, host restored" "the host would not restore"
    fi
    stop_saver
}

store_settings
wine "$scrprev" &
host_pid=$!
wait_for_window Scrprev >/dev/null || {
    echo "cannot measure: Scrprev did not start" >&2
    exit 1
}
echo "quillmesh.scr under $(wine --version 2>/dev/null) on Xvfb 800x600 (llvmpipe)," \
    "the display's frequency as Wine reports it; ${seconds} s a figure"
for saver in "${savers[@]}"; do
    scr=$saver
    echo "$scr:"
    measure_saver
    measure_preview
done
exit "$unmeasured"
