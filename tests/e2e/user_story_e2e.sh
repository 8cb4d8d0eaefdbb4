#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user's afternoon with the real program on a virtual X server: play a
# sample riddle (drag, turn, undo), add a match, copy it in one running copy of
# the program and paste it twice in a second copy through the X11 clipboard,
# type into the text pane, save both with Ctrl+S, leave, and check the files.
# Screenshots of every step stay in the working folder when it fails.
#
#   user_story_e2e.sh VORLO VORLO_CLI SAMPLES_DIR
#
# Exit 77 (skipped) only when no X server can be started.

set -euo pipefail
vorlo=$1
cli=$2
samples=$3

source "$(dirname "$0")/session.sh"
e2e_begin user_story_e2e
export VORLO_NO_DESKTOP_REGISTRATION=1

story="$work/story.vrl"
# The file format's worked example: the clicks below aim at its matches.
cp "$(dirname "$0")/../data/worked_example.vrl" "$story"
chmod u+w "$story"
second="$work/second.vrl"
"$cli" create -o "$second" || exit 1

fail() { e2e_fail "$*"; }


step=0
shot() {
    step=$((step + 1))
    import -window root "$work/$(printf %02d $step)-$1.png" 2>/dev/null || true
}

# start NAME FILE: starts a copy of the program; sets wid_NAME and, when FILE
# holds matches to find the board by, ox_NAME and oy_NAME.
start() {
    local name=$1 file=$2 log="$work/vorlo-$1.log"
    "$vorlo" "$file" >"$log" 2>&1 &
    e2e_pids+=($!)
    eval "pid_$name=$!"
    local wid
    wid=$(timeout 20 xdotool search --sync --onlyvisible --name "$(basename "$file")" | head -1) ||
        true
    [ -n "$wid" ] || fail "the window of $name did not appear"
    eval "wid_$name=$wid"
    if [ "$("$cli" info --json "$file" | python3 -c 'import json,sys; print(len(json.load(sys.stdin)["matches"]))')" != 0 ]; then
        e2e_board_origin "$wid" "$cli" "$file" || fail "the board of $name was not found on the screen"
        eval "ox_$name=$e2e_ox oy_$name=$e2e_oy"
    else
        e2e_idle "$wid" || fail "$name does not answer"
    fi
}

# The window of copy NAME.
wid() {
    eval "echo \$wid_$1"
}

# The screen position of the Add match button of copy NAME: its green plus.
add_button() {
    e2e_colour_at "$(wid "$1")" 007000 && echo "$e2e_at"
}

focus() {
    e2e_focus "$(wid "$1")" || fail "$1 did not take the focus"
}

# Waits until copy NAME has handled all the input so far.
idle() {
    e2e_idle "$(wid "$1")" || fail "$1 does not answer"
}

drag() {  # drag NAME BUTTON X0 Y0 X1 Y1 (board coordinates)
    local ox oy
    eval "ox=\$ox_$1 oy=\$oy_$1"
    xdotool mousemove --sync $((ox + $3)) $((oy + $4))
    idle "$1"
    xdotool mousedown "$2"
    idle "$1"
    for k in 1 2 3 4; do
        xdotool mousemove --sync $((ox + $3 + ($5 - $3) * k / 4)) $((oy + $4 + ($6 - $4) * k / 4))
        idle "$1"
    done
    xdotool mouseup "$2"
    idle "$1"
}

save_and_exit() {  # save_and_exit NAME FILE
    local before pid
    before=$(e2e_stamp "$2")
    focus "$1"
    xdotool key --clearmodifiers ctrl+s
    e2e_wait 10 "$1 to save" e2e_changed "$2" "$before" || fail "Ctrl+S did not save $2"
    idle "$1"
    shot "$1-saved"
    eval "pid=\$pid_$1"
    e2e_open_menu "$pid" "$(wid "$1")" alt+f || fail "Alt+F did not open the File menu of $1"
    xdotool key x
    e2e_wait 10 "$1 to end" e2e_ended "$pid" || fail "$1 did not end after File > Exit"
}

# --- the first copy: play, add, copy ------------------------------------------
start first "$story"
focus first
shot first-opened

# Drag the lying match (199, 137, 0) by a point 31 pixels from its tail.
drag first 1 230 137 330 187
shot first-dragged
# Turn the standing match (258, 248, 90) about its tail, then take it back.
drag first 3 258 190 345 240
shot first-turned
xdotool key --clearmodifiers ctrl+z
idle first
shot first-undone

add=$(add_button first) || true
[ -n "$add" ] || fail "the Add match button was not found on the screen"
xdotool mousemove --sync $add click 1
idle first
shot first-added
xdotool key --clearmodifiers ctrl+c
idle first

# --- the second copy: paste twice through the X11 clipboard --------------------
start second "$second"
focus second
xdotool key --clearmodifiers ctrl+v
idle second
xdotool key --clearmodifiers ctrl+v
idle second
shot second-pasted
save_and_exit second "$second"

# --- back to the first: type a line into the text pane, save, leave ------------
focus first
xdotool key F6
idle first
xdotool key --clearmodifiers ctrl+End
xdotool key Return
xdotool type --delay 30 "solved by a test"
idle first
shot first-typed
save_and_exit first "$story"

first_json=$("$cli" info --json "$story") || fail "vorlo-cli cannot read $story"
second_json=$("$cli" info --json "$second") || fail "vorlo-cli cannot read $second"
echo "first:  $first_json"
echo "second: $second_json"
python3 - "$first_json" "$second_json" <<'PY' || fail "the saved riddles are not what the user did"
import json, sys
first = json.loads(sys.argv[1])
second = json.loads(sys.argv[2])
m = first["matches"]
assert m[:2] == [[309, 126, 90], [209, 126, 90]], m
assert m[2] == [299, 187, 0], ("dragged", m[2])
assert m[3] == [258, 248, 90], ("turn undone", m[3])
assert m[4] == [20, 85, 90], ("added", m[4])
assert len(m) == 5, m
assert first["text"].endswith("\nsolved by a test"), first["text"]
assert first["text"].startswith("שנו את מקומם"), first["text"]
assert second["matches"] == [[25, 90, 90], [30, 95, 90]], ("pasted twice", second["matches"])
PY
echo "PASS"
