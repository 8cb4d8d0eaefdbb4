# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the end-to-end scripts: a fresh temporary working folder with its
# own home, configuration, data and runtime folders, the greeting switched
# off, a virtual X server, and waits on conditions with deadlines instead of
# fixed pauses. Source it, then call e2e_begin NAME [SCREEN].
#
# Every process put into e2e_pids is ended when the script exits. The working
# folder is removed then, unless the script failed: its screenshots and logs
# stay for a look, and the folder is named on standard error. When no X
# server can be started the script exits 77, which ctest counts as skipped.

set -euo pipefail

e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
e2e_pids=()
work=
e2e_cleanup() {
    local status=$? p
    for p in "${e2e_pids[@]}"; do
        kill "$p" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    if [ -n "$work" ]; then
        if [ "$status" = 0 ] || [ "$status" = 77 ]; then
            rm -rf "$work"
        else
            echo "the screenshots and logs stay in $work" >&2
        fi
    fi
    exit "$status"
}
trap e2e_cleanup EXIT

# Sets work, HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_RUNTIME_DIR and DISPLAY.
e2e_begin() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/vorlo-$1-XXXXXX")
    mkdir -p "$work/home" "$work/config" "$work/data" "$work/runtime"
    chmod 700 "$work/runtime"
    export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
        XDG_RUNTIME_DIR="$work/runtime" XDG_CACHE_HOME="$work/home/.cache"
    unset WAYLAND_DISPLAY XDG_CONFIG_DIRS
    export QT_QPA_PLATFORM=xcb
    # The information pane must not wait for the network.
    export VORLO_INFO_SERVER=127.0.0.1:9

    # The introduction stays away: its choice is already stored as "do not
    # show". With E2E_FIRST_START set the configuration stays empty instead.
    if [ -z "${E2E_FIRST_START:-}" ]; then
        local settings_dir="$XDG_CONFIG_HOME/vorlo"
        mkdir -p "$settings_dir"
        printf '[Vorlo.Introduction]\nshow=@ByteArray(\\0)\n' >"$settings_dir/vorlo.conf"
    fi

    # Xvfb picks a free display itself and tells us which.
    Xvfb -displayfd 3 -screen 0 "${2:-1280x1024x24}" -nolisten tcp \
        3>"$work/display" 2>"$work/xvfb.log" &
    local xvfb_pid=$!
    e2e_pids+=("$xvfb_pid")
    if ! e2e_wait 10 "the X server" e2e_xvfb_ready "$xvfb_pid"; then
        echo "SKIP: the virtual X server (Xvfb) could not be started:" >&2
        cat "$work/xvfb.log" >&2
        exit 77
    fi
    export DISPLAY=":$(head -1 "$work/display")"
    echo "X server on $DISPLAY"
}

# Whether Xvfb has named its display; false at once when it ended instead.
e2e_xvfb_ready() {
    [ -s "$work/display" ] && return 0
    kill -0 "$1" 2>/dev/null || { e2e_give_up=1; return 1; }
    return 1
}

# e2e_wait SECONDS WHAT COMMAND...: runs COMMAND every 50 ms until it
# succeeds. After SECONDS it says what it waited for and returns 1; so does a
# COMMAND that sets e2e_give_up because what it waits for cannot come any more.
e2e_wait() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((${EPOCHREALTIME/./} + seconds * 1000000))
    e2e_give_up=
    until "$@"; do
        if [ -n "$e2e_give_up" ] || ((${EPOCHREALTIME/./} > deadline)); then
            echo "gave up waiting for $what after ${seconds} s" >&2
            return 1
        fi
        sleep 0.05
    done
}

# e2e_idle WINDOW: waits until the program that owns WINDOW has handled all
# the input sent so far and what it asked for (see x_idle.py).
e2e_idle() {
    python3 "$e2e_dir/x_idle.py" "$1" 3 20
}

# e2e_start_openbox: starts openbox as the window manager and waits up to
# 30 s (a loaded machine may take a while) until it has named itself and
# published the work area; a skip when it does not. Its process is
# $e2e_wm_pid.
e2e_start_openbox() {
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    e2e_wm_pid=$!
    e2e_pids+=("$e2e_wm_pid")
    if ! e2e_wait 30 "openbox" e2e_openbox_ready "$e2e_wm_pid"; then
        echo "SKIP: openbox did not start:" >&2
        cat "$work/openbox.log" >&2
        exit 77
    fi
}
e2e_openbox_ready() {
    kill -0 "$1" 2>/dev/null || { e2e_give_up=1; return 1; }
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' &&
        xprop -root _NET_WORKAREA 2>/dev/null | grep -q '='
}

# e2e_drag WINDOW X1 Y1 X2 Y2: a left-button drag between two screen points
# in six steps, each handled by the program that owns WINDOW before the next.
e2e_drag() {
    local wid=$1 x1=$2 y1=$3 x2=$4 y2=$5 steps=6 i
    xdotool mousemove --sync "$x1" "$y1"
    e2e_idle "$wid"
    xdotool mousedown 1
    e2e_idle "$wid"
    for i in $(seq 1 $steps); do
        xdotool mousemove --sync $((x1 + (x2 - x1) * i / steps)) $((y1 + (y2 - y1) * i / steps))
        e2e_idle "$wid"
    done
    xdotool mouseup 1
    e2e_idle "$wid"
}

# e2e_focus WINDOW: gives WINDOW the keyboard focus, waits until the X server
# and the program both know it.
e2e_focus() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
    e2e_wait 10 "the focus on window $1" e2e_has_focus "$1" && e2e_idle "$1"
}
e2e_has_focus() {
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# e2e_menu_shown PID: whether program PID shows a popup menu.
e2e_menu_shown() {
    local w type
    for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null || true); do
        type=$(xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null || true)
        [[ $type == *_NET_WM_WINDOW_TYPE_POPUP_MENU* ]] && return 0
    done
    return 1
}

# e2e_open_menu PID WINDOW KEYS: presses KEYS (such as alt+f) in WINDOW of
# program PID and waits until the menu is shown and ready for its keys.
e2e_open_menu() {
    xdotool key --clearmodifiers "$3"
    e2e_wait 10 "the menu opened by $3" e2e_menu_shown "$1" && e2e_idle "$2"
}

# e2e_ended PID: whether process PID has ended.
e2e_ended() {
    ! kill -0 "$1" 2>/dev/null
}

# e2e_shot NAME: the whole screen as $work/NAME.png, to look at afterwards.
e2e_shot() {
    import -window root "$work/$1.png" 2>/dev/null || echo "no screenshot $1" >&2
}

# e2e_fail MESSAGE: reports a failure with every log of the program
# ($work/vorlo*.log) and a screenshot, and ends the test.
e2e_fail() {
    echo "FAIL: $*" >&2
    local log
    for log in "$work"/vorlo*.log; do
        [ -f "$log" ] && sed "s|^|  $(basename "$log"): |" "$log" >&2
    done
    [ -n "${work:-}" ] && e2e_shot failure
    exit 1
}

# e2e_changed FILE BEFORE: whether FILE's inode, size and time of change
# differ from BEFORE (an earlier e2e_stamp FILE).
e2e_stamp() {
    stat -c '%i %s %y %z' "$1" 2>/dev/null || echo missing
}
e2e_changed() {
    [ "$(e2e_stamp "$1")" != "$2" ]
}

# e2e_board_origin WINDOW CLI RIDDLE: waits until the board of WINDOW shows
# RIDDLE (as vorlo-cli CLI draws it) and sets e2e_ox and e2e_oy to where
# board point (0, 0) lies on the screen. The riddle must hold a match.
e2e_board_origin() {
    local picture="$work/board-picture.png" box
    QT_QPA_PLATFORM=offscreen "$2" render "$3" -o "$picture" --margin 0 || return 1
    # The picture's corner on the board: the SVG's view box.
    box=$(QT_QPA_PLATFORM=offscreen "$2" render "$3" -o - --format svg --margin 0 |
        grep -o 'viewBox="[^"]*"' | head -1 | tr -dc -- '-0-9 ') || return 1
    read -r e2e_picture_left e2e_picture_top _ <<<"$box"
    e2e_wait 20 "the board of window $1 on the screen" e2e_find_board "$1" "$picture"
}
e2e_find_board() {
    local X Y WIDTH HEIGHT SCREEN WINDOW origin
    eval "$(xdotool getwindowgeometry --shell "$1")" || return 1
    import -window root -depth 8 "$work/screen.ppm" 2>/dev/null || return 1
    origin=$(python3 "$e2e_dir/locate.py" board "$work/screen.ppm" "$2" \
        "$e2e_picture_left" "$e2e_picture_top" "$X" "$Y" "$WIDTH" "$HEIGHT") || return 1
    read -r e2e_ox e2e_oy <<<"$origin"
}

# e2e_colour_at WINDOW RRGGBB: sets e2e_at to the middle ("X Y") of the
# pixels of about that colour in the menu and tool bars of WINDOW (its top
# 100 pixels), such as the green plus of the Add match button.
e2e_colour_at() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")" || return 1
    import -window root -depth 8 "$work/screen.ppm" 2>/dev/null || return 1
    e2e_at=$(python3 "$e2e_dir/locate.py" colour "$work/screen.ppm" "$2" 40 \
        "$X" "$Y" "$WIDTH" 100)
}

# e2e_in_log FILE PATTERN: whether FILE has a line matching PATTERN (grep -E).
e2e_in_log() {
    grep -Eq -- "$2" "$1" 2>/dev/null
}
