#!/usr/bin/env bash
# Builds quillmesh.scr and runs it under Wine: the full-screen saver unless another switch is
# given (/c configure, /p scrprev preview, /a change password). Needs an X display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
export WINEDEBUG=${WINEDEBUG:--all}
exec wine build/windows/shell/win32/quillmesh.scr "${@:-/s}"
