#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every source file names its licence in an SPDX line: the first line, or the
second one behind a shebang line.

usage: check_spdx.py SOURCE_DIR
Exit 0 when every source file has its line; 1 with one line per file that
lacks it. Before it looks at the tree, the check tries itself on a made-up
tree of right and wrong files, so that a check that finds nothing cannot pass.
"""

import os
import sys
import tempfile

LICENCE = "GPL-3.0-or-later"
C_LINE = f"// SPDX-License-Identifier: {LICENCE}"
HASH_LINE = f"# SPDX-License-Identifier: {LICENCE}"

# Folders whose files are code, and the single files at the top.
ROOTS = ["src", "tests", "bench", "fuzz", "scripts", "cmake", ".ci", "resources"]
TOP_FILES = ["CMakeLists.txt", "Makefile"]
# Inputs and build products, not code.
SKIPPED_FOLDERS = {"__pycache__", "corpus", "data", ".git"}
C_SUFFIXES = (".cpp", ".h", ".h.in")
HASH_SUFFIXES = (".py", ".sh", ".cmake", ".supp")


def expected_line(path):
    """The SPDX line a file must carry, or None when it is not a source file."""
    name = os.path.basename(path)
    if name.endswith(C_SUFFIXES):
        return C_LINE
    if name in ("CMakeLists.txt", "Makefile") or name.endswith(HASH_SUFFIXES):
        return HASH_LINE
    # A script without a suffix is known by its shebang.
    with open(path, "rb") as f:
        return HASH_LINE if f.read(2) == b"#!" else None


def has_line(path, line):
    with open(path, encoding="utf-8", errors="replace") as f:
        head = [f.readline().rstrip("\r\n") for _ in range(2)]
    if head[0].startswith("#!"):
        return head[1] == line
    return head[0] == line


def source_files(top):
    for name in TOP_FILES:
        path = os.path.join(top, name)
        if os.path.isfile(path):
            yield path
    for root in ROOTS:
        for folder, subfolders, files in os.walk(os.path.join(top, root)):
            subfolders[:] = sorted(d for d in subfolders if d not in SKIPPED_FOLDERS)
            for name in sorted(files):
                yield os.path.join(folder, name)


def offenders(top):
    found = []
    for path in source_files(top):
        line = expected_line(path)
        if line is not None and not has_line(path, line):
            found.append((os.path.relpath(path, top), line))
    return found


# The made-up tree: file, content, whether the check must name it.
SELF_TEST = [
    ("src/good.cpp", C_LINE + "\nint x;\n", False),
    ("src/good.h", C_LINE + "\n#pragma once\n", False),
    ("src/no_line.cpp", "int x;\n", True),
    ("src/hash_form.h", HASH_LINE + "\n", True),
    ("src/late.cpp", "\n" + C_LINE + "\n", True),
    ("src/other_licence.cpp", "// SPDX-License-Identifier: MIT\n", True),
    ("src/version.h.in", "#pragma once\n", True),
    ("scripts/tool", "#!/bin/sh\n" + HASH_LINE + "\n", False),
    ("scripts/tool_without", "#!/bin/sh\necho\n", True),
    ("scripts/shebang_only", "#!/bin/sh\n", True),
    ("tests/check.py", "#!/usr/bin/env python3\n" + HASH_LINE + "\n", False),
    ("tests/run.sh", "set -e\n", True),
    ("tests/lsan.supp", "leak:libfoo\n", True),
    ("tests/data/sample.vrl", "binary", False),
    ("fuzz/corpus/input", "#!not code", False),
    ("bench/__pycache__/report.py", "x = 1\n", False),
    ("cmake/Rules.cmake", "set(A 1)\n", True),
    ("CMakeLists.txt", HASH_LINE + "\r\nproject(x)\r\n", False),
    ("Makefile", "all:\n", True),
    ("resources/notes.md", "text\n", False),
    ("resources/icons/draw.cpp", "int main() {}\n", True),
    (".ci/run", "#!/usr/bin/env bash\nmake test\n", True),
]


def self_test():
    with tempfile.TemporaryDirectory() as top:
        for name, content, _ in SELF_TEST:
            path = os.path.join(top, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8", newline="") as f:
                f.write(content)
        named = {path for path, _ in offenders(top)}
    faults = []
    for name, _, offending in SELF_TEST:
        if (name in named) != offending:
            faults.append(f"check_spdx: the check {'misses' if offending else 'wrongly names'} {name}")
    return faults


def main():
    faults = self_test()
    if faults:
        print("\n".join(faults))
        return 1
    top = sys.argv[1]
    found = offenders(top)
    for path, line in found:
        print(f"{path}: lacks '{line}' as its first line (behind a shebang line: its second)")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
