#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# vorlo-cli equation, solve, generate, and check on riddles of a family.
#   test_family_cli.sh VORLO_CLI
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/cli_session.sh" "$1"

# The texts of the answers solve --json gives, sorted and joined by _; - for none.
answer_texts() {
    python3 -c 'import json, sys; print("_".join(sorted(a["text"] for a in json.load(sys.stdin)["answers"])) or "-")'
}

# Equations drawn and solved with one move: exactly these answers.
while read -r riddle answers want_status; do
    "$cli" equation "$riddle" -o "$riddle.vrl"
    run solve "$riddle.vrl" --moves 1 --json
    check "$riddle: answers" "$answers" "$(answer_texts <<<"$out")"
    check "$riddle: status" "$want_status" "$status"
    check "$riddle: the riddle as text" "$riddle" \
        "$(python3 -c 'import json, sys; print(json.load(sys.stdin)["riddle"])' <<<"$out")"
done <<'CASES'
5+7=2 9-7=2 0
6+4=4 0+4=4_8-4=4 0
7+7=0 1+7=8_7+1=8 0
9-5=0 - 1
CASES
run solve 9-5=0.vrl --moves 1
check "no answer: message" "equation 9-5=0: no answer within 1 move" "$out"
"$cli" equation 5+7=2 -o - | cmp -s - 5+7=2.vrl || check "equation -o -" "the same bytes" "others"

# Move 4 of these 24 matches to leave 5 squares: three ways.
"$cli" create -o squares.vrl 100,100,0 328,100,0 100,176,0 176,176,0 328,176,0 100,252,0 \
    100,328,0 176,328,0 328,328,0 176,404,0 328,404,0 100,100,270 176,100,270 328,100,270 \
    404,100,270 100,176,270 176,176,270 252,176,270 100,252,270 252,252,270 176,328,270 \
    252,328,270 328,328,270 404,328,270
run solve squares.vrl --moves 4 --squares 5
check "squares: status" 0 "$status"
check "squares: answers" 3 "$(grep -c '^answer [0-9] (4 moves): [0-9,]* -> [0-9,]*; ' <<<"$out")"
run solve squares.vrl --moves 4 --squares 5 --json
check "squares: JSON answers, whole boards" "3 24" "$(python3 -c '
import json, sys
d = json.load(sys.stdin)
assert d["family"] == "squares" and d["moves"] == 4 and d["squares"] == 5
print(len(d["answers"]), *{len(a["matches"]) for a in d["answers"]})' <<<"$out")"

# The same seed writes the same files; each riddle's solution files are all
# its answers, so solve finds as many and writes none.
for family in equations squares; do
    "$cli" generate "$family" -o "one/$family" --count 6 --seed 25
    "$cli" generate "$family" -o "two/$family" --count 6 --seed 25
done
check "generate: the same files" "" "$(diff -r one two 2>&1)"
check "generate: riddles" 12 "$(ls one/*/*-00[1-6].vrl | wc -l)"
before=$(ls one/*/* | wc -l)
for riddle in one/*/*-00[1-6].vrl; do
    stored=$(ls "${riddle%.vrl}".solution*.vrl | wc -l)
    run solve "$riddle" --json --write-solutions
    check "$riddle: answers" "$stored" \
        "$(python3 -c 'import json, sys; print(len(json.load(sys.stdin)["answers"]))' <<<"$out")"
done
check "write-solutions: nothing new" "$before" "$(ls one/*/* | wc -l)"
run generate equations -o one/equations --count 6 --seed 26
check "generate over other riddles: status" 1 "$status"
check "generate over other riddles: untouched" "" "$(diff -r one two 2>&1)"

# check: any answer of the rule is solved, stored or not; a two-move answer
# of a one-move riddle is not. --write-solutions stores the missing answer.
"$cli" equation 0+4=4 -o 6+4=4.solution.vrl
"$cli" equation 8-4=4 -o unstored.vrl
run check 6+4=4.vrl unstored.vrl
check "check: an answer not stored" "solved, moved 1" "$out"
"$cli" equation 9-7=2 -o 5+7=2.solution.vrl
"$cli" equation 5+1=6 -o two-moves.vrl
run check 5+7=2.vrl two-moves.vrl
check "check: two moves for one" "not solved, moved 2" "$out"
run solve 6+4=4.vrl --write-solutions
check "write-solutions: report" \
    "answer 1 written to 6+4=4.solution-2.vrl|answer 2 is stored in 6+4=4.solution.vrl" \
    "$(tail -2 <<<"$out" | paste -sd '|')"
run check --solution 6+4=4.solution-2.vrl unstored.vrl
check "write-solutions: the answer written" "solved, moved 1" "$out"

# Refusals.
run equation '5*7=2' -o bad.vrl
check "bad equation: status" 2 "$status"
[[ $err == *"'*' is none of"* ]] || check "bad equation: message" "*'*' is none of*" "$err"
[ ! -e bad.vrl ] || check "bad equation: no file" "" "bad.vrl"
"$cli" create -o cup.vrl 309,126,90 209,126,90 199,137,0 258,248,90
run solve cup.vrl --moves 2
check "not a family riddle: status" 2 "$status"
run solve 9-5=0.vrl
check "no rule: status" 2 "$status"
check "no rule: message" "vorlo-cli solve: 9-5=0.vrl has no solution files to take the rule from: give --moves N" "$err"
run solve squares.vrl --moves 4
check "no squares: message" "vorlo-cli solve: squares.vrl has no solution files to take the rule from: give --squares K" "$err"
for args in "generate cubes -o x" "generate squares -o x --moves 5" "generate equations -o x --moves 3" \
    "generate squares -o x --count 0" "generate squares -o x --seed -1" "solve 5+7=2.vrl --squares 2"; do
    # shellcheck disable=SC2086
    run $args
    check "usage '$args': status" 2 "$status"
done

echo "family: $failures failures"
[ "$failures" -eq 0 ]
