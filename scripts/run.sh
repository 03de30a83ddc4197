#!/usr/bin/env bash
# Builds quillmesh.scr and runs it under Wine in configure mode.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
exec wine build/windows/shell/win32/quillmesh.scr "${@:-/c}"
