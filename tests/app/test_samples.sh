#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The committed sample riddles are exactly what scripts/make-samples writes.
set -euo pipefail
cli=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! "$src/scripts/make-samples" "$cli" "$work" 2>"$work/errors"; then
    echo "FAIL: make-samples failed"
    cat "$work/errors"
    exit 1
fi
failures=0
for name in kidsriddle riddle1 riddle2 riddle3; do
    if ! [ -s "$work/$name.vrl" ]; then
        echo "FAIL: make-samples did not write $name.vrl"
        failures=$((failures + 1))
    elif ! cmp "$work/$name.vrl" "$src/resources/samples/$name.vrl"; then
        echo "FAIL: resources/samples/$name.vrl differs from what make-samples writes"
        failures=$((failures + 1))
    fi
done
# The file format's worked example, kept for the tests, keeps its 118 bytes.
size=$(stat -c %s "$src/tests/data/worked_example.vrl")
if [ "$size" != 118 ]; then
    echo "FAIL: tests/data/worked_example.vrl holds $size bytes, not 118"
    failures=$((failures + 1))
fi
# The pictures are laid as real matches, before and after their solutions.
python3 "$(dirname "$0")/check_samples.py" "$cli" "$src/resources/samples" ||
    failures=$((failures + 1))
[ $failures -eq 0 ] && echo "samples: all match"
exit $((failures > 0))
