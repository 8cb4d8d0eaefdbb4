#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays a riddle with a real pointer: starts the program on a virtual X
# server, drags one match with the left button and turns another with the
# right, saves with Ctrl+S, leaves through File > Exit, and checks the saved
# file. Screenshots of every step stay in the working folder when it fails.
#
#   drag_e2e.sh VORLO VORLO_CLI SAMPLES_DIR
#
# Exit 77 (skipped) only when no X server can be started.

set -euo pipefail
vorlo=$1
cli=$2
samples=$3

source "$(dirname "$0")/session.sh"
e2e_begin drag_e2e
# Leave the user's desktop alone.
export VORLO_NO_DESKTOP_REGISTRATION=1

riddle="$work/riddle1.vrl"
# The file format's worked example: the clicks below aim at its matches.
cp "$(dirname "$0")/../data/worked_example.vrl" "$riddle"
chmod u+w "$riddle"


fail() { e2e_fail "$*"; }

"$vorlo" "$riddle" >"$work/vorlo.log" 2>&1 &
vorlo_pid=$!
e2e_pids+=("$vorlo_pid")

wid=$(timeout 20 xdotool search --sync --onlyvisible --name "riddle1.vrl" | head -1) || true
[ -n "$wid" ] || fail "the window did not appear"
echo "window $wid"

# Where board point (0, 0) is on the screen, found by the riddle's picture.
e2e_board_origin "$wid" "$cli" "$riddle" || fail "the riddle's board was not found on the screen"
ox=$e2e_ox oy=$e2e_oy
echo "board origin on the screen: $ox $oy"

e2e_focus "$wid" || fail "the window did not take the focus"
e2e_shot 1-opened

# Screen position of board point (x, y).
at() { echo $((ox + $1)) $((oy + $2)); }

# drag BUTTON NAME X Y X1 Y1 ...: press at board point (X, Y), move through
# the other points, let go; screenshots while held and after. The program has
# handled each step before the next is made, as under a person's hand.
drag() {
    local button=$1 name=$2
    shift 2
    xdotool mousemove --sync $(at "$1" "$2")
    shift 2
    e2e_idle "$wid"
    xdotool mousedown "$button"
    e2e_idle "$wid"
    while [ $# -ge 2 ]; do
        xdotool mousemove --sync $(at "$1" "$2")
        shift 2
        e2e_idle "$wid"
    done
    e2e_shot "$name-held"
    xdotool mouseup "$button"
    e2e_idle "$wid"
    e2e_shot "$name-done"
}

# Left drag: the lying match (199, 137, 0) grabbed at (230, 137), 31 pixels
# right of its tail point, and let go at (330, 187).
drag 1 2-left-drag 230 137 250 147 280 162 310 177 330 187

# Right drag: the standing match (258, 248, 90) grabbed near its head, so it
# turns about its tail, pulled round to lie to the right.
drag 3 3-right-drag 258 190 280 192 310 205 335 225 345 240

before=$(e2e_stamp "$riddle")
xdotool key --clearmodifiers ctrl+s
e2e_wait 10 "the save" e2e_changed "$riddle" "$before" || fail "Ctrl+S did not save"
e2e_idle "$wid"
e2e_shot 4-saved

# Leave through File > Exit; the riddle is saved, so no question comes.
e2e_open_menu "$vorlo_pid" "$wid" alt+f || fail "Alt+F did not open the File menu"
e2e_shot 5-file-menu
xdotool key x
if ! e2e_wait 10 "the program to end" e2e_ended "$vorlo_pid"; then
    e2e_shot 6-still-open
    fail "the program did not end after File > Exit"
fi
status=0
wait "$vorlo_pid" || status=$?
[ "$status" = 0 ] || fail "the program ended with status $status"

json=$("$cli" info --json "$riddle") || fail "vorlo-cli cannot read the saved riddle"
echo "saved: $json"
python3 - "$json" <<'PY' || fail "the saved riddle does not show the drags"
import json, sys
m = json.loads(sys.argv[1])["matches"]
assert len(m) == 4, m
assert m[0] == [309, 126, 90] and m[1] == [209, 126, 90], m
# Moved with the grab offset kept: pointer (330, 187) - (31, 0).
assert m[2] == [299, 187, 0], m[2]
# Turned about its tail: the tail point stays, the match now lies to the right.
x, y, a = m[3]
assert (x, y) == (258, 248), m[3]
assert -15 <= a <= 15 and a != 90, m[3]
PY
echo "PASS"
