#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# vorlo-cli, run as a user would: every command, its files and its streams.
#   test_cli.sh VORLO_CLI SOURCE_DIR
# The script's own set-up (temporary folder, FIFOs, large inputs) must work:
# any failure there ends it at once with a non-zero status.
set -euo pipefail
cli=$(realpath "$1")
src=$(realpath "$2")
work=$(mktemp -d)
writer=
cleanup() {
    if [ -n "$writer" ]; then kill "$writer" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
# Whatever a faulty command writes by a relative name lands in the temporary folder.
cd "$work"
trap 'echo "test_cli.sh: set-up failed at line $LINENO" >&2' ERR
failures=0
skips=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        fail "$1"
        echo "  expected: $2"
        echo "  actual:   $3"
    fi
}

check_match() {  # check_match NAME GLOB ACTUAL
    # shellcheck disable=SC2053
    if [[ $3 != $2 ]]; then
        fail "$1"
        echo "  expected: $2"
        echo "  actual:   $3"
    fi
}

# run ARGS...: runs vorlo-cli with a deadline; its standard output lands in
# $work/out, its standard error in $err, its exit status in $status.
run() {
    status=0
    timeout 60 "$cli" "$@" </dev/null >"$work/out" 2>"$work/err" || status=$?
    err=$(cat "$work/err")
}

# The file format's worked example (the cup, 118 bytes).
sample="$src/tests/data/worked_example.vrl"
# The sample cup's text, as info --json prints it.
cup_text='שנו את מקומם של שני גפרורים בלבד,\nוהפכו את הכוס עם הפתח כלפי מטה.'
# The text of a riddle, as Python reads info --json (exactly).
json_text() {
    python3 -c 'import json, sys; sys.stdout.write(json.load(sys.stdin)["text"])'
}

# --- create, info -----------------------------------------------------------

# create reproduces the worked example byte for byte.
# The sample's two Hebrew lines are the example's text; its English lines follow.
head -n 2 "$src/resources/samples/riddle1.txt" >"$work/cup.txt"
run create -o "$work/cup.vrl" --text-file "$work/cup.txt" \
    309,126,90 209,126,90 199,137,0 258,248,90
check "create exit status" 0 "$status"
cmp -s "$work/cup.vrl" "$sample" || fail "created file differs from the worked example"

# info --json prints the matches in file order and the two Hebrew lines.
run info --json "$sample"
check "info --json" \
    "{\"file\":\"$sample\",\"matches\":[[309,126,90],[209,126,90],[199,137,0],[258,248,90]],\"text\":\"$cup_text\"}" \
    "$(cat "$work/out")"
run info "$sample"
check "info readable, first line" "$sample: 4 matches" "$(head -1 "$work/out")"

# --text with an emoji is kept (written as UTF-8 behind the mark).
run create -o "$work/emoji.vrl" --text 'cup 🙂\nline two' 1,2,3
run info --json "$work/emoji.vrl"
check "emoji text" '{"file":"'"$work/emoji.vrl"'","matches":[[1,2,3]],"text":"cup 🙂\nline two"}' \
    "$(cat "$work/out")"
check "emoji file starts with the mark" "efbbbf" \
    "$(tail -c +17 "$work/emoji.vrl" | head -c 3 | od -An -tx1 | tr -d ' \n')"

# Negative coordinates are matches, not options; unknown options are named whole.
run create -o "$work/neg.vrl" -5,7,-30 1,-2,3 -- -4,-4,-4
check "negative matches status" 0 "$status"
run info --json "$work/neg.vrl"
check "negative matches" "[[-5,7,-30],[1,-2,3],[-4,-4,-4]]" \
    "$(python3 -c 'import json, sys; print(json.dumps(json.load(sys.stdin)["matches"], separators=(",", ":")))' <"$work/out")"
while IFS='|' read -r option named; do
    run create -o "$work/x.vrl" "$option" 1,2,3
    check "unknown option $option status" 2 "$status"
    check_match "unknown option $option named whole" "*'$named'*" "$err"
done <<'EOF'
-xyz|-xyz
--frobnicate=3|--frobnicate
-hx|-hx
-5x|-5x
--json|--json
EOF
[ -e "$work/x.vrl" ] && fail "a usage error wrote a file"

# --text: \n is a paragraph break, \\ a backslash; a trailing break is kept.
while IFS='|' read -r given expected; do
    run create -o "$work/t.vrl" --text "$given"
    run info --json "$work/t.vrl"
    check "--text '$given'" "$expected" "$(json_text <"$work/out" | od -An -c | tr -s ' ')"
done <<'EOF'
a\nb| a \n b
a\\nb| a \ n b
a\\\nb| a \ \n b
C:\temp| C : \ t e m p
a\n| a \n
EOF

# info --json, then create --text-file with the text: the same text again,
# trailing empty paragraphs included. A text file's last line end ends its
# last line (as every editor writes it), so a trailing empty paragraph is one
# more line end in the file.
while IFS='|' read -r name section; do
    printf '\0\0\0\0'"$section" >"$work/para.vrl"
    run info --json "$work/para.vrl"
    { json_text <"$work/out"; echo; } >"$work/para.txt"
    run create -o "$work/para2.vrl" --text-file "$work/para.txt"
    cmp -s "$work/para.vrl" "$work/para2.vrl" || fail "round trip through a text file: $name"
    run info --json "$work/para.vrl"
    { json_text <"$work/out"; echo; } | {
        timeout 60 "$cli" create -o "$work/para3.vrl" --text-file - >/dev/null 2>&1 || true
    } || true
    cmp -s "$work/para.vrl" "$work/para3.vrl" || fail "round trip through standard input: $name"
done <<'EOF'
one paragraph|a
trailing empty paragraph|a\r\n
two trailing empty paragraphs|a\r\n\r\n
only a break|\r\n
EOF

# --- files that cannot be read ----------------------------------------------

printf '\005\000\000\000abcdefghijklmnopqrstuvwxyz0123' >"$work/short.vrl"
run info "$work/short.vrl"
check "truncated file status" 1 "$status"
check "truncated file message" "vorlo-cli: $work/short.vrl: declares 5 matches but holds only 2" "$err"
run info "$work/missing.vrl"
check "missing file status" 1 "$status"
run info "$work"
check "folder status" 1 "$status"

# info --summary: one line per file, with values worked out by hand from the
# matches given to create. The box holds the match points (not the shapes);
# the text counts characters, not bytes ("héllo" is 6 bytes). A file that
# cannot be read in the middle is reported and the others still printed.
run create -o "$work/sum-a.vrl" --text 'héllo' -5,7,0 300,-2,90
run create -o "$work/sum-e.vrl"
run create -o "$work/sum-x.vrl" --text 'ab\ncd' 2147483647,-2147483648,0 -2147483648,2147483647,90 0,0,0
run create -o "$work/sum-1.vrl" -- -1,-1,45
summary_files=(sum-a.vrl sum-e.vrl sum-x.vrl missing.vrl sum-1.vrl)
while IFS='|' read -r name options expected; do
    # shellcheck disable=SC2086
    (cd "$work" && timeout 60 "$cli" info $options "${summary_files[@]}" \
        </dev/null >"$work/out" 2>"$work/err") && status=0 || status=$?
    check "summary $name status" 1 "$status"
    check "summary $name message" "vorlo-cli: missing.vrl: No such file or directory" \
        "$(cat "$work/err")"
    check "summary $name" "$expected" "$(tr '\n' '/' <"$work/out")"
done <<EOF
readable|--summary|sum-a.vrl: 2 matches, box -5 -2 300 7, text 5 characters/sum-e.vrl: 0 matches, no matches, text 0 characters/sum-x.vrl: 3 matches, box -2147483648 -2147483648 2147483647 2147483647, text 5 characters/sum-1.vrl: 1 matches, box -1 -1 -1 -1, text 0 characters/
json|--summary --json|{"box":[-5,-2,300,7],"file":"sum-a.vrl","matches":2,"text_length":5}/{"box":null,"file":"sum-e.vrl","matches":0,"text_length":0}/{"box":[-2147483648,-2147483648,2147483647,2147483647],"file":"sum-x.vrl","matches":3,"text_length":5}/{"box":[-1,-1,-1,-1],"file":"sum-1.vrl","matches":1,"text_length":0}/
json first|--json --summary|{"box":[-5,-2,300,7],"file":"sum-a.vrl","matches":2,"text_length":5}/{"box":null,"file":"sum-e.vrl","matches":0,"text_length":0}/{"box":[-2147483648,-2147483648,2147483647,2147483647],"file":"sum-x.vrl","matches":3,"text_length":5}/{"box":[-1,-1,-1,-1],"file":"sum-1.vrl","matches":1,"text_length":0}/
EOF

# Usage errors: exit 2.
while IFS='|' read -r name args; do
    # shellcheck disable=SC2086
    run $args
    check "$name status" 2 "$status"
done <<EOF
bad match|create -o $work/x.vrl 1,2
out-of-range match|create -o $work/x.vrl 1,2,99999999999
missing -o|create 1,2,3
-o without its value|create 1,2,3 -o
unknown command|frobnicate
info without file|info
unknown encoding|create -o $work/x.vrl --text-encoding latin9 --text a
EOF
run --version
check "version" "vorlo-cli 1.1" "$(cat "$work/out")"
run create -o "$work/nodir/x.vrl" 1,2,3
check "unwritable output status" 1 "$status"

# Help ends with a line break, for the program and for each command.
for args in "--help" "-h" "info --help" "create --help" "render --help" "thumbnail -h"; do
    # shellcheck disable=SC2086
    run $args
    check "$args status" 0 "$status"
    check "$args ends with a line break" "0a" "$(tail -c 1 "$work/out" | od -An -tx1 | tr -d ' ')"
done

# --- text files: size, encoding ---------------------------------------------

# A text longer than a riddle file may hold is refused, not written unreadable.
head -c 17000000 /dev/zero | tr '\0' 'a' >"$work/long.txt"
[ "$(stat -c %s "$work/long.txt")" -eq 17000000 ] || { echo "set-up: long.txt not made"; exit 1; }
run create -o "$work/long.vrl" --text-file "$work/long.txt"
check "over-long text status" 1 "$status"
check "over-long text message" \
    "vorlo-cli: $work/long.txt: is longer than a riddle's text can be (16 MB at most)" "$err"
[ -e "$work/long.vrl" ] && fail "an unreadable riddle was written"

# Endless and huge inputs are read only just past the limit: under a memory
# limit (not with AddressSanitizer, which reserves terabytes up front).
limit_memory=
# (grep reads all of ldd's output: with -q it could stop early, and pipefail would
# count the writer's broken pipe as "no AddressSanitizer".)
if ! ldd "$cli" 2>/dev/null | grep libasan >/dev/null; then limit_memory="ulimit -v 1500000;"; fi
mkfifo "$work/endless.txt"
truncate -s 4G "$work/sparse.txt"
[ "$(stat -c %s "$work/sparse.txt")" -eq 4294967296 ] || { echo "set-up: sparse.txt not made"; exit 1; }
for input in /dev/zero "$work/endless.txt" "$work/sparse.txt"; do
    if [ "$input" = "$work/endless.txt" ]; then
        (exec yes abcdefghijklmnopqrstuvwxyz >"$input" 2>/dev/null) &
        writer=$!
    fi
    status=0
    bash -c "$limit_memory"' exec timeout 60 "$0" create -o "$1" --text-file "$2"' \
        "$cli" "$work/big.vrl" "$input" >/dev/null 2>"$work/err" || status=$?
    err=$(cat "$work/err")
    check "huge text $input status" 1 "$status"
    check "huge text $input message" \
        "vorlo-cli: $input: is longer than a riddle's text can be (16 MB at most)" "$err"
    [ -e "$work/big.vrl" ] && fail "huge text $input: a riddle was written"
    if [ -n "$writer" ]; then
        kill "$writer" 2>/dev/null || true
        wait "$writer" 2>/dev/null || true
        writer=
    fi
done

# Text that is not UTF-8 is refused, or read as code page 1255 when asked.
printf '\xf9\xec\xe5\xed\r\n' >"$work/hebrew1255.txt"   # "shalom" in code page 1255
run create -o "$work/x.vrl" --text-file "$work/hebrew1255.txt"
check "cp1255 text as UTF-8 status" 1 "$status"
check "cp1255 text as UTF-8 message" "vorlo-cli: $work/hebrew1255.txt: not UTF-8 text" "$err"
run create -o "$work/x.vrl" --text $'\xf9\xec\xe5\xed'
check "--text not UTF-8 status" 2 "$status"
check_match "--text not UTF-8 message" "*not UTF-8 text*" "$err"
[ -e "$work/x.vrl" ] && fail "a text that is not UTF-8 was written"
run create -o "$work/shalom.vrl" --text-encoding cp1255 --text-file "$work/hebrew1255.txt"
check "--text-encoding cp1255 status" 0 "$status"
check "--text-encoding cp1255 bytes" "00000000f9ece5ed" \
    "$(od -An -tx1 "$work/shalom.vrl" | tr -d ' \n')"

# --- file names -------------------------------------------------------------

# A name that is not UTF-8 cannot be written (it would come out another
# name); such a file can still be read.
for locale in C.UTF-8 C; do
    export LC_ALL=$locale
    run create -o "$work/"$'\xff'".vrl" 1,2,3
    check "$locale: output name not UTF-8 status" 1 "$status"
    check "$locale: output name not UTF-8 message" \
        "vorlo-cli: $work/\\xFF.vrl: the name is not UTF-8 and cannot be represented" "$err"
    if [ -e "$work/"$'\xff'".vrl" ] || [ -e "$work/"$'\xef\xbf\xbd'".vrl" ]; then
        fail "$locale: a name that is not UTF-8 was written"
    fi
    latin="$work/caf"$'\xe9'".vrl"
    cp "$sample" "$latin"
    run info "$latin"
    check "$locale: info of a Latin-1 name status" 0 "$status"
    check "$locale: info of a Latin-1 name" "$work/caf\\xE9.vrl: 4 matches" "$(head -1 "$work/out")"
    run render "$latin" -o "$work/latin.png"
    check "$locale: render of a Latin-1 name status" 0 "$status"
    run thumbnail "$latin" "$work/latin-thumb.png" 64
    check "$locale: thumbnail of a Latin-1 name status" 0 "$status"
    printf 'abc\n' >"$work/t"$'\xe9'".txt"
    run create -o "$work/latin-text.vrl" --text-file "$work/t"$'\xe9'".txt"
    check "$locale: --text-file with a Latin-1 name status" 0 "$status"
    rm -f "$latin" "$work/latin.png" "$work/latin-thumb.png" "$work/latin-text.vrl" "$work/t"$'\xe9'".txt"
    unset LC_ALL
done

# --- standard output --------------------------------------------------------

# -o - writes to standard output.
run create -o - --text-file "$work/cup.txt" \
    309,126,90 209,126,90 199,137,0 258,248,90
check "create -o - status" 0 "$status"
cmp -s "$work/out" "$sample" || fail "create -o - differs from the worked example"
run render "$sample" -o -
check "render -o - status" 0 "$status"
check "render -o - is a PNG" "89504e47" "$(head -c 4 "$work/out" | od -An -tx1 | tr -d ' \n')"
run render "$sample" -o - --format svg
check "render -o - --format svg" "<?xml" "$(head -c 5 "$work/out")"
run render "$sample" -o - --format pdf
check "render -o - --format pdf" "%PDF-" "$(head -c 5 "$work/out")"

# Every command that writes to standard output says when it could not. The
# output is a file that may not grow (a file size limit of 0), which fails
# every write as a full disk would, without a device node.
while IFS='|' read -r name args; do
    status=0
    # shellcheck disable=SC2086
    err=$( (ulimit -f 0 && exec timeout 60 "$cli" $args >"$work/stuck.out") 2>&1) || status=$?
    check "$name to a file that cannot grow status" 1 "$status"
    check_match "$name to a file that cannot grow message" "vorlo-cli: standard output: *" "$err"
    check "$name wrote nothing" 0 "$(stat -c %s "$work/stuck.out")"
done <<EOF
info|info $sample
info --json|info --json $sample
help|--help
command help|create --help
version|--version
create -o -|create -o - 1,2,3
render -o -|render $sample -o -
EOF

# Standard output closed (>&-) or open for reading only is named as such.
while IFS='|' read -r name redirect args; do
    status=0
    # shellcheck disable=SC2086
    err=$(eval "timeout 60 \"\$cli\" $args $redirect" 2>&1) || status=$?
    check "$name status" 1 "$status"
    check "$name message" "vorlo-cli: standard output is closed" "$err"
done <<EOF
info, closed|>&-|info $sample
help, closed|>&-|--help
create -o -, closed|>&-|create -o - 1,2,3
info, read-only|1<$sample|info $sample
EOF
# With both closed, the riddle that -o writes gets none of the program's
# messages: the first file it opens must not take a closed number.
rm -f "$work/quiet.vrl"
status=0
(exec 1>&- 2>&- && timeout 60 "$cli" create -o "$work/quiet.vrl" 1,2,3) || status=$?
check "closed streams, create status" 0 "$status"
check "closed streams, create writes the riddle alone" 16 "$(stat -c %s "$work/quiet.vrl")"

# info escapes control characters when it writes to a terminal, and only then.
printf '\0\0\0\0a\033[31mb\007c' >"$work/control.vrl"
run info "$work/control.vrl"
check "info to a pipe keeps the text" "  a"$'\033'"[31mb"$'\007'"c" "$(tail -1 "$work/out")"
if command -v script >/dev/null && timeout 60 script -qec true /dev/null >/dev/null 2>&1; then
    terminal=$(timeout 60 script -qec "'$cli' info '$work/control.vrl'" /dev/null | tr -d '\r' | tail -1)
    check "info to a terminal escapes control characters" '  a\x1b[31mb\x07c' "$terminal"
else
    echo "SKIP: no pseudo-terminal to run info on (script(1) cannot start one)"
    skips=$((skips + 1))
fi

# --- targets that are not regular files ---------------------------------------

# Each writing command refuses a target that is not a regular file and leaves
# it as it was; a symbolic link to a regular file updates the file.
mkfifo "$work/fifo.png"
mkdir "$work/folder.png"
python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$work/socket.png"
nodes="fifo folder socket"
if [ "$(id -u)" -eq 0 ]; then
    mknod "$work/device.png" c 1 3
    nodes="$nodes device"
else
    echo "SKIP: a character device target needs root to make one"
    skips=$((skips + 1))
fi
for node in $nodes; do
    target="$work/$node.png"
    kind=$(stat -c %F "$target")
    for args in "create -o $target 1,2,3" "render $sample -o $target" \
        "render $sample -o $target --format svg" "thumbnail $sample $target 64"; do
        # shellcheck disable=SC2086
        run $args
        check "$node target: $args status" 1 "$status"
        check_match "$node target: $args message" "vorlo-cli: $target: *is not a regular file*" "$err"
        check "$node target: $args leaves it" "$kind" "$(stat -c %F "$target")"
    done
done
printf 'old' >"$work/real.png"
ln -s real.png "$work/link.png"
for args in "create -o $work/link.png 1,2,3" "render $sample -o $work/link.png" \
    "render $sample -o $work/link.png --format svg" "thumbnail $sample $work/link.png 64"; do
    printf 'old' >"$work/real.png"
    # shellcheck disable=SC2086
    run $args
    check "symbolic link: $args status" 0 "$status"
    [ -L "$work/link.png" ] || fail "symbolic link: $args replaced the link"
    ! cmp -s "$work/real.png" <(printf old) || fail "symbolic link: $args left the file"
done

echo "cli: $failures failures, $skips skipped cases"
if [ "$failures" -ne 0 ]; then
    exit 1
fi
