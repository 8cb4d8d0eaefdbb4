#!/bin/bash
# The first start on a fresh account: the window comes up, then the
# introduction greets the user and the choice is stored as "show"; the user
# unticks "Show this message at startup" and closes it, and the next start
# comes up without it.
#
#   first_start_e2e.sh VORLO SAMPLES_DIR
#
# Exit 77 (skipped) only when no X server can be started.

set -u
vorlo=$1
samples=$2

E2E_FIRST_START=1
source "$(dirname "$0")/session.sh"
e2e_begin first_start_e2e
export VORLO_NO_DESKTOP_REGISTRATION=1
ini="$XDG_CONFIG_HOME/Local AppWizard-Generated Applications/vorlo.ini"

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/vorlo.log" ] && sed 's/^/  vorlo: /' "$work/vorlo.log" >&2
    [ -f "$ini" ] && sed 's/^/  ini: /' "$ini" >&2
    import -window root "$work/failure.png" 2>/dev/null
    exit 1
}

"$vorlo" "$samples/riddle1.vrl" >"$work/vorlo.log" 2>&1 &
pid=$!
e2e_pids+=("$pid")

main=$(timeout 20 xdotool search --sync --onlyvisible --name "riddle1.vrl - vorlo" | head -1)
[ -n "$main" ] || fail "the main window did not appear"
intro=$(timeout 20 xdotool search --sync --onlyvisible --name "^Introduction$" | head -1)
[ -n "$intro" ] || fail "the introduction did not greet the first start"
import -window root "$work/1-greeted.png" 2>/dev/null
grep -q 'show=@ByteArray(\\x1)' "$ini" || fail "the first start did not store the choice to greet"

# Untick the box (it has the focus first) and close with the Close button's key.
xdotool windowactivate --sync "$intro" 2>/dev/null || xdotool windowfocus --sync "$intro"
sleep 0.3
xdotool key space
sleep 0.2
import -window root "$work/2-unticked.png" 2>/dev/null
xdotool key Return
for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^Introduction$" >/dev/null 2>&1 || break
    sleep 0.1
done
xdotool search --onlyvisible --name "^Introduction$" >/dev/null 2>&1 && fail "the introduction did not close"
grep -q 'show=@ByteArray(\\0)' "$ini" || fail "closing with the box unticked did not store 0"
kill "$pid"
wait "$pid" 2>/dev/null

# The next start: the window, and no greeting.
"$vorlo" "$samples/riddle1.vrl" >"$work/vorlo.log" 2>&1 &
pid=$!
e2e_pids+=("$pid")
main=$(timeout 20 xdotool search --sync --onlyvisible --name "riddle1.vrl - vorlo" | head -1)
[ -n "$main" ] || fail "the main window did not appear the second time"
sleep 1.5
import -window root "$work/3-second-start.png" 2>/dev/null
xdotool search --onlyvisible --name "^Introduction$" >/dev/null 2>&1 &&
    fail "the introduction greeted although it was switched off"
echo "PASS"
