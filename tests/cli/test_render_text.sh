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
# png_width FILE: the width in a PNG's header.
png_width() { od -An -tu1 -j16 -N4 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }'; }
# Long texts: the picture keeps within 8192 pixels a side, and a cut text is
# reported on standard error while the render still succeeds.
#   name|text (a Python expression)|cut (1 or 0)
while IFS='|' read -r name text cut; do
    python3 -c "import sys; sys.stdout.write($text)" >"$work/$name.txt"
    "$cli" create -o "$work/$name.vrl" --text-file "$work/$name.txt" 309,126,90 ||
        fail "$name: no riddle"
    for format in png svg pdf; do
        "$cli" render "$work/$name.vrl" -o "$work/$name.$format" --with-text 2>"$work/$name.err" ||
            fail "$name: no $format"
        if [ "$cut" = 1 ]; then
            grep -q 'was cut' "$work/$name.err" || fail "$name: $format: the cut is not reported"
        else
            [ ! -s "$work/$name.err" ] || fail "$name: $format: $(cat "$work/$name.err")"
        fi
    done
    [ "$(png_width "$work/$name.png")" -le 8192 ] && [ "$(png_height "$work/$name.png")" -le 8192 ] ||
        fail "$name: the PNG is $(png_width "$work/$name.png") x $(png_height "$work/$name.png")"
done <<'CASES'
short|'ab\n'|0
lines30000|''.join('line %d\n' % i for i in range(30000))|1
word2mb|'a'*(2<<20)+'\n'|1
CASES
# Characters XML cannot carry leave the SVG well-formed.
printf 'form\fline\001and\xef\xbf\xbeend\n' >"$work/controls.txt"
"$cli" create -o "$work/controls.vrl" --text-file "$work/controls.txt" 309,126,90
"$cli" render "$work/controls.vrl" -o "$work/controls.svg" --with-text || fail "no SVG with controls"
python3 -c "import sys, xml.dom.minidom as m; m.parse(sys.argv[1])" "$work/controls.svg" ||
    fail "the SVG with control characters is no XML"
echo "render --with-text: $failures failures"
[ "$failures" -eq 0 ]
