#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Hebrew interface from a Latin keyboard layout, and two copies of the
# program at once, on a virtual X server with its default (US) layout:
# Alt+F opens the File menu and X in it ends the program, as the menus'
# Latin mnemonics promise; a second copy's window stands a step right of and
# below the first's instead of exactly over it.
#
#   latin_keys_e2e.sh VORLO SAMPLES_DIR
#
# Exit 77 (skipped) only when no X server can be started.

set -euo pipefail
vorlo=$1
samples=$2

source "$(dirname "$0")/session.sh"
e2e_begin latin_keys_e2e 1280x1024x24
export VORLO_NO_DESKTOP_REGISTRATION=1
printf '[Settings]\nLanguage=he\n' >>"$XDG_CONFIG_HOME/vorlo/vorlo.conf"

fail() { e2e_fail "$*"; }

cp "$samples/riddle1.vrl" "$work/cup.vrl"
cp "$samples/riddle2.vrl" "$work/window.vrl"

# start NAME: starts a copy on $work/NAME.vrl; sets started (its process)
# and shown (its window).
start() {
    "$vorlo" "$work/$1.vrl" >"$work/vorlo-$1.log" 2>&1 &
    started=$!
    e2e_pids+=("$started")
    shown=$(timeout 20 xdotool search --sync --onlyvisible --name "$1.vrl" | head -1) || true
    [ -n "$shown" ] || fail "the window of $1.vrl did not appear"
    e2e_idle "$shown"
}
start cup
first=$started wid1=$shown
start window
second=$started wid2=$shown
e2e_shot 1-two-copies

corner() {  # corner WINDOW: "X Y" of WINDOW on the screen
    xdotool getwindowgeometry --shell "$1" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x, y}'
}
read -r x1 y1 < <(corner "$wid1")
read -r x2 y2 < <(corner "$wid2")
echo "first window at $x1,$y1; second at $x2,$y2"
[ "$x2" -gt "$x1" ] && [ "$y2" -gt "$y1" ] ||
    fail "the second window is not cascaded from the first ($x1,$y1 and $x2,$y2)"

# The second copy ends by its File menu's Exit, typed on the Latin layout.
e2e_focus "$wid2" || fail "the second window did not take the focus"
e2e_open_menu "$second" "$wid2" alt+f || fail "Alt+F did not open the Hebrew File menu"
e2e_shot 2-file-menu
xdotool key x
e2e_wait 20 "the second copy to end by File > Exit (X)" e2e_ended "$second" ||
    fail "X in the Hebrew File menu did not end the program"

# The first copy ends the same way.
e2e_focus "$wid1" || fail "the first window did not take the focus"
e2e_open_menu "$first" "$wid1" alt+f || fail "Alt+F did not open the first window's File menu"
xdotool key x
e2e_wait 20 "the first copy to end" e2e_ended "$first" || fail "the first copy did not end"
echo "PASS"
