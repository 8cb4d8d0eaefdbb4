#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every test of a build carries one of the labels that pick parts of the
suite (ctest -L), so that `make check-fast` neither misses a new test nor
runs one that needs a virtual X server or the package.

Usage: check_labels.py CTEST BUILD_DIR
"""

import json
import subprocess
import sys

# A test belongs to one of these; cli, hardening and source come beside them.
# A long robustness run may be hardening alone: make check runs it, make
# check-fast (unit and widget) leaves it out.
KINDS = {"unit", "widget", "e2e", "package", "fuzz", "hardening"}
KNOWN = KINDS | {"cli", "source"}


def main() -> int:
    ctest, build = sys.argv[1], sys.argv[2]
    listing = subprocess.run(
        [ctest, "--test-dir", build, "--show-only=json-v1"],
        check=True, capture_output=True, text=True).stdout
    faults = []
    tests = json.loads(listing).get("tests", [])
    for test in tests:
        labels = set()
        for prop in test.get("properties", []):
            if prop.get("name") == "LABELS":
                labels.update(prop.get("value", []))
        if not labels & KINDS:
            faults.append(f"{test['name']}: none of {', '.join(sorted(KINDS))}")
        for unknown in sorted(labels - KNOWN):
            faults.append(f"{test['name']}: unknown label {unknown}")
    for fault in faults:
        print(fault, file=sys.stderr)
    if not tests:
        print("no tests listed", file=sys.stderr)
        return 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
