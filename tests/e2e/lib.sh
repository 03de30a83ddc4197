# Shared by the end-to-end scripts: checks that count, and a summary line at the end.
# Source it; run the scripts inside tests/wine_harness.sh (or another private X session).

passed=0
failed=0

check() { # check DESCRIPTION COMMAND...
    local description=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok: $description"
    else
        failed=$((failed + 1))
        echo "FAILED: $description" >&2
    fi
}

# Ends a child process of this script if it still runs.
end_process() { # end_process PID
    if [[ -n $1 ]] && kill -0 "$1" 2>/dev/null; then
        kill "$1" 2>/dev/null
        wait "$1" 2>/dev/null
    fi
}

summary() {
    echo "$passed passed, $failed failed"
    ((failed == 0))
}

# Waits until a visible window with the given name shows up; prints its X id.
wait_for_window() { # wait_for_window NAME [SECONDS]
    local name=$1 seconds=${2:-20} id
    for _ in $(seq $((seconds * 10))); do
        id=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null | head -n 1) || true
        if [[ -n $id ]]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}
