#!/usr/bin/env bash
# Installs the Debian packages that building and testing need. Skips what is already there;
# run as root (or with sudo available) on Debian 12.
set -euo pipefail

packages=(
    # native build and tests
    build-essential cmake ninja-build pkg-config git
    libgtest-dev googletest libbenchmark-dev
    # OpenGL: Mesa with headless EGL, GLU, X11 and GLX for the Linux program, libpng for pictures
    libgl-dev libegl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0 libx11-dev libpng-dev
    # the fuzzers: clang with libFuzzer's runtime
    clang libclang-rt-14-dev
    # the Windows build and its tests under Wine
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
    # a private X server, two monitors on it (xrandr) and input for the end-to-end tests
    xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick
    # the Linux program's end-to-end tests: a host window, the XScreenSaver daemon, the manual
    x11-apps xscreensaver man-db python3
    # the release archive and its check
    unzip
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

sudo=""
if ((EUID != 0)); then
    sudo=sudo
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
