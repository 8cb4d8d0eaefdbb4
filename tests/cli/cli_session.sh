# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the vorlo-cli test scripts: source it with the program's path.
# Sets cli and work (a temporary folder, removed at exit, the current
# folder), counts failures, and gives check and run.
cli=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0

check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1"
        echo "  expected: $2"
        echo "  actual:   $3"
        failures=$((failures + 1))
    fi
}

# run ARGS...: output in $out, standard error in $err, exit status in $status.
run() {
    status=0
    out=$(timeout 120 "$cli" "$@" 2>"$work/err" </dev/null) || status=$?
    err=$(cat "$work/err")
}
