#!/usr/bin/env bash
# The Debian package of the native build: `cpack -G DEB` makes quillmesh_<version>_amd64.deb with
# the hack, its link, the XScreenSaver settings, the manual and the licence, its dependencies
# computed from the binary and XScreenSaver only suggested; apt-get installs it, the installed
# quillmesh renders a snapshot, and removing it leaves nothing behind.
#   bash tests/e2e/linux_package.sh build/native
# It installs into this machine's /usr: run it as root or with sudo, where no other quillmesh
# package is installed.
set -uo pipefail
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/linux_lib.sh"
build=$(realpath "$1")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$build/quillmesh_${version}_amd64.deb
work=$(mktemp -d "${TMPDIR:-/tmp}/quillmesh-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
sudo=""
((EUID == 0)) || sudo=sudo

make_package() {
    rm -f "$deb"
    (cd "$build" && cpack -G DEB) >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; return 1; }
    [[ -f $deb ]]
}
check "cpack -G DEB makes quillmesh_${version}_amd64.deb" make_package

# The package's paths without the leading dot, directories with a trailing slash.
dpkg-deb -c "$deb" | awk '{ print substr($6, 2) }' >"$work/paths"
files_are_exactly() { # files_are_exactly PATH...
    local expected actual
    expected=$(printf '%s\n' "$@" | sort)
    actual=$(grep -v '/$' "$work/paths" | sort)
    [[ $actual == "$expected" ]] || { diff <(echo "$expected") <(echo "$actual") >&2; return 1; }
}
check "it holds the hack, its link, the settings dialog, the manual and the licence, no more" \
    files_are_exactly /usr/libexec/xscreensaver/quillmesh /usr/bin/quillmesh \
    /usr/share/xscreensaver/config/quillmesh.xml /usr/share/man/man6/quillmesh.6.gz \
    /usr/share/doc/quillmesh/copyright
depends=$(dpkg-deb -f "$deb" Depends)
echo "  Depends: $depends"
depends_on_all() { # depends_on_all PACKAGE...
    local package
    for package; do
        [[ ", $depends," == *", $package"[\ ,]* ]] || { echo "  no $package" >&2; return 1; }
    done
}
check "its dependencies come from the binary's libraries (dpkg-shlibdeps)" \
    depends_on_all libc6 libx11-6 libxrandr2 libxext6 libpng16-16 libegl1 libglx0
check "XScreenSaver is suggested, not required" \
    bash -c "[[ '$(dpkg-deb -f "$deb" Suggests)' == xscreensaver && '$depends' != *xscreensaver* ]]"
dpkg-deb -x "$deb" "$work/unpacked"
check "the hack is stripped" \
    bash -c "nm '$work/unpacked/usr/libexec/xscreensaver/quillmesh' 2>&1 | grep -q 'no symbols'"

echo "--- installed with apt-get, and removed"
if dpkg-query -W quillmesh >/dev/null 2>&1; then
    check "no quillmesh package is installed before the test" false
    summary
    exit
fi
dpkg-query -W -f '${Package}\n' | sort >"$work/packages-before"
# Of the package's paths, those that the machine already has: they must stay, the rest must go.
while read -r path; do
    [[ -e $path || -L $path ]] && echo "$path"
done <"$work/paths" >"$work/existing-before"

apt() { # apt ARG...: apt-get, its output kept unless it fails
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=120 "$@" \
        >"$work/apt.log" 2>&1 ||
        { cat "$work/apt.log" >&2; return 1; }
}
check "apt-get install ./${deb##*/} installs it" apt install "$deb"
check "quillmesh is found on PATH as /usr/bin/quillmesh, a link to the hack" bash -c \
    "[[ \$(command -v quillmesh) == /usr/bin/quillmesh &&
        \$(readlink -f /usr/bin/quillmesh) == /usr/libexec/xscreensaver/quillmesh ]]"
(cd / && env -u DISPLAY XDG_CONFIG_HOME="$work/config" quillmesh --snapshot "$work/shot.png" \
    --size 320x240)
check "the installed quillmesh --snapshot exits 0" test $? -eq 0
check "and writes a 320x240 PNG" is_png_of_size "$work/shot.png" 320x240
check "with a lit picture" at_least "$(lit_share "$work/shot.png")" 0.02

check "apt-get remove --purge removes it" apt remove --purge quillmesh
check "dpkg no longer knows it" bash -c "! dpkg-query -W quillmesh >/dev/null 2>&1"
left_behind() {
    local path left=0
    while read -r path; do
        grep -qxF "$path" "$work/existing-before" && continue
        if [[ -e $path || -L $path ]]; then
            echo "  left behind: $path" >&2
            left=1
        fi
    done <"$work/paths"
    ((left == 0))
}
check "none of its files or folders is left" left_behind
dpkg-query -W -f '${Package}\n' | sort >"$work/packages-after"
check "and the machine has the packages it had before" \
    diff "$work/packages-before" "$work/packages-after"

summary
