#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from this build tree, unpacks it into a temporary
# root and checks what a user would get: every file in its place, a valid
# desktop entry and MIME package, the dependencies on Qt, manual pages that
# format cleanly, and a thumbnailer that previews each sample riddle quickly
# and without a display.
#
#   test_package.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1
src=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The package, built by cpack from what the build installs.
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
    echo "FAIL: cpack failed"
    cat "$work/cpack.log"
    exit 1
fi
deb="$work/out/vorlo_${version}_amd64.deb"
if ! [ -s "$deb" ]; then
    echo "FAIL: no vorlo_${version}_amd64.deb, or an empty one; cpack wrote:"
    ls "$work/out"
    exit 1
fi

# The control fields.
field() { dpkg-deb -f "$deb" "$1"; }
expect_field() {  # NAME VALUE
    local actual
    actual=$(field "$1")
    [ "$actual" = "$2" ] || fail "field $1 is '$actual', not '$2'"
}
expect_field Package vorlo
expect_field Version "$version"
expect_field Architecture amd64
expect_field Maintainer "Vorlo developers <dev@vorlo.example>"
expect_field Section games
# The package names of a relation field, one a line, without versions.
names() { sed 's/([^)]*)//g; s/|/,/g' <<<"$1" | tr ',' '\n' | tr -d ' '; }
depends=$(field Depends)
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6network6 \
    libqt6svg6 qt6-qpa-plugins libc6 libstdc++6; do
    # Each as a whole package name in the comma-separated list.
    names "$depends" | grep -xF -- "$lib" >/dev/null || fail "Depends lacks $lib: $depends"
done
recommends=$(field Recommends)
for pkg in shared-mime-info desktop-file-utils; do
    names "$recommends" | grep -xF -- "$pkg" >/dev/null || fail "Recommends lacks $pkg: $recommends"
done
grep -q '^ ' <<<"$(field Description)" || fail "the description has no long text"
# (grep reads to the end: under pipefail, a grep -q that stops early would
# fail the pipeline through the writer's broken pipe.)
dpkg-deb -I "$deb" | grep "Depends: .*libqt6" >/dev/null || fail "dpkg-deb -I shows no Qt dependency"

# Every file belongs to root and lies under /usr.
contents=$(dpkg-deb -c "$deb")
[ -n "$contents" ] || fail "dpkg-deb -c lists no files"
while read -r mode owner _size _date _time path _rest; do
    [ "$owner" = "root/root" ] || fail "$path belongs to $owner"
    case "$path" in
        ./ | ./usr/*) ;;
        *) fail "$path lies outside /usr" ;;
    esac
    case "$mode" in
        -rwxr-xr-x | -rw-r--r-- | drwxr-xr-x) ;;
        *) fail "$path has mode $mode" ;;
    esac
done <<<"$contents"

root="$work/root"
dpkg -x "$deb" "$root" || { echo "FAIL: dpkg -x failed"; exit 1; }
usr="$root/usr"

expected_files=(
    games/vorlo
    bin/vorlo-cli
    lib/games/vorlo/vorlo-infopage.so
    share/vorlo/kidsriddle.vrl
    share/vorlo/riddle1.vrl
    share/vorlo/riddle2.vrl
    share/vorlo/riddle3.vrl
    share/vorlo/vorlo_heb.html
    share/vorlo/vorlo_eng.html
    share/vorlo/riddles/equations/equation-001.vrl
    share/vorlo/riddles/equations/equation-001.solution.vrl
    share/vorlo/riddles/squares/squares-001.vrl
    share/vorlo/riddles/squares/squares-001.solution.vrl
    share/applications/vorlo.desktop
    share/mime/packages/vorlo.xml
    share/thumbnailers/vorlo.thumbnailer
    share/man/man1/vorlo.1.gz
    share/man/man1/vorlo-cli.1.gz
    share/icons/hicolor/scalable/apps/vorlo.svg
    share/icons/hicolor/scalable/mimetypes/application-x-vorlo-riddle.svg
    share/metainfo/org.example.Vorlo.metainfo.xml
    share/doc/vorlo/copyright
    share/doc/vorlo/changelog.gz
    share/lintian/overrides/vorlo
)
for size in 16 32 48 256; do
    expected_files+=(share/icons/hicolor/${size}x$size/apps/vorlo.png
        share/icons/hicolor/${size}x$size/mimetypes/application-x-vorlo-riddle.png)
done
for file in "${expected_files[@]}"; do
    [ -f "$usr/$file" ] || fail "the package lacks /usr/$file"
done
# The game where Debian keeps games, the tool with the other programs, the
# information page's module in the game's own folder of libraries.
for program in games/vorlo bin/vorlo-cli lib/games/vorlo/vorlo-infopage.so; do
    [[ $program == *.so || -x "$usr/$program" ]] || fail "/usr/$program is not executable"
    if [[ $(file -b "$usr/$program") == *"not stripped"* ]]; then
        fail "/usr/$program is not stripped"
    fi
done
# Nothing of the build machine in the installed programs: they find their
# files relative to themselves, not in the folders they were built in.
# (A build with AddressSanitizer keeps the name of every source file in the
# programs for its reports, whatever strip does; packages are never built so,
# and the check is left out there, saying so.)
for program in games/vorlo bin/vorlo-cli lib/games/vorlo/vorlo-infopage.so; do
    [ -f "$usr/$program" ] || continue
    if ldd "$usr/$program" 2>/dev/null | grep libasan >/dev/null; then
        echo "note: /usr/$program is built with AddressSanitizer; its build paths are not checked"
        continue
    fi
    for folder in "$(realpath "$build")" "$(realpath "$src")"; do
        # As 8-bit text and as UTF-16 (QStringLiteral's form).
        if { strings -a "$usr/$program" && strings -a -e l "$usr/$program"; } |
            grep -F -- "$folder" >"$work/strings.log"; then
            fail "/usr/$program names the folder $folder: $(head -3 "$work/strings.log")"
        fi
    done
done
for name in kidsriddle riddle1 riddle2 riddle3; do
    cmp -s "$usr/share/vorlo/$name.vrl" "$src/resources/samples/$name.vrl" ||
        fail "/usr/share/vorlo/$name.vrl differs from the sample"
done

# The riddle book made at build time: 40 equations and 30 squares riddles,
# each with its solution files.
for book in equations:equation:40 squares:squares:30; do
    IFS=: read -r folder name count <<<"$book"
    made=$(find "$usr/share/vorlo/riddles/$folder" -name "$name-[0-9][0-9][0-9].vrl" 2>/dev/null | wc -l)
    [ "$made" = "$count" ] || fail "/usr/share/vorlo/riddles/$folder holds $made riddles, not $count"
done

# The installed game, started from the unpacked tree, loads the information
# page's module from its own folder of libraries once its window is up. In
# Hebrew: the English interface shows the installed English page and asks no
# server.
if [ -x "$usr/games/vorlo" ] && [ -f "$usr/lib/games/vorlo/vorlo-infopage.so" ]; then
    LANGUAGE= LC_ALL= LC_MESSAGES= LANG=he_IL.UTF-8 \
    QT_QPA_PLATFORM=offscreen VORLO_NO_DESKTOP_REGISTRATION=1 HOME="$work/home" \
        XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
        "$usr/games/vorlo" "$usr/share/vorlo/riddle1.vrl" >"$work/game.log" 2>&1 &
    game=$!
    loaded=
    for _ in $(seq 200); do  # up to 20 s
        if grep -F "$usr/lib/games/vorlo/vorlo-infopage.so" "/proc/$game/maps" >/dev/null 2>&1; then
            loaded=yes
            break
        fi
        kill -0 "$game" 2>/dev/null || break
        sleep 0.1
    done
    kill "$game" 2>/dev/null || true
    wait "$game" 2>/dev/null || true
    [ -n "$loaded" ] || fail "the installed game never loaded its information page module: $(cat "$work/game.log")"
fi

# Icon PNGs hold the size their folder names.
for size in 16 32 48 256; do
    for icon in apps/vorlo mimetypes/application-x-vorlo-riddle; do
        png="$usr/share/icons/hicolor/${size}x$size/$icon.png"
        [ -f "$png" ] || continue
        dims=$(identify -format '%wx%h' "$png" 2>/dev/null) || true
        [ "$dims" = "${size}x$size" ] || fail "$icon.png in ${size}x$size is $dims"
        colours=$(identify -format '%k' "$png" 2>/dev/null) || true
        [ "${colours:-0}" -gt 2 ] || fail "$icon.png in ${size}x$size is blank"
    done
done

# The desktop entry and the MIME package.
entry="$usr/share/applications/vorlo.desktop"
if [ -f "$entry" ]; then
    out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
    [ -z "$out" ] || fail "desktop-file-validate warns: $out"
    grep -qx 'Exec=/usr/games/vorlo %f' "$entry" || fail "Exec is not /usr/games/vorlo %f: $(grep ^Exec "$entry")"
    grep -qx 'TryExec=/usr/games/vorlo' "$entry" || fail "TryExec is not /usr/games/vorlo"
    grep -qx 'MimeType=application/x-vorlo-riddle;' "$entry" || fail "the entry lacks the riddle type"
fi
mime="$usr/share/mime/packages/vorlo.xml"
if [ -f "$mime" ]; then
    out=$(xmllint --noout "$mime" 2>&1) || fail "xmllint: $out"
    # The desktop's MIME database accepts it and maps *.vrl to the riddle type.
    mkdir -p "$work/mime/packages"
    cp "$mime" "$work/mime/packages/"
    update-mime-database "$work/mime" >/dev/null 2>&1 || fail "update-mime-database rejects vorlo.xml"
    grep -q '^50:application/x-vorlo-riddle:\*\.vrl$' "$work/mime/globs2" ||
        fail "the MIME database does not map *.vrl: $(cat "$work/mime/globs2" 2>/dev/null)"
fi

# The manual pages are compressed the Debian way and format without warnings.
for page in vorlo vorlo-cli; do
    gz="$usr/share/man/man1/$page.1.gz"
    [ -f "$gz" ] || continue
    gzip -t "$gz" || fail "$page.1.gz is not a valid gzip file"
    out=$(zcat "$gz" | LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 2>&1) || fail "$page.1 does not format"
    [ -z "$out" ] || fail "$page.1 formats with warnings: $out"
    zcat "$gz" | grep -F -- "${page//-/\\-} \\- " >/dev/null || fail "$page.1 has no NAME line"
done

# The thumbnailer, run as a file manager runs it: its Exec line with %i, %o and
# %s filled in, the program found on PATH, no display.
thumbnailer="$usr/share/thumbnailers/vorlo.thumbnailer"
if [ -f "$thumbnailer" ]; then
    [ "$(head -1 "$thumbnailer")" = '[Thumbnailer Entry]' ] || fail "thumbnailer has no [Thumbnailer Entry] group"
    grep -qx 'TryExec=vorlo-cli' "$thumbnailer" || fail "thumbnailer lacks TryExec=vorlo-cli"
    grep -qx 'MimeType=application/x-vorlo-riddle;' "$thumbnailer" || fail "thumbnailer lacks the riddle type"
    exec_line=$(sed -n 's/^Exec=//p' "$thumbnailer")
    [ -n "$exec_line" ] || fail "thumbnailer has no Exec line"
    read -ra words <<<"$exec_line"
    for name in kidsriddle riddle1 riddle2 riddle3; do
        # A name with a space, as file managers hand over real file names.
        input="$work/in dir/$name.vrl"
        mkdir -p "$work/in dir"
        cp "$usr/share/vorlo/$name.vrl" "$input"
        output="$work/thumbs/$name.png"
        mkdir -p "$work/thumbs"
        command=()
        for word in "${words[@]}"; do
            case "$word" in
                %i) command+=("$input") ;;
                %o) command+=("$output") ;;
                %s) command+=(256) ;;
                *) command+=("$word") ;;
            esac
        done
        start=$(date +%s%N)
        status=0
        env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM PATH="$usr/bin:$PATH" \
            "${command[@]}" >"$work/thumb.log" 2>&1 || status=$?
        elapsed=$((($(date +%s%N) - start) / 1000000))
        if [ $status -ne 0 ]; then
            fail "thumbnailer on $name.vrl exited with $status: $(cat "$work/thumb.log")"
            continue
        fi
        [ $elapsed -lt 1000 ] || fail "thumbnailer on $name.vrl took $elapsed ms"
        [ "$(head -c 8 "$output" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
            fail "$name.png is not a PNG"
        dims=$(identify -format '%w %h' "$output" 2>/dev/null) || true
        read -r w h <<<"$dims"
        if [ -z "${w:-}" ] || [ "$w" -gt 256 ] || [ "$h" -gt 256 ] || { [ "$w" -ne 256 ] && [ "$h" -ne 256 ]; }; then
            fail "$name.png is $dims, not at most 256 with one side 256"
        fi
        colours=$(identify -format '%k' "$output" 2>/dev/null) || true
        [ "${colours:-0}" -gt 2 ] || fail "$name.png shows no matches"
        echo "thumbnail $name.vrl: $dims in $elapsed ms"
    done
fi

[ $failures -eq 0 ] && echo "package: $(basename "$deb") holds everything"
exit $((failures > 0))
