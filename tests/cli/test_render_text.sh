#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# vorlo-cli render --with-text: the task text below the board, in every format.
#   test_render_text.sh VORLO_CLI SOURCE_DIR
set -euo pipefail
cli=$(realpath "$1")
sample="$(realpath "$2")/tests/data/worked_example.vrl"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# png_height FILE: the height in a PNG's header.
png_height() { od -An -tu1 -j20 -N4 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }'; }

for format in png svg pdf; do
    "$cli" render "$sample" -o "$work/bare.$format" || fail "$format without text"
    "$cli" render "$sample" -o "$work/text.$format" --with-text || fail "$format with text"
    [ -s "$work/text.$format" ] || fail "no $format with text written"
done
bare=$(png_height "$work/bare.png")
text=$(png_height "$work/text.png")
[ "$text" -gt $((bare + 20)) ] || fail "the PNG with text is $text pixels high, without $bare"
[ "$(grep -c '<text' "$work/text.svg")" = 2 ] || fail "the SVG holds not two lines of text"
grep -q 'direction="rtl"' "$work/text.svg" || fail "the SVG's Hebrew lines are not right to left"
! grep -q '<text' "$work/bare.svg" || fail "the SVG without text holds text"
head -c 4 "$work/text.pdf" | grep -q '%PDF' || fail "no PDF"
[ "$(stat -c %s "$work/text.pdf")" -gt "$(stat -c %s "$work/bare.pdf")" ] || fail "the PDF holds no text"
# Standard output gets the same picture as a file.
"$cli" render "$sample" -o - --format svg --with-text >"$work/stdout.svg"
cmp -s "$work/stdout.svg" "$work/text.svg" || fail "the SVG on standard output differs"
echo "render --with-text: $failures failures"
[ "$failures" -eq 0 ]
