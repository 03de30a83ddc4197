#!/usr/bin/env bash
# quillmesh as installed, under the real XScreenSaver daemon: `cmake --install` puts the hack,
# its link, its settings dialog description and its manual where they belong; the daemon in
# "mode: one" starts the hack on its window, the hack draws, a key unblanks and the hack ends.
#   bash tests/e2e/linux_xscreensaver.sh build/native
# The daemon refuses to run as root, so as root a throwaway user runs it and is removed after.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [[ -z ${QUILLMESH_XVFB_SESSION:-} ]]; then
    exec "$here/../xvfb_session.sh" --timeout 300 bash "$0" "$@"
fi
source "$here/lib.sh"
source "$here/linux_lib.sh"
build=$(cd "$1" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/quillmesh-xss.XXXXXX")
chmod 755 "$work"
user=""
daemon_pid=""

as_saver_user() { # as_saver_user COMMAND...: with a clean environment of that user's own
    local environment=(env -i HOME="$work/home" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin)
    if [[ -n $user ]]; then
        runuser -u "$user" -- "${environment[@]}" "$@"
    else
        "${environment[@]}" "$@"
    fi
}

cleanup() {
    if [[ -n $daemon_pid ]]; then
        as_saver_user xscreensaver-command -exit >/dev/null 2>&1
        for _ in $(seq 50); do kill -0 "$daemon_pid" 2>/dev/null || break; sleep 0.1; done
        kill "$daemon_pid" 2>/dev/null
        wait "$daemon_pid" 2>/dev/null
    fi
    [[ -n $user ]] && userdel "$user" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

echo "--- installed files"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
hack=$prefix/libexec/xscreensaver/quillmesh
config=$prefix/share/xscreensaver/config/quillmesh.xml
check "the hack is in libexec/xscreensaver" test -x "$hack"
check "bin/quillmesh leads to it" \
    test "$(readlink -f "$prefix/bin/quillmesh")" = "$(readlink -f "$hack")"
check "the config is in share/xscreensaver/config" test -f "$config"
check "the manual is in man6, compressed" test -f "$prefix/share/man/man6/quillmesh.6.gz"
manual_renders_cleanly() {
    local warnings
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$1" 2>&1 >/dev/null)
    [[ -z $warnings ]] || echo "$warnings" >&2
    [[ -z $warnings ]]
}
check "the manual renders without warnings" \
    manual_renders_cleanly "$prefix/share/man/man6/quillmesh.6.gz"

# Every command-line piece the dialog can produce must be an option the hack accepts.
mapfile -t pieces < <(python3 - "$config" <<'PY'
import sys, xml.etree.ElementTree as tree
root = tree.parse(sys.argv[1]).getroot()
assert root.tag == "screensaver" and root.get("name") == "quillmesh"
for element in root.iter():
    if element.tag == "command":
        print(element.get("arg"))
    for key in ("arg-set", "arg-unset"):
        if element.get(key):
            print(element.get(key))
    if element.tag == "number":
        for value in (element.get("low"), element.get("high"), element.get("default")):
            print(element.get("arg").replace("%", value))
PY
)
check "the config is well-formed and offers options" test "${#pieces[@]}" -ge 8
for piece in "${pieces[@]}"; do
    # shellcheck disable=SC2086 # a piece is an option and its value
    check "the hack accepts '$piece'" \
        bash -c "XDG_CONFIG_HOME='$work/cfg' '$hack' $piece --settings >/dev/null"
done

echo "--- the XScreenSaver daemon"
if ((EUID == 0)); then
    user=qmxss$$
    useradd --no-create-home --home-dir "$work/home" --shell /usr/sbin/nologin "$user" ||
        { echo "cannot create a user for the daemon" >&2; user=""; }
fi
mkdir -p "$work/home"
cat >"$work/home/.xscreensaver" <<EOT
mode: one
selected: 0
timeout: 0:10:00
lock: False
fade: False
unfade: False
splash: False
captureStderr: True
programs: $hack --root \\n\\
EOT
[[ -n $user ]] && chown -R "$user" "$work/home"

as_saver_user xscreensaver --no-splash --verbose --log "$work/home/log" >/dev/null 2>&1 &
daemon_pid=$!
for _ in $(seq 100); do
    as_saver_user xscreensaver-command -time >/dev/null 2>&1 && break
    sleep 0.1
done
daemon_answers() { as_saver_user xscreensaver-command -time >/dev/null 2>&1; }
check "the daemon answers" daemon_answers
as_saver_user xscreensaver-command -activate >/dev/null 2>&1

hack_pid=""
for _ in $(seq 100); do
    hack_pid=$(sed -n -E 's/.*forked ".*quillmesh --root" in pid ([0-9]+).*/\1/p' \
        "$work/home/log" | tail -n 1)
    [[ -n $hack_pid ]] && break
    sleep 0.1
done
check "the daemon launches quillmesh --root" test -n "$hack_pid"
check "the hack draws on the screen" wait_for_picture root "$work/blanked.png"
check "the hack is still running" kill -0 "${hack_pid:-0}"

# The daemon may not listen for input in the first moments after blanking: press again until
# it unblanks.
gone=1
for _ in $(seq 20); do
    xdotool key a
    for _ in $(seq 10); do
        kill -0 "${hack_pid:-0}" 2>/dev/null || { gone=0; break 2; }
        sleep 0.05
    done
done
check "a key unblanks and the hack exits" test "$gone" -eq 0
check "the daemon reports the screen unblanked" grep -q unblanking "$work/home/log"
if ((failed > 0)); then
    echo "--- daemon log"
    cat "$work/home/log"
fi

summary
