#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from this build tree and runs the distribution's
# own checkers on it: lintian on the package, appstreamcli on its AppStream
# metadata (alone and together with the desktop entry and icons it names),
# desktop-file-validate on the desktop entry, xmllint on the XML files.
# A checker that is not installed is left out, and when any was, the test
# ends as skipped (77), naming them, after running the others.
#
#   test_package_lint.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1
src=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
missing=()

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
have() {
    command -v "$1" >/dev/null 2>&1 && return 0
    missing+=("$1")
    return 1
}

# shellcheck source=build_deb.sh
source "$(dirname "$0")/build_deb.sh"
build_deb "$build" "$work/out" "$version"
root="$work/root"
dpkg -x "$deb" "$root"
share="$root/usr/share"
metainfo="$share/metainfo/org.example.Vorlo.metainfo.xml"
entry="$share/applications/vorlo.desktop"

# Lintian's errors and warnings all fail the test; what the package does on
# purpose is overridden in its lintian overrides, with the reasons. A build
# with AddressSanitizer is never packaged for anyone: there only errors count.
sanitized=0
if ldd "$root/usr/games/vorlo" 2>/dev/null | grep libasan >/dev/null; then
    sanitized=1
    echo "note: the programs are built with AddressSanitizer; lintian's warnings are shown, not counted"
fi
if have lintian; then
    # Lintian unpacks into TMPDIR; the temporary folder keeps it there.
    status=0
    TMPDIR="$work" lintian --display-info --tag-display-limit 0 --fail-on error \
        "$deb" >"$work/lintian.log" 2>&1 || status=$?
    cat "$work/lintian.log"
    [ $status -eq 0 ] || fail "lintian finds errors (exit status $status)"
    while read -r kind _package tag rest; do
        case "$kind" in
            E:) fail "lintian error $tag $rest" ;;
            W:) [ $sanitized -eq 1 ] || fail "lintian warning $tag $rest" ;;
        esac
    done <"$work/lintian.log"
fi

if ! [ -f "$metainfo" ]; then
    fail "the package lacks /usr/share/metainfo/org.example.Vorlo.metainfo.xml"
elif have appstreamcli; then
    out=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) ||
        fail "appstreamcli validate rejects the metadata: $out"
    # Together with the files it names: the desktop entry of its launchable.
    out=$(appstreamcli validate-tree --no-net --no-color "$root" 2>&1) ||
        fail "appstreamcli validate-tree rejects the installed tree: $out"
    # What software centres read from it, in English and in Hebrew.
    for field in name summary; do
        for lang in "" he; do
            if [ -z "$lang" ]; then
                count=$(grep -c "<$field>" "$metainfo" || true)
            else
                count=$(grep -c "<$field xml:lang=\"$lang\">" "$metainfo" || true)
            fi
            [ "$count" -eq 1 ] || fail "the metadata has $count <$field> in '${lang:-C}'"
        done
    done
    grep -F '<mediatype>application/x-vorlo-riddle</mediatype>' "$metainfo" >/dev/null ||
        fail "the metadata does not say that Vorlo opens application/x-vorlo-riddle"
    grep -F '<launchable type="desktop-id">vorlo.desktop</launchable>' "$metainfo" >/dev/null ||
        fail "the metadata does not launch vorlo.desktop"
fi

if ! [ -f "$entry" ]; then
    fail "the package lacks /usr/share/applications/vorlo.desktop"
elif have desktop-file-validate; then
    out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
    [ -z "$out" ] || fail "desktop-file-validate warns: $out"
    for key in Name Comment GenericName Keywords; do
        grep -E "^$key\[he\]=.+" "$entry" >/dev/null || fail "the desktop entry has no ${key}[he]"
    done
fi

if have xmllint; then
    for xml in "$metainfo" "$share/mime/packages/vorlo.xml"; do
        [ -f "$xml" ] || continue
        out=$(xmllint --noout "$xml" 2>&1) || fail "xmllint $(basename "$xml"): $out"
    done
    mime="$share/mime/packages/vorlo.xml"
    if [ -f "$mime" ]; then
        he=$(xmllint --xpath 'string(//*[local-name()="comment"][@xml:lang="he"])' "$mime" 2>/dev/null) || true
        [ -n "$he" ] || fail "the MIME type has no Hebrew comment"
    fi
fi

# The changelog's latest entry is this version, and the copyright file is
# machine-readable: every Files paragraph names a licence that has its text.
changelog="$share/doc/vorlo/changelog.gz"
if [ -f "$changelog" ]; then
    head=$(zcat "$changelog" | head -1)
    [[ $head == "vorlo ($version) "* ]] || fail "the changelog begins '$head', not version $version"
else
    fail "the package lacks /usr/share/doc/vorlo/changelog.gz"
fi
copyright="$share/doc/vorlo/copyright"
if [ -f "$copyright" ]; then
    head -1 "$copyright" | grep -F 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
        >/dev/null || fail "the copyright file is not in the machine-readable format"
    grep -x 'License: GPL-3+' "$copyright" >/dev/null || fail "the copyright file does not name GPL-3+"
    cmp -s "$copyright" "$src/resources/package/copyright" || fail "the copyright file differs from the source's"
else
    fail "the package lacks /usr/share/doc/vorlo/copyright"
fi

if [ $failures -gt 0 ]; then
    exit 1
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIP: not installed: ${missing[*]} (scripts/install-deps installs them)"
    exit 77
fi
echo "package: lintian, appstreamcli, desktop-file-validate and xmllint accept $(basename "$deb")"
