#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window program's command line: which file it opens, and what it
# refuses. Run without a display, through --print (which needs none) and the
# no-display path, so that no window waits for a person; no case gets as far
# as a printer, since every file named here is missing or refused first.
#   test_window_command_line.sh VORLO
set -euo pipefail
vorlo=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trap 'echo "test_window_command_line.sh: set-up failed at line $LINENO" >&2' ERR
cd "$work"
failures=0

check_match() {  # check_match NAME GLOB ACTUAL
    # shellcheck disable=SC2053
    if [[ $3 != $2 ]]; then
        echo "FAIL: $1"
        echo "  expected: $2"
        echo "  actual:   $3"
        failures=$((failures + 1))
    fi
}

# run ARGS...: vorlo without a display, with a deadline.
run() {
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM VORLO_NO_DESKTOP_REGISTRATION=1 \
        XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
        timeout 60 "$vorlo" "$@" </dev/null >"$work/out" 2>"$work/err" || status=$?
    out=$(cat "$work/out")
    err=$(cat "$work/err")
}

cp /dev/null "$work/"$'\xff'".vrl"  # an empty riddle, named in no encoding
latin1="$work/"$'\xff'".vrl"
while IFS='|' read -r name arguments expected_status expected_err; do
    # shellcheck disable=SC2086
    run $arguments
    check_match "$name: status" "$expected_status" "$status"
    check_match "$name: message" "$expected_err" "$err"
    check_match "$name: no help" "" "$(grep -F 'Usage:' "$work/out" || true)"
done <<CASES
-- ends the options|-- -h|1|*display*
the value of --print is a file|--print -h|1|*Cannot open the riddle -h:*
a file URL names a local file|--print file://$work/cup%20x.vrl|1|*Cannot open the riddle $work/cup x.vrl:*
localhost is this computer|--print file://localhost$work/a.vrl|1|*Cannot open the riddle $work/a.vrl:*
a web address is refused|--print http://riddles.invalid/cup.vrl|1|*vorlo: http://riddles.invalid/cup.vrl: only files on this computer can be opened*
another computer's file is refused|--print file://server/cup.vrl|1|*only files on this computer*
the scheme's case does not matter|--print FILE://server/cup.vrl|1|*only files on this computer*
a scheme with + and -|--print svn+ssh-x.1://host/cup.vrl|1|*only files on this computer*
a name that is not UTF-8|--print $latin1|1|*the file's name cannot be read*
a URL of such a name|--print file://$work/%FF.vrl|1|*the file's name cannot be read*
a colon does not make a URL|--print notes:cup.vrl|1|*Cannot open the riddle notes:cup.vrl:*
CASES

# Qt's own options (-reverse) after "--" are files too: two files here.
run_offscreen() {
    status=0
    env VORLO_NO_DESKTOP_REGISTRATION=1 QT_QPA_PLATFORM=offscreen \
        XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
        timeout 60 "$vorlo" "$@" </dev/null >"$work/out" 2>"$work/err" || status=$?
    err=$(cat "$work/err")
}
run_offscreen -- -reverse missing.vrl
check_match "Qt options after -- are files: status" 1 "$status"
check_match "Qt options after -- are files: message" "*give at most one riddle file*" "$err"

# Help still answers, wherever it stands before "--".
run -h
check_match "-h prints help" "*Usage:*" "$out"
run --print x.vrl --help
check_match "--help after --print's value" "*Usage:*" "$out"

echo "window command line: $failures failures"
if [ "$failures" -ne 0 ]; then
    exit 1
fi
