#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Solves the fish riddle with the keyboard alone, as its author: the riddle
# opens as a game (its solution lies beside it), Game > Play Riddle turns to
# editing, then Tab to each of the two tail matches, turn it with the bracket
# keys, move it with the arrows, save with Ctrl+S, and check the saved file. The riddle's solution file lies beside it,
# so the window shows its "Solved" note, found by its colours in the board's
# top right corner; vorlo-cli check must agree on the saved file. Screenshots
# stay in the working folder when it fails.
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
cp "$samples/kidsriddle.solution.vrl" "$work/fish.solution.vrl"
chmod u+w "$riddle"

fail() { e2e_fail "$*"; }

"$vorlo" "$riddle" >"$work/vorlo.log" 2>&1 &
vorlo_pid=$!
e2e_pids+=("$vorlo_pid")

wid=$(timeout 20 xdotool search --sync --onlyvisible --name "fish.vrl" | head -1) || true
[ -n "$wid" ] || fail "the window did not appear"
e2e_board_origin "$wid" "$cli" "$riddle" || fail "the riddle's board was not found on the screen"
e2e_focus "$wid" || fail "the window did not take the focus"
e2e_shot 1-opened
# From playing to editing, so that Ctrl+S writes the board.
e2e_open_menu "$vorlo_pid" "$wid" alt+g || fail "Alt+G did not open the Game menu"
xdotool key p
e2e_idle "$wid"
e2e_shot 1-editing

# The note that tells a player the riddle is solved: a pale green box with
# dark green writing, near the top right corner of the board. Its colours are
# looked for in the top 80 pixels of the board, from the board's left edge to
# the window's right edge; no match or pane there is drawn in them.
note_background=eaf6eb
note_writing=1b5e20
note_shown() {
    local X Y WIDTH HEIGHT SCREEN WINDOW at
    eval "$(xdotool getwindowgeometry --shell "$wid")" || return 1
    import -window root -depth 8 "$work/screen.ppm" 2>/dev/null || return 1
    local area=("$e2e_ox" "$e2e_oy" $((X + WIDTH - e2e_ox)) 80)
    at=$(python3 "$e2e_dir/locate.py" colour "$work/screen.ppm" "$note_background" 3 \
        "${area[@]}") || return 1
    read -r note_x note_y <<<"$at"
    python3 "$e2e_dir/locate.py" colour "$work/screen.ppm" "$note_writing" 24 \
        "${area[@]}" >/dev/null
}
! note_shown || fail "the riddle is shown as solved before a match was moved"

# keys NAME KEY...: presses the keys one by one, waits until the program has
# handled them, and takes a screenshot.
keys() {
    local name=$1
    shift
    xdotool key --clearmodifiers --delay 20 "$@"
    e2e_idle "$wid"
    e2e_shot "$name"
}

repeat() {
    local n=$1 key=$2
    for _ in $(seq "$n"); do echo "$key"; done
}

# Match 5, (278, 200, 45): half a right angle six times the other way round,
# then 108 pixels left.
keys 2-match-5 $(repeat 5 Tab) $(repeat 6 shift+bracketleft) \
    $(repeat 10 shift+Left) $(repeat 8 Left)
! note_shown || fail "the riddle is shown as solved with one tail match still to move"
# Match 6, (278, 200, 315): the same the other way round.
keys 3-match-6 Tab $(repeat 6 shift+bracketright) $(repeat 10 shift+Left) $(repeat 8 Left)

e2e_wait 10 "the note that the riddle is solved" note_shown ||
    fail "the window does not say the riddle is solved"
echo "solved note around ($note_x, $note_y)"

before=$(e2e_stamp "$riddle")
xdotool key --clearmodifiers ctrl+s
e2e_wait 10 "the save" e2e_changed "$riddle" "$before" || fail "Ctrl+S did not save"
e2e_shot 4-saved
# Saving starts the moved count afresh; the board is still solved.
note_shown || fail "the note went away when the riddle was saved"

json=$("$cli" info --json "$riddle") || fail "vorlo-cli cannot read the saved riddle"
echo "saved: $json"
python3 - "$json" <<'PY' || fail "the saved riddle is not the solution"
import json, sys
m = json.loads(sys.argv[1])["matches"]
assert len(m) == 6, m
assert m[4] == [170, 200, 135], m[4]
assert m[5] == [170, 200, 225], m[5]
PY

verdict=$("$cli" check "$samples/kidsriddle.vrl" "$riddle") ||
    fail "vorlo-cli check does not call the saved riddle solved: $verdict"
echo "vorlo-cli check: $verdict"
[[ $verdict == solved* ]] || fail "vorlo-cli check printed: $verdict"
echo "PASS"
