# Sourced by the Wayland session scripts (sway_session.sh, mutter_session.sh, kwin_session.sh,
# weston_session.sh): their options, a throwaway user with a private runtime folder and session
# bus, the compositor's processes started as that user with a clean environment and each ended by
# process id, and the session's command.
#
#   source private_compositor.sh NAME "$@"
#
# Takes the options --timeout SECONDS and --outputs N from the arguments (session_limit,
# session_outputs) and leaves the command in session_command. Inside a session of the same
# compositor already (QUILLMESH_COMPOSITOR is NAME) it only runs the command.
# end_process and run_session_command
source "$(dirname "${BASH_SOURCE[0]}")/private_xvfb.sh"

compositor_name=$1
shift
session_limit=${QUILLMESH_COMPOSITOR_TIMEOUT:-300}
session_outputs=1
while [[ ${1:-} == --* ]]; do
    case $1 in
    --timeout) session_limit=$2 ;;
    --outputs) session_outputs=$2 ;;
    *) break ;;
    esac
    shift 2
done
session_command=("$@")
if [[ ${QUILLMESH_COMPOSITOR:-} == "$compositor_name" ]]; then
    exec timeout -k 5 "$session_limit" "${session_command[@]}"
fi

session=$(mktemp -d "${TMPDIR:-/tmp}/quillmesh-$compositor_name.XXXXXX")
chmod 755 "$session"
runtime=$session/runtime
mkdir -m 700 "$runtime" "$session/home" "$session/pids"
user=""
# The session user's processes, in the order started; each is no child of ours (runuser's), so
# its pid comes from a file it wrote itself and it is waited for by looking.
user_pids=()
runner_pids=()
command_pid=""
# Extra NAME=VALUE for every process start_as_user starts.
session_environment=()

end_user_process() { # end_user_process PID
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 100); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.05
    done
    kill -KILL "$1" 2>/dev/null
}

teardown() {
    local status=$? i
    trap - EXIT INT TERM
    end_process "$command_pid"
    # The processes themselves first, the last started first: the runuser around each would
    # wait seconds before passing a signal on.
    for ((i = ${#user_pids[@]} - 1; i >= 0; i--)); do
        end_user_process "${user_pids[i]}"
    done
    for pid in "${runner_pids[@]}"; do
        end_process "$pid"
    done
    # userdel refuses while the user's processes run: clients the compositor started itself
    # (weston's shell) end a moment after it.
    for _ in $(seq 40); do
        [[ -z $user ]] || userdel "$user" 2>/dev/null && break
        sleep 0.05
    done
    rm -rf "$session"
    exit "$status"
}
trap teardown EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# The compositors refuse root or want a user of their own: as root a throwaway user runs them and
# is removed after; root's clients reach their sockets all the same.
if ((EUID == 0)); then
    user=qm${compositor_name:0:4}$$
    useradd --no-create-home --home-dir "$session/home" --shell /usr/sbin/nologin "$user"
    chown "$user" "$runtime" "$session/home" "$session/pids"
fi

# start_as_user NAME COMMAND...: starts the command as the session user with only the session's
# environment, its output in $session/NAME.log; its pid goes into user_pids and last_user_pid.
start_as_user() {
    local name=$1 pid_file=$session/pids/$1
    shift
    local command=(env -i HOME="$session/home" PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime"
        "${session_environment[@]}" sh -c 'echo $$ >"$0"; exec "$@"' "$pid_file" "$@")
    if [[ -n $user ]]; then
        runuser -u "$user" -- "${command[@]}" >"$session/$name.log" 2>&1 &
    else
        "${command[@]}" >"$session/$name.log" 2>&1 &
    fi
    runner_pids+=("$!")
    for _ in $(seq 100); do
        [[ -s $pid_file ]] && break
        sleep 0.02
    done
    last_user_pid=$(<"$pid_file")
    user_pids+=("$last_user_pid")
}

# wait_until COMMAND...: waits up to 20 s for the command to succeed while the last process
# started runs; else shows the session's logs and fails the session.
wait_until() {
    for _ in $(seq 400); do
        "$@" >/dev/null 2>&1 && return 0
        kill -0 "$last_user_pid" 2>/dev/null || break
        sleep 0.05
    done
    tail -n 20 "$session"/*.log >&2
    echo "$compositor_name session: not ready ($*)" >&2
    exit 1
}

# A session bus of the session's own that root's clients may use too (the test's input and
# picture helpers).
start_session_bus() {
    cat >"$session/bus.conf" <<'EOT'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <include>/usr/share/dbus-1/session.conf</include>
  <policy context="default"><allow user="root"/></policy>
</busconfig>
EOT
    start_as_user bus dbus-daemon --config-file="$session/bus.conf" --nofork \
        --address="unix:path=$runtime/bus"
    wait_until test -S "$runtime/bus"
    session_environment+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/bus")
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$runtime/bus
}

# run_in_session DISPLAY-NAME COMPOSITOR-PID: runs the session's command against the compositor,
# which the command can end (a compositor that goes away) by QUILLMESH_COMPOSITOR_PID; its pid
# also lets a benchmark count the compositor's share of the work. QUILLMESH_COMPOSITOR_USER
# names the throwaway user (empty when there is none).
run_in_session() {
    export WAYLAND_DISPLAY=$1 XDG_RUNTIME_DIR=$runtime QUILLMESH_COMPOSITOR=$compositor_name
    export QUILLMESH_COMPOSITOR_PID=$2 QUILLMESH_COMPOSITOR_SESSION=$session
    export QUILLMESH_COMPOSITOR_USER=$user
    set +e
    run_session_command "$session_limit" "${session_command[@]}"
}
