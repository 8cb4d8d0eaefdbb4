#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A game as a player plays it, under a real window manager: `vorlo --play`
# on a copy of the window riddle, three drags, Ctrl+S, File > Exit. No
# question may come, the riddle's bytes stay as they were, and the game is
# kept under $XDG_DATA_HOME/vorlo/. Played again, the board shows the three
# moves; Ctrl+Z three times shows the riddle's start, Ctrl+Shift+Z three
# times the moves again, and Game > Restart Riddle the start.
#
#   play_e2e.sh VORLO VORLO_CLI SAMPLES_DIR
#
# Exit 77 (skipped) only when no X server or no openbox can be started.

set -euo pipefail
vorlo=$1
cli=$2
samples=$3

source "$(dirname "$0")/session.sh"
if ! command -v openbox >/dev/null 2>&1; then
    echo "SKIP: openbox is not installed (scripts/install-deps installs it)" >&2
    exit 77
fi
e2e_begin play_e2e
export VORLO_NO_DESKTOP_REGISTRATION=1

fail() { e2e_fail "$*"; }

e2e_start_openbox

riddle="$work/copy-of-riddle2.vrl"
cp "$samples/riddle2.vrl" "$riddle"
chmod u+w "$riddle"
original=$(sha256sum <"$riddle")

# The layouts the board must show, drawn by vorlo-cli to be found on the screen.
layout() { "$cli" create -o "$work/$1.vrl" "${@:2}" >/dev/null; }
rest="174,215,0 250,215,0 174,291,0 250,291,0 174,215,90 174,291,90 250,215,90 250,291,90 326,215,90 326,291,90"
# shellcheck disable=SC2086
layout start 174,139,0 250,139,0 $rest
# The third drag takes the third match: the expected layout keeps the file's order.
# shellcheck disable=SC2086
layout moved 474,139,0 250,400,0 474,300,0 ${rest#174,215,0 }

# shows NAME: whether the board shows layout NAME with its corner where the
# riddle's was at the start.
shows() {
    e2e_board_origin "$wid" "$cli" "$work/$1.vrl" && [ "$e2e_ox $e2e_oy" = "$origin" ]
}

start() {
    "$vorlo" --play "$riddle" >"$work/vorlo-$1.log" 2>&1 &
    vorlo_pid=$!
    e2e_pids+=("$vorlo_pid")
    wid=$(timeout 30 xdotool search --sync --onlyvisible --name "copy-of-riddle2.vrl" | head -1) || true
    [ -n "$wid" ] || fail "the window did not appear ($1)"
    e2e_focus "$wid" || fail "the window did not take the focus ($1)"
}

at() { echo $((ox + $1)) $((oy + $2)); }

drag() { e2e_drag "$wid" $(at "$1" "$2") $(at "$3" "$4"); }

# A click on an empty part of the board: no match selected, so every head
# is drawn red as vorlo-cli draws it.
deselect() {
    xdotool mousemove --sync $(at 40 460) click 1
    e2e_idle "$wid"
}

key() {
    xdotool key --clearmodifiers "$@"
    e2e_idle "$wid"
}

quit() {
    e2e_open_menu "$vorlo_pid" "$wid" alt+f || fail "Alt+F did not open the File menu"
    xdotool key x
    if ! e2e_wait 15 "the program to end" e2e_ended "$vorlo_pid"; then
        e2e_shot "$1-still-open"
        fail "the program did not end after File > Exit: a question came ($1)"
    fi
    local status=0
    wait "$vorlo_pid" || status=$?
    [ "$status" = 0 ] || fail "the program ended with status $status ($1)"
}

# ----- the first game -----
start first
e2e_board_origin "$wid" "$cli" "$riddle" || fail "the riddle's board was not found on the screen"
ox=$e2e_ox oy=$e2e_oy origin="$e2e_ox $e2e_oy"
e2e_shot 1-opened

# Each match is grabbed 36 pixels along its stick and let go 300 pixels on.
drag 210 139 510 139
drag 286 139 286 400
drag 210 215 510 300
deselect
e2e_shot 2-three-moves
shows moved || fail "the board does not show the three moves"

before=$(e2e_stamp "$riddle")
key ctrl+s
e2e_shot 3-after-ctrl-s
quit first
[ "$(sha256sum <"$riddle")" = "$original" ] || fail "the riddle's bytes changed"
[ "$(e2e_stamp "$riddle")" = "$before" ] || fail "the riddle's file was written"
records=$(find "$XDG_DATA_HOME/vorlo" -type f 2>/dev/null | wc -l)
[ "$records" -ge 1 ] || fail "no game was kept under $XDG_DATA_HOME/vorlo"

# ----- the same riddle again -----
start second
e2e_wait 20 "the kept game on the board" shows moved || {
    e2e_shot 4-second-start
    fail "played again, the board does not show the three moves"
}
e2e_shot 4-second-start
key ctrl+z ctrl+z ctrl+z
deselect
e2e_wait 10 "the start after three undos" shows start || {
    e2e_shot 5-undone
    fail "three times Ctrl+Z did not show the riddle's start"
}
e2e_shot 5-undone
key ctrl+shift+z ctrl+shift+z ctrl+shift+z
deselect
e2e_wait 10 "the moves after three redos" shows moved || {
    e2e_shot 6-redone
    fail "three times Ctrl+Shift+Z did not show the moves again"
}
e2e_shot 6-redone

# Game > Restart Riddle, by the menu's keys.
e2e_open_menu "$vorlo_pid" "$wid" alt+g || fail "Alt+G did not open the Game menu"
e2e_shot 7-game-menu
key r
deselect
e2e_wait 10 "the start after Restart" shows start || {
    e2e_shot 8-restarted
    fail "Restart Riddle did not show the start"
}
e2e_shot 8-restarted
quit second
[ "$(sha256sum <"$riddle")" = "$original" ] || fail "the riddle's bytes changed"
echo "PASS"
