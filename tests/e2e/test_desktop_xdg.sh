#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop learns about riddle files from one start of the program: starts
# it on a virtual X server with empty home, data and configuration folders,
# waits until it has registered itself and the desktop's caches are rebuilt,
# leaves through File > Exit, and asks xdg-mime, as a generic desktop does,
# what a riddle file is and which program opens it.
#
#   test_desktop_xdg.sh VORLO SAMPLES_DIR
#
# Exit 77 (skipped) only when no X server can be started.

set -euo pipefail
vorlo=$1
samples=$2

source "$(dirname "$0")/session.sh"
e2e_begin desktop_xdg 1024x768x24
mkdir -p "$work/files"
unset VORLO_NO_DESKTOP_REGISTRATION

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
give_up() {
    fail "$@"
    [ -f "$work/vorlo.log" ] && sed 's/^/  vorlo: /' "$work/vorlo.log" >&2
    echo "  data home:" >&2
    (cd "$XDG_DATA_HOME" && find . | sed 's/^/    /') >&2
    exit 1
}


"$vorlo" >"$work/vorlo.log" 2>&1 &
vorlo_pid=$!
e2e_pids+=("$vorlo_pid")

wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$vorlo_pid" --name "vorlo" | head -1) ||
    true
[ -n "$wid" ] || give_up "the window did not appear"

# Registration runs once the window has been painted; the caches are rebuilt
# by the desktop's tools, which the program starts and does not wait for.
desktop_entry="$XDG_DATA_HOME/applications/vorlo.desktop"
registered() {
    [ -f "$desktop_entry" ] && [ -f "$XDG_DATA_HOME/mime/mime.cache" ] &&
        [ -f "$XDG_DATA_HOME/mime/globs2" ] && [ -f "$XDG_DATA_HOME/applications/mimeinfo.cache" ]
}
e2e_wait 30 "the registration" registered || give_up "the program did not register itself within 30 s"

# Leave through File > Exit: an untouched new riddle asks nothing.
e2e_focus "$wid" || give_up "the window did not take the focus"
e2e_open_menu "$vorlo_pid" "$wid" alt+f || give_up "Alt+F did not open the File menu"
xdotool key x
if ! e2e_wait 10 "the program to end" e2e_ended "$vorlo_pid"; then
    fail "the program did not end after File > Exit"
else
    status=0
    wait "$vorlo_pid" || status=$?
    [ $status -eq 0 ] || fail "the program ended with status $status"
fi

# What was written names this program.
program=$(readlink -f "$vorlo")
grep -qx "Exec=$program %f" "$desktop_entry" ||
    fail "the entry does not run $program: $(grep '^Exec=' "$desktop_entry")"
out=$(desktop-file-validate "$desktop_entry" 2>&1) || fail "desktop-file-validate: $out"
for icon in mimetypes/application-x-vorlo-riddle apps/vorlo; do
    [ -f "$XDG_DATA_HOME/icons/hicolor/scalable/$icon.svg" ] || fail "no icon $icon.svg"
done

# The generic desktop's answers, for a riddle in a folder of its own.
export XDG_CURRENT_DESKTOP=X-Generic
unset DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
riddle="$work/files/my riddle.vrl"
cp "$samples/riddle1.vrl" "$riddle"
type=$(xdg-mime query filetype "$riddle" 2>&1) || true
[ "$type" = "application/x-vorlo-riddle" ] || fail "xdg-mime query filetype says '$type'"
opener=$(xdg-mime query default application/x-vorlo-riddle 2>&1) || true
[ "$opener" = "vorlo.desktop" ] || fail "xdg-mime query default says '$opener'"

# A second start changes nothing that is already right. A rewrite would show
# in the inode or the times to the nanosecond, so no pause is needed between
# the starts.
stamps() { e2e_stamp "$desktop_entry" && e2e_stamp "$XDG_DATA_HOME/mime/packages/vorlo.xml"; }
before=$(stamps)
"$vorlo" >"$work/vorlo2.log" 2>&1 &
vorlo_pid=$!
e2e_pids+=("$vorlo_pid")
wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$vorlo_pid" --name "vorlo" | head -1) ||
    true
[ -n "$wid" ] || give_up "the window did not appear the second time"
# The registration is queued before the event loop starts and writes its
# files there and then; once the program answers pings from its event loop,
# it has been done.
e2e_idle "$wid" || give_up "the program does not answer the second time"
kill "$vorlo_pid" 2>/dev/null || true
wait "$vorlo_pid" 2>/dev/null || true
after=$(stamps)
[ "$before" = "$after" ] || fail "a second start rewrote the registration"

if [ $failures -eq 0 ]; then
    echo "desktop: $type, opened by $opener"
fi
exit $((failures > 0))
