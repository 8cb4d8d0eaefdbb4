#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The samples' solution files are what scripts/make-samples writes, and each
# solves its riddle by moving as many matches as SOLUTIONS.md lists.
set -euo pipefail
cli=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
samples="$src/resources/samples"

"$src/scripts/make-samples" "$cli" "$work" >/dev/null
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
for name in kidsriddle riddle1 riddle2 riddle3; do
    solution="$samples/$name.solution.vrl"
    cmp -s "$work/$name.solution.vrl" "$solution" ||
        fail "$name.solution.vrl differs from what make-samples writes"
    # The rows of the sample's table in SOLUTIONS.md: | N ... | from | to |
    rows=$(awk -v head="## $name.vrl:" '
        index($0, head) == 1 { inside = 1; next }
        /^## / { inside = 0 }
        inside && /^\| [0-9]/ { n++ }
        END { print n + 0 }' "$samples/SOLUTIONS.md")
    status=0
    verdict=$("$cli" check "$samples/$name.vrl" "$solution") || status=$?
    [ "$verdict" = "solved, moved $rows" ] || fail "$name: '$verdict', not 'solved, moved $rows'"
    [ "$status" = 0 ] || fail "$name: check ended with $status"
    # The riddle as it stands is not its own solution.
    status=0
    "$cli" check "$samples/$name.vrl" "$samples/$name.vrl" >/dev/null || status=$?
    [ "$status" = 1 ] || fail "$name: the unsolved riddle checks as solved"
done
[ $failures -eq 0 ] && echo "sample solutions: all solve their riddles"
exit $((failures > 0))
