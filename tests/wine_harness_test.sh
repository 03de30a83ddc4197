#!/usr/bin/env bash
# The Wine harness passes on the command's exit code and leaves nothing behind: no Xvfb, no
# wineserver, no prefix, whether the command succeeds, fails, runs over its time or is interrupted.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e/lib.sh"
harness=$here/wine_harness.sh
unset QUILLMESH_WINE_SESSION # these checks need sessions of their own
record=$(mktemp)
trap 'rm -f "$record"' EXIT

# Run inside a session: notes the session's own processes (the harness's children) and prefix.
note_session() {
    local harness_pid
    harness_pid=$(ps -o ppid= -p "$PPID" | tr -d ' ')
    echo "$(pgrep -P "$harness_pid" | tr '\n' ' ') $WINEPREFIX" >"$record"
}
export -f note_session
export record

session_gone() {
    local pid prefix
    read -r -a noted <"$record"
    prefix=${noted[-1]}
    for pid in "${noted[@]:0:${#noted[@]}-1}"; do
        kill -0 "$pid" 2>/dev/null && return 1
    done
    ((${#noted[@]} >= 3)) && [[ ! -e $prefix ]]
}

: >"$record"
"$harness" bash -c 'note_session; wine cmd /c exit 0' >/dev/null 2>&1
check "a command's success comes back" test $? = 0
check "and the session is gone" session_gone

: >"$record"
"$harness" bash -c 'note_session; wine cmd /c exit 3' >/dev/null 2>&1
check "a command's failure comes back" test $? = 3
check "and the session is gone" session_gone

: >"$record"
"$harness" --timeout 3 bash -c 'note_session; sleep 60' >/dev/null 2>&1
check "a command past its time ends with timeout's code" test $? = 124
check "and the session is gone" session_gone

# A background job starts with interrupts ignored; give the harness back the default, as a
# terminal's Ctrl-C would find it.
with_default_interrupt() {
    exec python3 -c 'import os, signal, sys
signal.signal(signal.SIGINT, signal.SIG_DFL)
os.execvp(sys.argv[1], sys.argv[1:])' "$@"
}

for signal in INT TERM; do
    : >"$record"
    with_default_interrupt "$harness" bash -c 'note_session; sleep 60' >/dev/null 2>&1 &
    harness_pid=$!
    for _ in $(seq 600); do [[ -s $record ]] && break; sleep 0.1; done
    kill "-$signal" "$harness_pid"
    SECONDS=0
    wait "$harness_pid"
    ended=$?
    expected=$((128 + $(kill -l "$signal")))
    check "a session sent SIG$signal ends at once with $expected" \
        test "$ended" = "$expected" -a $SECONDS -lt 20
    check "and the session is gone" session_gone
done

summary
