#!/usr/bin/env bash
# Builds the Linux program and runs it: in a window when there is an X display (options pass
# through, e.g. --fullscreen); without one, renders a picture of each render style headless
# and says where they are.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native --target quillmesh
program=build/native/shell/linux/quillmesh

if [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; then
    exec "$program" "$@"
fi

pictures=build/native/snapshots
mkdir -p "$pictures"
for style in wireframe dotted texture all; do
    "$program" --snapshot "$pictures/quillmesh-$style.png" --rendermode "$style" --frame 40 \
        --size 400x300
done
echo "No X display here, so quillmesh rendered one picture per render style without one:"
for style in wireframe dotted texture all; do
    echo "  $PWD/$pictures/quillmesh-$style.png"
done
