# Input and pictures on sway (tests/sway_session.sh): a virtual pointer that swaymsg moves, a
# lasting virtual keyboard from wtype, and grim.
output_regions=("0,0 1280x720" "1280,0 1280x720")
# A headless sway has no mouse and no keyboard: plug virtual ones in for the whole script, as a
# desktop has them. The keyboard lasts as long as this wtype sleeps; each later wtype is a second
# keyboard of its own.
plug_in_keyboard() {
    wtype -s 600000 &
    keyboard_pid=$!
    for _ in $(seq 50); do
        swaymsg -t get_seats | grep -q '"capabilities": 3' && break
        sleep 0.05
    done
}
plug_in_input() {
    "$build/tests/shell/wayland/plug_in_pointer" >"$work/pointer.log" 2>&1 &
    pointer_pid=$!
    plug_in_keyboard
}
unplug_input() {
    end_process "${pointer_pid:-}"
    end_process "${keyboard_pid:-}"
}
park_pointer() { swaymsg -- seat seat0 cursor set "$1" "$2" >/dev/null; }
move_pointer() { swaymsg -- seat seat0 cursor move "$1" "$2" >/dev/null; }
press_key() { wtype -k "$1"; }
click() {
    swaymsg seat seat0 cursor press button1 >/dev/null &&
        swaymsg seat seat0 cursor release button1 >/dev/null
}
take_picture() { grim "$1"; }
