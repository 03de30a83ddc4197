# Input and pictures on KWin (tests/kwin_session.sh): fake input and its screenshot service.
source "$here/wayland/line_helper.sh"
output_regions=("0,0 1024x768" "1024,0 1024x768")
# KWin offers its fake input only to clients whose program it can look up (/proc/PID/exe):
# those of its own user, from where that user may run them.
plug_in_input() {
    install -m 755 "$build/tests/shell/wayland/send_fake_input" "$XDG_RUNTIME_DIR/"
    if [[ -n $QUILLMESH_COMPOSITOR_USER ]]; then
        start_helper runuser -u "$QUILLMESH_COMPOSITOR_USER" -- env \
            XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" \
            "$XDG_RUNTIME_DIR/send_fake_input"
    else
        start_helper "$XDG_RUNTIME_DIR/send_fake_input"
    fi
}
take_picture() { "$here/wayland/kwin_picture.py" "$1"; }
