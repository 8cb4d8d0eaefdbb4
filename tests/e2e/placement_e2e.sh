#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The first start under a real window manager (openbox) on screens of several
# sizes: the whole window, frame and title bar included, lies inside the area
# available to windows, and so does its bottom edge with the status bar.
# A screenshot of each screen and a crop of each status bar stay in the
# working directory.
#
#   placement_e2e.sh VORLO SAMPLES_DIR [WIDTHxHEIGHT...]
#
# Exit 77 (skipped) only when no X server or no openbox can be started.

set -u
vorlo=$1
samples=$2
shift 2
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1366x768 1024x600 1920x1080)

if ! command -v openbox >/dev/null 2>&1; then
    echo "SKIP: openbox is not installed (scripts/install-deps installs it)" >&2
    exit 77
fi
source "$(dirname "$0")/session.sh"

fail() { e2e_fail "($size) $*"; }

# "x y width height" of a window, its border counted in.
geometry() {
    xwininfo -id "$1" | awk '
        /Absolute upper-left X:/ { x = $NF }
        /Absolute upper-left Y:/ { y = $NF }
        /Border width:/ { b = $NF }
        /^ *Width:/ { w = $NF }
        /^ *Height:/ { h = $NF }
        END { if (w != "") print x - b, y - b, w + 2 * b, h + 2 * b }'
}

# The window manager's frame around a client window: its ancestor just below
# the root. The client itself when it has no frame.
frame_of() {
    local window=$1 parent root
    root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
    while :; do
        parent=$(xwininfo -tree -id "$window" | awk '/Parent window id:/ { print $4 }')
        { [ -z "$parent" ] || [ "$((parent))" = "$((root))" ]; } && break
        window=$parent
    done
    echo "$window"
}

for size in "${sizes[@]}"; do
    e2e_begin "placement_e2e_$size" "${size}x24"
    export VORLO_NO_DESKTOP_REGISTRATION=1

    e2e_start_openbox
    # The first desktop's work area.
    read -r ax ay aw ah < <(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,/ /g' |
        awk '{ print $1, $2, $3, $4 }')
    [ -n "${ah:-}" ] || fail "the window manager names no work area"
    echo "$size: area available to windows $ax,$ay ${aw}x$ah"

    "$vorlo" "$samples/riddle1.vrl" >"$work/vorlo.log" 2>&1 &
    vorlo_pid=$!
    e2e_pids+=("$vorlo_pid")
    wid=$(timeout 20 xdotool search --sync --onlyvisible --name "riddle1.vrl - vorlo" | head -1)
    [ -n "$wid" ] || fail "the window did not appear"

    # The window manager frames the window and the program may still fit
    # itself to the frame: wait until frame and window stay where they are.
    last= settled=
    for _ in $(seq 100); do
        frame=$(frame_of "$wid")
        now="$frame $(geometry "$frame") $(geometry "$wid")"
        if [ "$frame" != "$wid" ] && [ "$now" = "$last" ]; then
            settled=1
            break
        fi
        last=$now
        sleep 0.2
    done
    [ -n "$settled" ] || fail "the window manager did not frame the window: $now"
    read -r fx fy fw fh < <(geometry "$frame")
    read -r cx cy cw ch < <(geometry "$wid")
    echo "$size: frame $fx,$fy ${fw}x$fh, window $cx,$cy ${cw}x$ch"
    import -window root "$work/screen.png" 2>/dev/null
    # The bottom of the window: the status bar with "Ready" and the match count.
    convert "$work/screen.png" -crop "${cw}x40+$cx+$((cy + ch - 40))" +repage \
        "$work/status-bar.png" 2>/dev/null

    [ "$fx" -ge "$ax" ] && [ "$fy" -ge "$ay" ] ||
        fail "the frame's top left corner $fx,$fy lies outside the area from $ax,$ay"
    [ $((fx + fw)) -le $((ax + aw)) ] ||
        fail "the frame's right edge $((fx + fw)) lies beyond the area's $((ax + aw))"
    [ $((fy + fh)) -le $((ay + ah)) ] ||
        fail "the frame's bottom edge $((fy + fh)) lies below the area's $((ay + ah))"
    [ $((cy + ch)) -le $((ay + ah)) ] ||
        fail "the status bar's bottom $((cy + ch)) lies below the area's $((ay + ah))"
    # The frame is not the window alone: the test saw a title bar.
    [ "$fh" -gt "$ch" ] || fail "the window manager put no title bar on the window"

    kill "$vorlo_pid" "$e2e_wm_pid" "${e2e_pids[0]}" 2>/dev/null
    wait 2>/dev/null
    e2e_pids=()
done
echo "PASS"
