#!/usr/bin/env bash
# vorlo-cli info and create, run as a user would.
set -u
cli=$1
src=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1"
        echo "  expected: $2"
        echo "  actual:   $3"
        failures=$((failures + 1))
    fi
}

# The file format's worked example (the cup, 118 bytes).
sample="$src/tests/data/worked_example.vrl"

# create reproduces the worked example byte for byte.
"$cli" create -o "$work/cup.vrl" --text-file "$src/resources/samples/riddle1.txt" \
    309,126,90 209,126,90 199,137,0 258,248,90
check "create exit status" 0 $?
cmp -s "$work/cup.vrl" "$sample" || { echo "FAIL: created file differs from the worked example"; failures=$((failures + 1)); }

# info --json prints the matches in file order and the two Hebrew lines.
json=$("$cli" info --json "$sample")
check "info --json" \
    "{\"file\":\"$sample\",\"matches\":[[309,126,90],[209,126,90],[199,137,0],[258,248,90]],\"text\":\"שנו את מקומם של שני גפרורים בלבד,\\nוהפכו את הכוס עם הפתח כלפי מטה.\"}" \
    "$json"

info=$("$cli" info "$sample")
check "info readable, first line" "$sample: 4 matches" "$(echo "$info" | head -1)"

# --text with an emoji is kept (written as UTF-8 behind the mark).
"$cli" create -o "$work/emoji.vrl" --text 'cup 🙂\nline two' 1,2,3
check "emoji text" '{"file":"'"$work/emoji.vrl"'","matches":[[1,2,3]],"text":"cup 🙂\nline two"}' \
    "$("$cli" info --json "$work/emoji.vrl")"
check "emoji file starts with the mark" "efbbbf" "$(tail -c +17 "$work/emoji.vrl" | head -c 3 | od -An -tx1 | tr -d ' \n')"

# Bad files: exit 1 and a message naming the file and the fault.
printf '\005\000\000\000abcdefghijklmnopqrstuvwxyz0123' > "$work/short.vrl"
msg=$("$cli" info "$work/short.vrl" 2>&1 >/dev/null); status=$?
check "truncated file status" 1 $status
check "truncated file message" "vorlo-cli: $work/short.vrl: declares 5 matches but holds only 2" "$msg"
"$cli" info "$work/missing.vrl" >/dev/null 2>&1
check "missing file status" 1 $?
"$cli" info "$work" >/dev/null 2>&1
check "folder status" 1 $?

# Usage errors: exit 2.
"$cli" create -o "$work/x.vrl" 1,2 >/dev/null 2>&1
check "bad match status" 2 $?
"$cli" create -o "$work/x.vrl" 1,2,99999999999 >/dev/null 2>&1
check "out-of-range match status" 2 $?
"$cli" create 1,2,3 >/dev/null 2>&1
check "missing -o status" 2 $?
"$cli" frobnicate >/dev/null 2>&1
check "unknown command status" 2 $?
"$cli" info >/dev/null 2>&1
check "info without file status" 2 $?
check "version" "vorlo-cli 1.1" "$("$cli" --version)"
"$cli" create -o "$work/nodir/x.vrl" 1,2,3 >/dev/null 2>&1
check "unwritable output status" 1 $?

# A text longer than a riddle file may hold is refused, not written unreadable.
head -c 17000000 /dev/zero | tr '\0' 'a' > "$work/long.txt"
msg=$("$cli" create -o "$work/long.vrl" --text-file "$work/long.txt" 2>&1); status=$?
check "over-long text status" 1 $status
check "over-long text message" "vorlo-cli: $work/long.vrl: The riddle's text is longer than a riddle file can hold (16 MB at most)." "$msg"
[ -e "$work/long.vrl" ] && { echo "FAIL: an unreadable riddle was written"; failures=$((failures + 1)); }

if [ $failures -eq 0 ]; then
    echo "cli: all checks passed"
    exit 0
fi
exit 1
