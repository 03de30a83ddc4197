# Sourced by the drivers whose input (and pictures) go through a helper program that reads one
# command a line and answers each with "done" (mutter.sh, kwin.sh).

# start_helper COMMAND...: starts the helper and waits until it has plugged its devices in.
start_helper() {
    local answer
    coproc helper { "$@" 2>"$work/helper.log"; }
    helper_pid=$helper_PID
    read -r -t 20 -u "${helper[0]}" answer && [[ $answer == "plugged in" ]] ||
        { cat "$work/helper.log" >&2; return 1; }
}

helper_says() { # helper_says COMMAND ARG...
    local answer
    echo "$*" >&"${helper[1]}" && read -r -t 20 -u "${helper[0]}" answer && [[ $answer == done ]]
}

unplug_input() { end_process "${helper_pid:-}"; }
move_pointer() { helper_says move "$1" "$2"; }
press_key() { helper_says key "${key_codes[$1]}"; }
click() { helper_says button "$left_button"; }
# Relative motion stops at the desktop's edges: the top left corner first.
park_pointer() { move_pointer -10000 -10000 && move_pointer "$1" "$2"; }
