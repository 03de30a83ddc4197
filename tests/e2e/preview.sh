#!/usr/bin/env bash
# The real quillmesh.scr /p under Wine and Xvfb: the preview draws inside the child window of our
# preview host Scrprev.exe, found or started by name, and never touches the display mode.
#   tests/wine_harness.sh bash tests/e2e/preview.sh BUILD_DIR [SCREENSHOT_DIR]
set -uo pipefail
source "$(dirname "$0")/saver_lib.sh" "$@"

host_pid=""
stop_host() {
    end_process "$host_pid"
    host_pid=""
}
trap 'stop_saver; stop_host' EXIT

# A host that the saver started: its process is ours to end should a check fail.
host_appears() {
    wait_for_window Scrprev >/dev/null || return 1
    local pid
    for pid in $(pgrep -f 'Scrprev.exe'); do
        if grep -qz "^WINEPREFIX=$WINEPREFIX\$" "/proc/$pid/environ" 2>/dev/null; then
            host_pid=$pid
        fi
    done
}

start_host() {
    wine "$scrprev" &
    host_pid=$!
    wait_for_window Scrprev >/dev/null
}

# The preview window as the probe sees it: at the place and size of the host's child, its child.
preview_fills_host_child() {
    local number area
    read -r number area < <(probe host) || return 1
    for _ in $(seq 80); do
        read -r preview_area preview_place preview_handle < <(probe preview) &&
            [[ $preview_area == "$area" && $preview_place == in-host ]] && return 0
        sleep 0.25
    done
    return 1
}

# Wine 8 does not bring the pixels of a child window into a top-level window of another process
# (not even the child's black background shows), so the screen cannot tell whether the preview
# draws. Wine's own trace can: the saver made the OpenGL drawable for the preview window and
# swaps frames on it.
draws_on_preview_window() { # draws_on_preview_window TRACE_FILE
    grep -q "created GL drawable [0-9a-f]* for win 0x$preview_handle " "$1" &&
        (($(grep -c 'wglSwapBuffers' "$1") >= 10))
}

# Closing the host destroys the preview with it, and the saver ends.
host_close_ends_both() {
    probe close-host >/dev/null || return 1
    ended_with 0 && for _ in $(seq 50); do
        kill -0 "$host_pid" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

ends_at_once_without_preview() { # ends_at_once_without_preview ARGUMENT...
    start_saver "$@"
    ended_with 0 10 && ! probe preview >/dev/null
}

store_settings "Dot Size=0" # the preview draws with points of 1 pixel: no error box
mode_before=$(probe mode)

check "Scrprev.exe shows its window" start_host
read -r number area < <(probe host)
check "its child is 152x112" [ "${area%%+*}" == 152x112 ]
WINEDEBUG=-all,+wgl start_saver /p "$number" 2>"$shots/preview-wgl.log"
check "/p NUMBER makes a child of that window, at its place and size" preview_fills_host_child
sleep 2
screenshot preview
check "and draws its frames on that child" draws_on_preview_window "$shots/preview-wgl.log"
check "the host minimized" [ "$(probe minimize-host)" == minimized ]
sleep 0.5 # a frame under way when it went
check "the preview swaps no frame while it is" [ "$(swaps_over 2 "$shots/preview-wgl.log")" == 0 ]
check "the host restored" [ "$(probe restore-host)" == restored ]
check "the preview swaps frames again" [ "$(swaps_over 2 "$shots/preview-wgl.log")" -ge 10 ]
check "no error box for Dot Size 0" [ "$(probe boxes "Error beim Initialisieren des Objektes")" == 0 ]
check "no saver window" [ -z "$(xdotool search --name '^SaverWindow$' 2>/dev/null)" ]
check "the display mode is unchanged" [ "$(probe mode)" == "$mode_before" ]
check "the platform is not told that a saver runs" [ "$(probe running)" == 0 ]
check "closing the host ends the preview with 0" host_close_ends_both

host_dir=$(winepath -w "$(dirname "$scrprev")")
WINEPATH=$host_dir start_saver /p scrprev
check "/p scrprev starts Scrprev from WINEPATH" host_appears
check "and makes the preview in its child" preview_fills_host_child
check "closing the host ends it with 0" host_close_ends_both

check "Scrprev.exe started by hand" start_host
start_saver /p:SCRPREV
check "/p:SCRPREV finds the running host and makes the preview in its child" preview_fills_host_child
check "without starting a second one" [ "$(xdotool search --name '^Scrprev$' | wc -l)" == 1 ]
check "closing the host ends it with 0" host_close_ends_both

beside=$(mktemp -d)
cp "$scr" "$scrprev" "$beside/"
scr=$beside/quillmesh.scr
start_saver /p scrprev
check "/p scrprev starts Scrprev found beside the saver" host_appears
check "and makes the preview in its child" preview_fills_host_child
check "closing the host ends it with 0" host_close_ends_both
rm -f "$beside/Scrprev.exe"

check "/p scrprev with no host to find ends at once with 0" ends_at_once_without_preview /p scrprev
check "/p 0 ends at once with 0" ends_at_once_without_preview /p 0
check "the display mode is still unchanged" [ "$(probe mode)" == "$mode_before" ]
rm -rf "$beside"

summary
