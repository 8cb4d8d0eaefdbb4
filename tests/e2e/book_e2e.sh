#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The riddle book as a new player meets it, under a real window manager:
# the first start greets, then opens the book by itself; Escape closes it
# and Ctrl+B shows it again with the samples. The arrows and Enter play a
# riddle in the main window; two drags solve it, and its tile turns solved
# while the book stays open. Ctrl+Shift+N then plays the next unsolved one.
#
#   book_e2e.sh VORLO VORLO_CLI SAMPLES_DIR
#
# Exit 77 (skipped) only when no X server or no openbox can be started.

set -euo pipefail
vorlo=$1
cli=$2
samples=$3

E2E_FIRST_START=1
source "$(dirname "$0")/session.sh"
if ! command -v openbox >/dev/null 2>&1; then
    echo "SKIP: openbox is not installed (scripts/install-deps installs it)" >&2
    exit 77
fi
e2e_begin book_e2e
export VORLO_NO_DESKTOP_REGISTRATION=1

fail() { e2e_fail "$*"; }

e2e_start_openbox

window_named() { xdotool search --all --onlyvisible --pid "$pid" --name "$1" 2>/dev/null | head -1; }
shown() { [ -n "$(window_named "$1")" ]; }
gone() { ! shown "$1"; }
key() {
    xdotool key --clearmodifiers "$2"
    e2e_idle "$1"
}

# The book's solved tiles write their state in green (the selected one in
# the selection's colours): whether any is on the book's screen.
shows_solved() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$book")" || return 1
    import -window root -depth 8 "$work/screen.ppm" 2>/dev/null || return 1
    python3 "$e2e_dir/locate.py" colour "$work/screen.ppm" 1b5e20 12 \
        "$X" "$Y" "$WIDTH" "$HEIGHT" >/dev/null
}

"$vorlo" >"$work/vorlo.log" 2>&1 &
pid=$!
e2e_pids+=("$pid")

# ----- the first start: the greeting, then the book by itself -----
e2e_wait 30 "the introduction" shown "^Introduction$" || fail "the first start did not greet"
intro=$(window_named "^Introduction$")
# The window manager gives the greeting the focus; its Close is the default.
e2e_idle "$intro"
xdotool key --clearmodifiers Return
e2e_wait 20 "the book after the greeting" shown "^Riddle Book$" ||
    fail "the first start did not open the book after the greeting"
book=$(window_named "^Riddle Book$")
e2e_shot 1-first-book
e2e_focus "$book" || fail "the book did not take the focus"
xdotool key --clearmodifiers Escape
e2e_wait 10 "the book to close" gone "^Riddle Book$" || fail "Escape did not close the book"

# ----- Ctrl+B shows it again -----
main=$(window_named " - vorlo$")
[ -n "$main" ] || fail "the main window is not shown"
e2e_focus "$main" || fail "the main window did not take the focus"
key "$main" ctrl+b
e2e_wait 20 "the book on Ctrl+B" shown "^Riddle Book$" || fail "Ctrl+B did not show the book"
book=$(window_named "^Riddle Book$")
e2e_focus "$book" || fail "the book did not take the focus"
shows_solved && fail "a new player's book shows a solved riddle"
e2e_shot 2-book

# Enter on the chapters goes to the tiles; the samples are kidsriddle,
# riddle1, riddle2, riddle3: Right, Enter plays riddle1.
key "$book" Return
key "$book" Right
key "$book" Return
e2e_wait 20 "riddle1 in the main window" shown "^riddle1.vrl - vorlo$" ||
    fail "Enter in the book did not open riddle1"
shown "^Riddle Book$" || fail "the book closed when a riddle was opened"
main=$(window_named "^riddle1.vrl - vorlo$")
e2e_focus "$main" || fail "the main window did not take the focus"
e2e_board_origin "$main" "$cli" "$samples/riddle1.vrl" || fail "riddle1's board was not found"
ox=$e2e_ox oy=$e2e_oy
e2e_shot 3-playing

at() { echo $((ox + $1)) $((oy + $2)); }
drag() { e2e_drag "$main" $(at "$1" "$2") $(at "$3" "$4"); }
# The cup turned over: its bottom moves right by 38 (grabbed away from the
# foot's head), the left side (its head up) moves to the right of the foot.
drag 240 160 278 160
drag 220 124 334 200
e2e_shot 4-solved

# The book follows: its tile of riddle1 says solved once the game is kept.
# Right moves the selection off it, so that it shows in the tiles' colours.
e2e_focus "$book" || fail "the book did not take the focus again"
key "$book" Right
e2e_wait 20 "the solved tile" shows_solved || fail "the book does not show riddle1 solved"
e2e_shot 5-book-follows

# ----- Next Unsolved, from the main window -----
e2e_focus "$main" || fail "the main window did not take the focus again"
key "$main" ctrl+shift+n
e2e_wait 20 "riddle2 in the main window" shown "^riddle2.vrl - vorlo$" ||
    fail "Next Unsolved did not play riddle2"
e2e_shot 6-next
echo "PASS"
