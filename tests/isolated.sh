#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# isolated.sh COMMAND...: runs a test with home, configuration, data, cache
# and runtime folders of its own in a fresh temporary folder, removed
# afterwards, so that neither the test nor Qt under it (settings, font
# caches, /tmp/runtime-USER) writes into the user's folders, the build tree
# or fixed names in /tmp. The test's exit status is kept.
set -euo pipefail

scratch=$(mktemp -d "${TMPDIR:-/tmp}/vorlo-test-XXXXXX")
remove_scratch() {
    # A test may leave folders without write permission behind.
    chmod -R u+rwx "$scratch" 2>/dev/null || true
    rm -rf "$scratch"
}
trap remove_scratch EXIT
for name in home config data cache runtime; do
    mkdir -m 700 "$scratch/$name"
done
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" \
    XDG_CACHE_HOME="$scratch/cache" XDG_RUNTIME_DIR="$scratch/runtime"
# The interface follows the locale: tests expect the English one unless
# they choose a language themselves.
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=C.UTF-8

# With --qtest first, the command is a QtTest program: when it skipped every
# case it ran, it exits 77, which ctest counts as skipped, not passed.
# (QtTest counts initTestCase and cleanupTestCase as passed even when a test
# has none.)
if [ "${1:-}" = --qtest ]; then
    shift
    status=0
    "$@" | tee "$scratch/output" || status=$?
    totals=$(grep -E '^Totals: [0-9]+ passed, [0-9]+ failed, [0-9]+ skipped' "$scratch/output" |
        tail -1 | tr -dc '0-9 ' | tr -s ' ') || true
    read -r passed failed skipped _ <<<"$totals" || true
    if [ "$status" = 0 ] && [ "${failed:-1}" = 0 ] && [ "${skipped:-0}" -gt 0 ] &&
        [ "${passed:-0}" -le 2 ]; then
        echo "every case was skipped"
        exit 77
    fi
    exit "$status"
fi

status=0
"$@" || status=$?
exit "$status"
