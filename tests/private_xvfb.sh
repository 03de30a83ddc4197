# Sourced by the session scripts (wine_harness.sh, xvfb_session.sh): a private Xvfb and the
# session's command, each ended by process id.

# start_private_xvfb FOLDER SCREEN: starts Xvfb on whatever display number is free (never a
# fixed one: other programs hold some), sets xvfb_pid and exports DISPLAY.
start_private_xvfb() {
    local folder=$1 screen=$2
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$folder/display" \
        >"$folder/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 200); do
        [[ -s $folder/display ]] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.05
    done
    if [[ ! -s $folder/display ]]; then
        cat "$folder/xvfb.log" >&2
        return 1
    fi
    DISPLAY=:$(tr -d '[:space:]' <"$folder/display")
    export DISPLAY
}

# end_process PID: ends one of the session's processes, if it still runs, and waits for it.
end_process() {
    [[ -n $1 ]] || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# run_session_command LIMIT COMMAND...: runs the command under a time limit, in the background
# so that an interrupt is handled at once rather than after the command; sets command_pid and
# returns the command's exit code.
run_session_command() {
    local limit=$1
    shift
    timeout -k 5 "$limit" "$@" &
    command_pid=$!
    wait "$command_pid"
}
