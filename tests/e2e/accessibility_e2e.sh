#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window as a screen reader sees it: on a private session bus with the
# accessibility bus started, Vorlo shows a sample riddle and atspi_probe.py
# finds the board, the task text and the information pane by name, and one
# named child of the board per match.
#
#   accessibility_e2e.sh VORLO VORLO_CLI SAMPLES_DIR
#
# Exit 77 (skipped) when no X server, no session bus, no accessibility bus
# or no pyatspi is at hand.

set -euo pipefail
vorlo=$1
cli=$2
samples=$3

source "$(dirname "$0")/session.sh"
launcher=
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [ -x "$candidate" ] && launcher=$candidate && break
done
if [ -z "$launcher" ] || ! command -v dbus-daemon >/dev/null 2>&1; then
    echo "SKIP: the accessibility bus (at-spi2-core) or dbus-daemon is not installed" >&2
    exit 77
fi
# Debian's own Python carries pyatspi, whatever python3 comes first on the path.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
if ! "$python" -c 'import pyatspi' 2>/dev/null; then
    echo "SKIP: python3-pyatspi is not installed" >&2
    exit 77
fi
e2e_begin accessibility_e2e
export VORLO_NO_DESKTOP_REGISTRATION=1

# A session bus of our own, and the accessibility bus on it.
dbus-daemon --session --fork --nopidfile --print-address=3 3>"$work/bus" 2>"$work/dbus.log" || {
    echo "SKIP: the session bus could not be started" >&2
    exit 77
}
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
bus_pid=$(pgrep -n -f "dbus-daemon --session --fork --nopidfile" || true)
[ -n "$bus_pid" ] && e2e_pids+=("$bus_pid")
"$launcher" --launch-immediately >"$work/atspi.log" 2>&1 &
e2e_pids+=("$!")
bus_ready() { dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1; }
e2e_wait 20 "the accessibility bus" bus_ready || {
    echo "SKIP: the accessibility bus did not start" >&2
    exit 77
}

riddle="$samples/riddle1.vrl"
count=$("$cli" info "$riddle" | sed -n 's/.*: \([0-9]*\) match.*/\1/p' | head -1)
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$vorlo" "$riddle" >"$work/vorlo.log" 2>&1 &
e2e_pids+=("$!")
"$python" "$(dirname "$0")/atspi_probe.py" "$count" 60 || {
    sed 's/^/  vorlo.log: /' "$work/vorlo.log" >&2
    exit 1
}
