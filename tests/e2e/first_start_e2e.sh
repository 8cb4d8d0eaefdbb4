#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The first start on a fresh account: the window comes up, then the
# introduction greets the user and the choice is stored as "show"; the user
# unticks "Show this message at startup" and closes it, and the next start
# comes up without it.
#
#   first_start_e2e.sh VORLO VORLO_CLI SAMPLES_DIR
#
# Exit 77 (skipped) only when no X server can be started.

set -euo pipefail
vorlo=$1
cli=$2
samples=$3

E2E_FIRST_START=1
source "$(dirname "$0")/session.sh"
e2e_begin first_start_e2e
export VORLO_NO_DESKTOP_REGISTRATION=1
ini="$XDG_CONFIG_HOME/vorlo/vorlo.conf"

fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/vorlo.log" ] && sed 's/^/  vorlo: /' "$work/vorlo.log" >&2
    [ -f "$ini" ] && sed 's/^/  ini: /' "$ini" >&2
    e2e_shot failure
    exit 1
}

"$vorlo" "$samples/riddle1.vrl" >"$work/vorlo.log" 2>&1 &
pid=$!
e2e_pids+=("$pid")

main=$(timeout 20 xdotool search --sync --onlyvisible --name "riddle1.vrl - vorlo" | head -1) || true
[ -n "$main" ] || fail "the main window did not appear"
intro=$(timeout 20 xdotool search --sync --onlyvisible --name "^Introduction$" | head -1) || true
[ -n "$intro" ] || fail "the introduction did not greet the first start"
e2e_idle "$intro" || fail "the introduction does not answer"
e2e_shot 1-greeted
grep -q 'show=@ByteArray(\\x1)' "$ini" || fail "the first start did not store the choice to greet"
# Started from the build tree, which is laid out like an installation, it
# found its samples and page in share/vorlo beside its bin folder.
data="$(realpath -ms "$(dirname "$vorlo")/../share/vorlo")/"
[ -f "${data}riddle1.vrl" ] && [ -f "${data}vorlo_heb.html" ] ||
    fail "the build put no samples or page in $data"
grep -qxF "fullpath=$data" "$ini" || fail "the first start did not record $data as its folder"

# Untick the box (it has the focus first) and close with the Close button's key.
e2e_focus "$intro" || fail "the introduction did not take the focus"
xdotool key space
e2e_idle "$intro" || fail "the introduction does not answer"
e2e_shot 2-unticked
xdotool key Return
introduction_gone() { ! xdotool search --onlyvisible --name "^Introduction$" >/dev/null 2>&1; }
e2e_wait 5 "the introduction to close" introduction_gone || fail "the introduction did not close"
e2e_wait 5 "the choice to be stored" e2e_in_log "$ini" 'show=@ByteArray\(\\0\)' ||
    fail "closing with the box unticked did not store 0"
kill "$pid"
wait "$pid" 2>/dev/null || true

# The next start: the window, and no greeting. Its absence means something
# only once start-up is over, so first wait for proof of that: the board has
# been painted (the riddle's picture is on the screen). The
# greeting is decided, and opened, before the event loop that paints the
# board runs, so a greeting would be mapped by then; the pings of e2e_idle
# make sure the X server has handled all the program sent before.
"$vorlo" "$samples/riddle1.vrl" >"$work/vorlo.log" 2>&1 &
pid=$!
e2e_pids+=("$pid")
main=$(timeout 20 xdotool search --sync --onlyvisible --name "riddle1.vrl - vorlo" | head -1) || true
[ -n "$main" ] || fail "the main window did not appear the second time"
e2e_board_origin "$main" "$cli" "$samples/riddle1.vrl" || fail "the board was not painted"
e2e_idle "$main" || fail "the program does not answer after start-up"
e2e_shot 3-second-start
introduction_gone || fail "the introduction greeted although it was switched off"
echo "PASS"
