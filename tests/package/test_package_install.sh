#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian package built from this build tree with dpkg into a
# clean root in a temporary folder, as a fresh system would, and removes it
# again:
# - the root's package database holds only the packages Vorlo depends on
#   (their records copied from this system), so dpkg itself checks that the
#   Depends field is satisfied by Debian's packages;
# - what the file triggers of shared-mime-info, desktop-file-utils and the
#   icon cache do on a real system is done by running their commands on the
#   root's folders;
# - the desktop is asked through xdg-mime with XDG_DATA_DIRS pointing into
#   the root: what a .vrl file is and what opens it;
# - a riddle's preview is made as a file manager makes it: the thumbnailer
#   that the root's thumbnailers folder names for the file's type, its Exec
#   line run with the root's programs first on PATH (they run on this
#   system's libraries: the root holds no Qt);
# - after removal and purge, nothing of the package is left in the root, and
#   the refreshed caches no longer name it.
# dpkg --root needs root (it gives every file to root); as another user the
# test is skipped (77).
#
#   test_package_install.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1
src=$2
version=$3
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: installing into a root with dpkg --root needs root"
    exit 77
fi
for tool in dpkg dpkg-query xdg-mime update-mime-database update-desktop-database; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (scripts/install-deps installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck source=build_deb.sh
source "$(dirname "$0")/build_deb.sh"
build_deb "$build" "$work/out" "$version"

root="$work/root"
admin="$root/var/lib/dpkg"
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers"
touch "$admin/available"

# The package database: one record for each package the Depends field names
# (the first installed one of alternatives), as this system has it.
depends=$(dpkg-deb -f "$deb" Depends)
: >"$admin/status"
IFS=',' read -ra relations <<<"$depends"
for relation in "${relations[@]}"; do
    found=""
    IFS='|' read -ra alternatives <<<"$relation"
    for alternative in "${alternatives[@]}"; do
        name=$(sed 's/([^)]*)//; s/\[[^]]*\]//; s/:any//' <<<"$alternative" | tr -d ' ')
        if dpkg-query -s "$name" >"$work/record" 2>/dev/null &&
            grep -x 'Status: install ok installed' "$work/record" >/dev/null; then
            found=$name
            break
        fi
    done
    if [ -z "$found" ]; then
        echo "SKIP: this system lacks $relation, which the package depends on"
        exit 77
    fi
    # A package named twice (an alternative and a plain dependency) once.
    grep -x "Package: $found" "$admin/status" >/dev/null && continue
    # Only the fields dpkg needs to decide on dependencies.
    grep -E '^(Package|Status|Priority|Architecture|Multi-Arch|Version|Provides):' "$work/record" >>"$admin/status"
    echo >>"$admin/status"
done

dpkg_root() { dpkg --root="$root" "$@"; }

# The system's own MIME types, as shared-mime-info installs them: the
# database is built from them, with or without Vorlo's.
if [ -f /usr/share/mime/packages/freedesktop.org.xml ]; then
    mkdir -p "$root/usr/share/mime/packages"
    cp /usr/share/mime/packages/freedesktop.org.xml "$root/usr/share/mime/packages/"
fi

# What the triggers of the desktop's caches run on a real system.
refresh_caches() {
    if [ -d "$root/usr/share/mime/packages" ]; then
        update-mime-database "$root/usr/share/mime" >"$work/caches.log" 2>&1 ||
            fail "update-mime-database: $(cat "$work/caches.log")"
    fi
    if [ -d "$root/usr/share/applications" ]; then
        update-desktop-database "$root/usr/share/applications" >"$work/caches.log" 2>&1 ||
            fail "update-desktop-database: $(cat "$work/caches.log")"
    fi
    if [ -d "$root/usr/share/icons/hicolor" ] && command -v gtk-update-icon-cache >/dev/null 2>&1; then
        gtk-update-icon-cache -q -f -t "$root/usr/share/icons/hicolor" >"$work/caches.log" 2>&1 ||
            fail "gtk-update-icon-cache: $(cat "$work/caches.log")"
    fi
}

# The files dpkg keeps for itself, and a system's own folders, which exist
# whether or not Vorlo was ever installed.
tree_listing() {
    (cd "$root" && find . -mindepth 1 \( -path ./var -prune \) -o -print | sort)
}
before=$(tree_listing)

if ! dpkg_root -i "$deb" >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    echo "FAIL: dpkg could not install the package into a clean root"
    exit 1
fi
state=$(dpkg-query --admindir="$admin" -W -f='${db:Status-Status}' vorlo 2>/dev/null) || true
[ "$state" = installed ] || fail "after dpkg -i, vorlo is '$state', not installed"
refresh_caches

# The desktop, as a session sees it with only the root's data folders and
# empty user folders.
home="$work/home"
mkdir -p "$home/data" "$home/config"
riddle="$work/a riddle.vrl"
cp "$src/resources/samples/riddle1.vrl" "$riddle"
desktop_env=(env XDG_DATA_DIRS="$root/usr/share" XDG_CONFIG_DIRS="$root/etc/xdg"
    XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" HOME="$home"
    XDG_CURRENT_DESKTOP=X-Generic)
type=$("${desktop_env[@]}" xdg-mime query filetype "$riddle" 2>&1) || true
[ "$type" = application/x-vorlo-riddle ] || fail "xdg-mime query filetype says '$type'"
opener=$("${desktop_env[@]}" xdg-mime query default application/x-vorlo-riddle 2>&1) || true
[ "$opener" = vorlo.desktop ] || fail "xdg-mime query default says '$opener', not vorlo.desktop"
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/$opener" 2>/dev/null) || true
[ "$exec_line" = "/usr/games/vorlo %f" ] || fail "the opener runs '$exec_line'"
[ -x "$root/usr/games/vorlo" ] || fail "the opener's program /usr/games/vorlo is not in the root"

# The preview: the thumbnailer whose MimeType names the file's type.
thumbnailer=""
for file in "$root"/usr/share/thumbnailers/*.thumbnailer; do
    [ -f "$file" ] || continue
    if grep -E "^MimeType=(.*;)?application/x-vorlo-riddle;" "$file" >/dev/null; then
        thumbnailer=$file
    fi
done
if [ -z "$thumbnailer" ]; then
    fail "no thumbnailer in the root previews application/x-vorlo-riddle"
else
    path="$root/usr/bin:$PATH"
    try_exec=$(sed -n 's/^TryExec=//p' "$thumbnailer")
    PATH=$path command -v "$try_exec" | grep -x "$root/usr/bin/$try_exec" >/dev/null ||
        fail "the thumbnailer's TryExec $try_exec is not the root's program"
    read -ra words <<<"$(sed -n 's/^Exec=//p' "$thumbnailer")"
    output="$work/thumbnail.png"
    command=()
    for word in "${words[@]}"; do
        case "$word" in
            %i) command+=("$riddle") ;;
            %u) command+=("file://$riddle") ;;
            %o) command+=("$output") ;;
            %s) command+=(128) ;;
            *) command+=("$word") ;;
        esac
    done
    if ! env -u DISPLAY -u WAYLAND_DISPLAY PATH="$path" "${command[@]}" >"$work/thumb.log" 2>&1; then
        fail "the thumbnailer failed: $(cat "$work/thumb.log")"
    elif [ "$(head -c 8 "$output" | od -An -tx1 | tr -d ' \n')" != 89504e470d0a1a0a ]; then
        fail "the thumbnailer wrote no PNG"
    elif command -v identify >/dev/null 2>&1; then
        dims=$(identify -format '%wx%h %k' "$output" 2>/dev/null) || true
        read -r size colours <<<"$dims"
        [[ $size == 128x* || $size == *x128 ]] || fail "the preview is $size, not 128 on its longer side"
        [ "${colours:-0}" -gt 2 ] || fail "the preview shows no matches"
    fi
fi

# Removal, then purge: nothing of the package stays behind.
if ! dpkg_root -r vorlo >"$work/remove.log" 2>&1; then
    cat "$work/remove.log"
    fail "dpkg could not remove the package"
fi
dpkg_root -P vorlo >>"$work/remove.log" 2>&1 || fail "dpkg could not purge the package: $(cat "$work/remove.log")"
refresh_caches
state=$(dpkg-query --admindir="$admin" -W -f='${db:Status-Status}' vorlo 2>/dev/null) || true
[ -z "$state" ] || [ "$state" = not-installed ] || fail "after purge, vorlo is '$state'"
info_left=$(find "$admin/info" -name 'vorlo.*')
[ -z "$info_left" ] || fail "dpkg keeps $info_left"
# Only the caches the triggers regenerate may remain, and they must have
# forgotten Vorlo.
left=$(comm -13 <(echo "$before") <(tree_listing) |
    grep -v -E '^\./usr/share/mime(/|$)|^\./usr/share/applications(/mimeinfo\.cache)?$|^\./usr/share/icons(/hicolor(/icon-theme\.cache)?)?$|^\./usr(/share)?$') || true
[ -z "$left" ] || fail "after removal the root still holds: $(tr '\n' ' ' <<<"$left")"
named=$(grep -rlI -i vorlo "$root/usr" 2>/dev/null) || true
[ -z "$named" ] || fail "after removal these files still name vorlo: $named"
mime_left=$(find "$root/usr/share/mime" -iname '*vorlo*' 2>/dev/null) || true
[ -z "$mime_left" ] || fail "the MIME database keeps $mime_left"
opener=$("${desktop_env[@]}" xdg-mime query default application/x-vorlo-riddle 2>&1) || true
[ -z "$opener" ] || fail "after removal, xdg-mime still names '$opener'"

if [ $failures -gt 0 ]; then
    echo "--- dpkg said:"
    cat "$work/install.log" "$work/remove.log"
    exit 1
fi
echo "package: $(basename "$deb") installs into a clean root, opens and previews riddles, and leaves nothing"
