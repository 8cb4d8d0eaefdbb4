#!/bin/bash
# The desktop learns about riddle files from one start of the program: starts
# it on a virtual X server with empty home, data and configuration folders,
# waits until it has registered itself and the desktop's caches are rebuilt,
# leaves through File > Exit, and asks xdg-mime, as a generic desktop does,
# what a riddle file is and which program opens it.
#
#   test_desktop_xdg.sh VORLO SAMPLES_DIR
#
# Exit 77 (skipped) only when no X server can be started.

set -u
vorlo=$1
samples=$2

work=$(pwd)/desktop_xdg
rm -rf "$work"
mkdir -p "$work/home" "$work/config" "$work/data" "$work/runtime" "$work/files"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
    XDG_RUNTIME_DIR="$work/runtime"
unset WAYLAND_DISPLAY VORLO_NO_DESKTOP_REGISTRATION XDG_CONFIG_DIRS
export QT_QPA_PLATFORM=xcb
# The information pane must not wait for the network.
export VORLO_INFO_SERVER=127.0.0.1:9

# The introduction stays away: its choice is already stored as "do not show".
settings_dir="$XDG_CONFIG_HOME/Local AppWizard-Generated Applications"
mkdir -p "$settings_dir"
printf '[Vorlo.Introduction]\nshow=@ByteArray(\\0)\n' >"$settings_dir/vorlo.ini"

xvfb_pid=
vorlo_pid=
cleanup() {
    [ -n "$vorlo_pid" ] && kill "$vorlo_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT

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

# Xvfb picks a free display itself and tells us which.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
done
if ! [ -s "$work/display" ]; then
    echo "SKIP: the virtual X server (Xvfb) could not be started:" >&2
    cat "$work/xvfb.log" >&2
    exit 77
fi
export DISPLAY=":$(head -1 "$work/display")"
echo "X server on $DISPLAY"

"$vorlo" >"$work/vorlo.log" 2>&1 &
vorlo_pid=$!

wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$vorlo_pid" --name "vorlo" | head -1)
[ -n "$wid" ] || give_up "the window did not appear"

# Registration runs once the window has been painted; the caches are rebuilt
# by the desktop's tools, which the program starts and does not wait for.
desktop_entry="$XDG_DATA_HOME/applications/vorlo.desktop"
registered=
for _ in $(seq 300); do
    if [ -f "$desktop_entry" ] && [ -f "$XDG_DATA_HOME/mime/mime.cache" ] &&
        [ -f "$XDG_DATA_HOME/mime/globs2" ] && [ -f "$XDG_DATA_HOME/applications/mimeinfo.cache" ]; then
        registered=1
        break
    fi
    sleep 0.1
done
[ -n "$registered" ] || give_up "the program did not register itself within 30 s"

# Leave through File > Exit: an untouched new riddle asks nothing.
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"
xdotool key --clearmodifiers alt+f
sleep 0.3
xdotool key x
for _ in $(seq 100); do
    kill -0 "$vorlo_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$vorlo_pid" 2>/dev/null; then
    fail "the program did not end after File > Exit"
else
    wait "$vorlo_pid"
    status=$?
    [ $status -eq 0 ] || fail "the program ended with status $status"
    vorlo_pid=
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
type=$(xdg-mime query filetype "$riddle" 2>&1)
[ "$type" = "application/x-vorlo-riddle" ] || fail "xdg-mime query filetype says '$type'"
opener=$(xdg-mime query default application/x-vorlo-riddle 2>&1)
[ "$opener" = "vorlo.desktop" ] || fail "xdg-mime query default says '$opener'"

# A second start changes nothing that is already right.
before=$(stat -c %Y "$desktop_entry" "$XDG_DATA_HOME/mime/packages/vorlo.xml")
sleep 1
"$vorlo" >"$work/vorlo2.log" 2>&1 &
vorlo_pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$vorlo_pid" --name "vorlo" | head -1)
[ -n "$wid" ] || give_up "the window did not appear the second time"
sleep 1
kill "$vorlo_pid" 2>/dev/null
wait "$vorlo_pid" 2>/dev/null
vorlo_pid=
after=$(stat -c %Y "$desktop_entry" "$XDG_DATA_HOME/mime/packages/vorlo.xml")
[ "$before" = "$after" ] || fail "a second start rewrote the registration"

if [ $failures -eq 0 ]; then
    echo "desktop: $type, opened by $opener"
fi
exit $((failures > 0))
