# Input and pictures on mutter (tests/mutter_session.sh): its remote desktop and screen cast.
source "$here/wayland/line_helper.sh"
output_regions=("0,0 1024x768" "1024,0 1024x768")
plug_in_input() { start_helper "$here/wayland/mutter_remote.py"; }
take_picture() { helper_says picture "$1"; }
