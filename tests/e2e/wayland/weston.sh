# Pictures on weston (tests/weston_session.sh), whose headless backend has no seat: no input.
output_regions=("0,0 1024x768")
plug_in_input() { :; }
unplug_input() { :; }
# weston-screenshooter writes into the current folder, and the unused X byte as alpha.
take_picture() {
    rm -rf "$work/screenshooter" && mkdir "$work/screenshooter" &&
        (cd "$work/screenshooter" && timeout 10 weston-screenshooter) &&
        convert "$work"/screenshooter/*.png -alpha off "$1"
}
