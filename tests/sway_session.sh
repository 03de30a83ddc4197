#!/usr/bin/env bash
# Runs a command against a private headless sway (wlroots' headless backend, drawing in
# software), and ends that sway by its process id when the command ends, fails or is interrupted.
#
#   tests/sway_session.sh [--timeout SECONDS] [--outputs N] COMMAND [ARG...]
#
# The command sees WAYLAND_DISPLAY, XDG_RUNTIME_DIR, SWAYSOCK (for swaymsg) and
# QUILLMESH_SWAY_PID. sway refuses to run as root, so as root a throwaway user runs it and is
# removed after; root's clients reach its socket all the same. Inside a session already
# (QUILLMESH_SWAY_SESSION set) it only runs the command.
set -euo pipefail
# end_process and run_session_command
source "$(dirname "$0")/private_xvfb.sh"

limit=${QUILLMESH_SWAY_TIMEOUT:-300}
outputs=1
while [[ ${1:-} == --* ]]; do
    case $1 in
    --timeout) limit=$2 ;;
    --outputs) outputs=$2 ;;
    *) break ;;
    esac
    shift 2
done
if [[ -n ${QUILLMESH_SWAY_SESSION:-} ]]; then
    exec timeout -k 5 "$limit" "$@"
fi

session=$(mktemp -d "${TMPDIR:-/tmp}/quillmesh-sway.XXXXXX")
chmod 755 "$session"
user=""
sway_pid=""
runner_pid=""
command_pid=""

# sway is no child of ours (runuser's), so it is waited for by looking.
end_sway() {
    [[ -n $sway_pid ]] || return 0
    kill "$sway_pid" 2>/dev/null || return 0
    for _ in $(seq 100); do
        kill -0 "$sway_pid" 2>/dev/null || return 0
        sleep 0.05
    done
    kill -KILL "$sway_pid" 2>/dev/null
}

teardown() {
    local status=$?
    trap - EXIT INT TERM
    end_process "$command_pid"
    # sway itself first: the runuser around it would wait seconds before passing a signal on.
    end_sway
    end_process "$runner_pid"
    [[ -n $user ]] && userdel "$user" 2>/dev/null
    rm -rf "$session"
    exit "$status"
}
trap teardown EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

runtime=$session/runtime
mkdir -m 700 "$runtime" "$session/home"
# Moving the focus must not move the pointer: to a saver that is travel.
cat >"$session/config" <<'EOT'
xwayland disable
mouse_warping none
EOT
if ((EUID == 0)); then
    user=qmsway$$
    useradd --no-create-home --home-dir "$session/home" --shell /usr/sbin/nologin "$user"
    chown "$user" "$runtime" "$session/home"
fi
as_sway_user() {
    if [[ -n $user ]]; then
        runuser -u "$user" -- "$@"
    else
        "$@"
    fi
}
as_sway_user env -i HOME="$session/home" PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_HEADLESS_OUTPUTS="$outputs" sway -c "$session/config" >"$session/sway.log" 2>&1 &
runner_pid=$!
# Ready once it answers on its socket, which names its process: sway-ipc.UID.PID.sock.
ready=""
for _ in $(seq 200); do
    ipc=$(compgen -G "$runtime/sway-ipc.*.sock" || true)
    display=$(compgen -G "$runtime/wayland-*[0-9]" || true)
    if [[ -n $ipc ]]; then
        sway_pid=${ipc%.sock}
        sway_pid=${sway_pid##*.}
    fi
    if [[ -n $display ]] && SWAYSOCK=$ipc swaymsg -t get_version >/dev/null 2>&1; then
        ready=yes
        break
    fi
    kill -0 "$runner_pid" 2>/dev/null || break
    sleep 0.05
done
if [[ -z $ready ]]; then
    cat "$session/sway.log" >&2
    exit 1
fi
export WAYLAND_DISPLAY=${display##*/} XDG_RUNTIME_DIR=$runtime SWAYSOCK=$ipc
export QUILLMESH_SWAY_SESSION=$session QUILLMESH_SWAY_PID=$sway_pid

set +e
run_session_command "$limit" "$@"
