#!/usr/bin/env bash
# quillmesh --snapshot renders without any X server: one PNG per render style, all different,
# and a black one for a "Rendermode" that draws nothing.
#   bash tests/e2e/linux_snapshot.sh build/native
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source "$here/linux_lib.sh"
quillmesh=$(cd "$1" && pwd)/shell/linux/quillmesh
work=$(mktemp -d "${TMPDIR:-/tmp}/quillmesh-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
unset DISPLAY

for style in wireframe dotted texture all; do
    "$quillmesh" --snapshot "$work/$style.png" --rendermode "$style" --frame 20 --size 320x240
    check "--snapshot with --rendermode $style exits 0 without a display" test $? -eq 0
    check "and writes a 320x240 PNG" is_png_of_size "$work/$style.png" 320x240
    check "with a lit picture" at_least "$(lit_share "$work/$style.png")" 0.02
done
distinct=$(md5sum "$work"/{wireframe,dotted,texture,all}.png | awk '{ print $1 }' | sort -u | wc -l)
check "the four render styles give four different pictures" test "$distinct" -eq 4

"$quillmesh" --snapshot "$work/again.png" --rendermode texture --frame 20 --size 320x240
check "the same snapshot twice gives the same bytes" cmp -s "$work/texture.png" "$work/again.png"
"$quillmesh" --snapshot "$work/later.png" --rendermode texture --frame 21 --size 320x240
check "--frame moves the animation on" bash -c "! cmp -s '$work/texture.png' '$work/later.png'"

mkdir -p "$XDG_CONFIG_HOME/quillmesh"
{
    printf '%s\n' "Resolution X=200" "Resolution Y=100" "Bit Depth=16" "ZBuffer Depth=16"
    printf '%s\n' "Alpha Depth=8" "Stencil Depth=0" "Rendermode=5" "Timer=0" "EnvMap=0"
    printf '%s\n' "Dot Size=8" "Line Size=2"
} >"$XDG_CONFIG_HOME/quillmesh/settings"
"$quillmesh" --snapshot "$work/none.png"
check "a stored Rendermode 5 exits 0" test $? -eq 0
check "and sizes the picture from the stored resolution" is_png_of_size "$work/none.png" 200x100
check "and the picture is black" test "$(convert "$work/none.png" -format '%[fx:maxima]' info:)" = 0
sed -i 's/^Resolution X=.*/Resolution X=0/' "$XDG_CONFIG_HOME/quillmesh/settings"
"$quillmesh" --snapshot "$work/empty.png" 2>"$work/err"
status=$?
check "a stored resolution of 0 cannot size a picture: exit 1, asking for --size" \
    bash -c "(( $status == 1 )) && grep -q -- '--size' '$work/err' && test ! -e '$work/empty.png'"
"$quillmesh" --snapshot "$work/sized.png" --size 20x10
check "while --size still gives one" is_png_of_size "$work/sized.png" 20x10
rm -r "$XDG_CONFIG_HOME/quillmesh"

"$quillmesh" --snapshot "$work/missing/folder/x.png" 2>"$work/err"
status=$?
check "an unwritable picture path exits 1 and names the file" \
    bash -c "(( $status == 1 )) && grep -q 'missing/folder/x.png' '$work/err'"
"$quillmesh" --frame 2 2>"$work/err"
check "--frame without --snapshot exits 2" test $? -eq 2

start_program --snapshot "$work/long.png" --frame 100000 --size 64x64
sleep 0.5
check "SIGTERM ends a long snapshot with 0 within a second" ends_on_sigterm
check "and leaves no half-made picture" test ! -e "$work/long.png"
stop_program

summary
