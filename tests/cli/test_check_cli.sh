#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# vorlo-cli check: verdicts, moved counts and exit statuses, on hand-made riddles.
#   test_check_cli.sh VORLO_CLI
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cli_session.sh" "$1"

make() { "$cli" create -o "$@" >/dev/null; }

# The cup; its solution moves the bottom match (258,248,90) up to close the
# top instead, and a second solution lays it the other way round elsewhere.
make cup.vrl 309,126,90 209,126,90 199,137,0 258,248,90
make cup.solution.vrl 309,126,90 209,126,90 199,137,0 200,50,0
make cup.solution-2.vrl 309,126,90 209,126,90 199,137,0 309,200,180
# Solves the second solution: its fourth match laid the other way, 2 px off.
make second.vrl 233,202,0 209,126,90 309,126,90 199,137,0
# Two matches moved away and laid back 9 px off: not the same sticks.
make off9.vrl 318,126,90 209,126,90 199,137,0 200,59,0
make extra.vrl 309,126,90 209,126,90 199,137,0 200,50,0 0,0,0
make missing.vrl 309,126,90 209,126,90 199,137,0
make loose.vrl 0,0,0

# Two matches; the solution stands the second one up, its head at (100, 124).
# A match is the same as another when it covers the same place, tail to head
# tip (76 px), either way round, each end within 8 px of the other's.
make two.vrl 0,0,0 0,100,0
make two.solution.vrl 0,0,0 100,200,90
make two.solution-2.vrl 0,0,0 300,300,45
make turned.vrl 0,0,0 100,124,270
make short11.vrl 0,0,0 100,135,270
make skewed.vrl 0,0,0 104,203,92
make off20.vrl 0,0,0 120,200,90
make as-second.vrl 300,300,45 0,0,0

# Expected outputs write a blank as _ so that each is one word.
while read -r name expected want_status args; do
    # shellcheck disable=SC2086
    run check $args
    check "$name: output" "${expected//_/ }" "$out"
    check "$name: status" "$want_status" "$status"
done <<'CASES'
riddle-itself not_solved,_moved_0 1 cup.vrl cup.vrl
first-solution solved,_moved_1 0 cup.vrl cup.solution.vrl
second-solution-reversed solved,_moved_1 0 cup.vrl second.vrl
nine-px-off not_solved,_moved_2 1 cup.vrl off9.vrl
extra-match not_solved,_moved_2 1 cup.vrl extra.vrl
missing-match not_solved,_moved_0 1 cup.vrl missing.vrl
by-solution solved,_moved_1 0 --solution cup.solution.vrl cup.solution.vrl
by-solution-other not_solved,_moved_1 1 --solution cup.solution.vrl second.vrl
by-solution-riddle-given solved,_moved_4 0 --solution cup.solution.vrl --riddle loose.vrl cup.solution.vrl
by-unnamed-solution solved 0 --solution second.vrl second.vrl
turned-round solved,_moved_1 0 two.vrl turned.vrl
eleven-px-off-at-both-ends not_solved,_moved_1 1 two.vrl short11.vrl
five-px-and-two-degrees-off solved,_moved_1 0 two.vrl skewed.vrl
twenty-px-off not_solved,_moved_1 1 two.vrl off20.vrl
equal-to-the-second-solution solved,_moved_1 0 two.vrl as-second.vrl
turned-round-by-solution solved,_moved_1 0 --solution two.solution.vrl turned.vrl
CASES

# A riddle without solution files is never solved, and says why.
make plain.vrl 1,2,3
run check plain.vrl plain.vrl
check "no solutions: output" "not solved, moved 0" "$out"
check "no solutions: status" 1 "$status"
[[ $err == *"no solution files"* ]] || check "no solutions: message" "*no solution files*" "$err"

# Usage errors are status 2; an unreadable file is status 1.
for args in "" "cup.vrl" "cup.vrl a b" "--solution cup.solution.vrl" \
    "--riddle cup.vrl cup.vrl cup.vrl" "--frobnicate cup.vrl cup.vrl"; do
    # shellcheck disable=SC2086
    run check $args
    check "usage '$args': status" 2 "$status"
    check "usage '$args': nothing on standard output" "" "$out"
done
run check cup.vrl absent.vrl
check "absent attempt: status" 1 "$status"
check "absent attempt: output" "" "$out"
printf '\x05\x00\x00\x00' >broken.solution.vrl
make broken.vrl 1,2,3
run check broken.vrl broken.vrl
check "broken solution: status" 1 "$status"

# A name that is not UTF-8 is taken as its bytes: the riddle of caf\xE9's
# solution is caf\xE9.vrl, never the riddle its text would name (caf\uFFFD).
make name.vrl 309,126,90 209,126,90 199,137,0 258,248,90
mv name.vrl $'caf\xe9.vrl'
make name.vrl 309,126,90 209,126,90 199,137,0 200,50,0
mv name.vrl $'caf\xe9.solution.vrl'
make name.vrl 0,0,0 1,1,1
mv name.vrl $'caf\xef\xbf\xbd.vrl'
for decoy in present absent; do
    run check --solution $'caf\xe9.solution.vrl' $'caf\xe9.solution.vrl'
    check "non-UTF-8 solution name, decoy $decoy: output" "solved, moved 1" "$out"
    check "non-UTF-8 solution name, decoy $decoy: status" 0 "$status"
    run check $'caf\xe9.vrl' $'caf\xe9.solution.vrl'
    check "non-UTF-8 riddle name, decoy $decoy: output" "solved, moved 1" "$out"
    rm -f $'caf\xef\xbf\xbd.vrl'
done

# A solution with far more matches than its riddle (here 1003 for 1, where
# 2 x 1 + 1000 are allowed) is left unread, with a message; the others count.
make small.vrl 1,2,3
many=()
for i in $(seq 0 1002); do many+=("$((i * 100)),500,0"); done
rm -f small.solution.vrl
make small.solution.vrl "${many[@]}"
make small.solution-2.vrl 1,2,3
run check small.vrl small.vrl
check "huge solution: output" "solved, moved 0" "$out"
check "huge solution: status" 0 "$status"
[[ $err == *"left unread"* ]] || check "huge solution: message" "*left unread*" "$err"
run check --solution small.solution.vrl small.vrl
check "huge solution given: output" "not solved, moved 0" "$out"
check "huge solution given: status" 1 "$status"
[[ $err == *"left unread"* ]] || check "huge solution given: message" "*left unread*" "$err"

echo "check: $failures failures"
[ "$failures" -eq 0 ]
