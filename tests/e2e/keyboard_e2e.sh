#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Solves the fish riddle with the keyboard alone: Tab to each of the two tail
# matches, turn it with the bracket keys, move it with the arrows, save with
# Ctrl+S, and check the saved file. Screenshots stay in the working folder
# when it fails.
#
#   keyboard_e2e.sh VORLO VORLO_CLI SAMPLES_DIR
#
# Exit 77 (skipped) only when no X server can be started.

set -euo pipefail
vorlo=$1
cli=$2
samples=$3

source "$(dirname "$0")/session.sh"
e2e_begin keyboard_e2e
export VORLO_NO_DESKTOP_REGISTRATION=1

riddle="$work/fish.vrl"
cp "$samples/kidsriddle.vrl" "$riddle"
chmod u+w "$riddle"

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/vorlo.log" ] && sed 's/^/  vorlo: /' "$work/vorlo.log" >&2
    exit 1
}

shot() {
    import -window root "$work/$1.png" 2>/dev/null || echo "no screenshot $1" >&2
}

"$vorlo" "$riddle" >"$work/vorlo.log" 2>&1 &
vorlo_pid=$!
e2e_pids+=("$vorlo_pid")

wid=$(timeout 20 xdotool search --sync --onlyvisible --name "fish.vrl" | head -1) || true
[ -n "$wid" ] || fail "the window did not appear"
e2e_board_origin "$wid" "$cli" "$riddle" || fail "the riddle's board was not found on the screen"
e2e_focus "$wid" || fail "the window did not take the focus"
shot 1-opened

# keys NAME KEY...: presses the keys one by one, waits until the program has
# handled them, and takes a screenshot.
keys() {
    local name=$1
    shift
    xdotool key --clearmodifiers --delay 20 "$@"
    e2e_idle "$wid"
    shot "$name"
}

repeat() {
    local n=$1 key=$2
    for _ in $(seq "$n"); do echo "$key"; done
}

# Match 5, (278, 200, 45): half a right angle six times the other way round,
# then 108 pixels left.
keys 2-match-5 $(repeat 5 Tab) $(repeat 6 shift+bracketleft) \
    $(repeat 10 shift+Left) $(repeat 8 Left)
# Match 6, (278, 200, 315): the same the other way round.
keys 3-match-6 Tab $(repeat 6 shift+bracketright) $(repeat 10 shift+Left) $(repeat 8 Left)

before=$(e2e_stamp "$riddle")
xdotool key --clearmodifiers ctrl+s
e2e_wait 10 "the save" e2e_changed "$riddle" "$before" || fail "Ctrl+S did not save"
shot 4-saved

json=$("$cli" info --json "$riddle") || fail "vorlo-cli cannot read the saved riddle"
echo "saved: $json"
python3 - "$json" <<'PY' || fail "the saved riddle is not the solution"
import json, sys
m = json.loads(sys.argv[1])["matches"]
assert len(m) == 6, m
assert m[4] == [170, 200, 135], m[4]
assert m[5] == [170, 200, 225], m[5]
PY
echo "PASS"
