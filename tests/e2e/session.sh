# Shared by the end-to-end scripts: a fresh working folder with its own home,
# configuration, data and runtime folders, the greeting switched off, and a
# virtual X server. Source it, then call e2e_begin NAME [SCREEN].
#
# Every process put into e2e_pids is ended when the script exits. When no X
# server can be started the script exits 77, which ctest counts as skipped.

e2e_pids=()
e2e_cleanup() {
    local p
    for p in "${e2e_pids[@]}"; do
        kill "$p" 2>/dev/null
    done
    wait 2>/dev/null
}
trap e2e_cleanup EXIT

# Sets work, HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_RUNTIME_DIR and DISPLAY.
e2e_begin() {
    work=$(pwd)/$1
    rm -rf "$work"
    mkdir -p "$work/home" "$work/config" "$work/data" "$work/runtime"
    chmod 700 "$work/runtime"
    export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
        XDG_RUNTIME_DIR="$work/runtime"
    unset WAYLAND_DISPLAY XDG_CONFIG_DIRS
    export QT_QPA_PLATFORM=xcb
    # The information pane must not wait for the network.
    export VORLO_INFO_SERVER=127.0.0.1:9

    # The introduction stays away: its choice is already stored as "do not
    # show". With E2E_FIRST_START set the configuration stays empty instead.
    if [ -z "${E2E_FIRST_START:-}" ]; then
        local settings_dir="$XDG_CONFIG_HOME/Local AppWizard-Generated Applications"
        mkdir -p "$settings_dir"
        printf '[Vorlo.Introduction]\nshow=@ByteArray(\\0)\n' >"$settings_dir/vorlo.ini"
    fi

    # Xvfb picks a free display itself and tells us which.
    Xvfb -displayfd 3 -screen 0 "${2:-1280x1024x24}" -nolisten tcp \
        3>"$work/display" 2>"$work/xvfb.log" &
    local xvfb_pid=$!
    e2e_pids+=("$xvfb_pid")
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
}
