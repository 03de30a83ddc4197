#!/usr/bin/env bash
# Installs the Debian packages that building and testing need. Skips what is already there;
# run as root (or with sudo available) on Debian 12.
set -euo pipefail

packages=(
    # native build and tests
    build-essential cmake ninja-build pkg-config git
    libgtest-dev googletest libbenchmark-dev
    # OpenGL: Mesa with headless EGL, GLU, X11 and GLX for the Linux program, libpng for pictures;
    # RandR for the monitors, Xext for the display's power state
    libgl-dev libegl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0 libx11-dev libpng-dev
    libxrandr-dev libxext-dev
    # the fuzzers: clang with libFuzzer's runtime
    clang libclang-rt-14-dev
    # the Windows build and its tests under Wine
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
    # a private X server and input for the end-to-end tests; xrandr and xsetroot for its monitors
    xvfb xauth xdotool x11-utils imagemagick x11-xserver-utils
    # the Linux program's end-to-end tests: a host window, the XScreenSaver daemon, the manual
    x11-apps xscreensaver man-db python3
    # the Wayland shell: the client library with wayland-scanner and the protocols it generates
    # code from, keys, window decorations (libdecor, with its plugin for compositors that leave
    # them to the client)
    libwayland-dev libwayland-bin wayland-protocols libxkbcommon-dev libdecor-0-dev
    libdecor-0-plugin-1-cairo
    # its end-to-end tests: a headless compositor and its idle daemon, keys, screen pictures
    sway swayidle wtype grim
    # the same tests on GNOME's, KDE's and the reference compositor, headless; the private
    # session bus they run with, and its command line and Python clients for input and pictures
    mutter kwin-wayland weston dbus-daemon libglib2.0-bin python3-dbus python3-gi
    # mutter's screen pictures: PipeWire with its session manager, and GStreamer to take a frame
    # of the stream into a PNG (pngenc); KDE's fake-input protocol for KWin's input
    pipewire wireplumber gstreamer1.0-pipewire gstreamer1.0-tools gstreamer1.0-plugins-good
    plasma-wayland-protocols
    # the release archive and its check; the Debian package's dependencies (dpkg-shlibdeps)
    unzip dpkg-dev
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
