#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Each folder of src/ builds only on the folders below it: a source file may
include headers of its own folder and of lower ones, never of a higher one.

usage: check_layers.py SRC_DIR
Exit 0 when the layering holds; 1 with one line per offending include.
"""

import os
import re
import sys

# Lower number = lower layer. Folders on one level may not include each other.
LAYERS = {
    "model": 0,
    "document": 1,
    "board": 2,
    "panes": 2,
    "dialogs": 2,
    "book": 3,
    "app": 4,
    "cli": 4,
}
# Beside its own layer, what each folder may build on.
ALLOWED = {
    "model": set(),
    "document": {"model"},
    "board": {"model", "document"},
    "panes": {"model", "document"},
    "dialogs": {"model", "document"},
    "book": {"model", "document", "board", "panes", "dialogs"},
    "app": {"model", "document", "board", "panes", "dialogs", "book"},
    "cli": {"model", "document", "board"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def main():
    src = sys.argv[1]
    owner = {}  # header name -> the folders that hold a header of that name
    sources = []
    for folder in os.listdir(src):
        path = os.path.join(src, folder)
        if not os.path.isdir(path):
            continue
        if folder not in LAYERS:
            print(f"check_layers: {folder}/ has no place in the layers")
            return 1
        for root, _, files in os.walk(path):
            for name in files:
                if name.endswith((".h", ".cpp")):
                    sources.append((folder, os.path.join(root, name)))
                if name.endswith(".h"):
                    owner.setdefault(name, set()).add(folder)
    faults = []
    for folder, path in sorted(sources):
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                header = os.path.basename(m.group(1))
                holders = owner.get(header, set())
                if not holders or folder in holders:
                    continue  # a header of its own folder, or not ours
                for other in sorted(holders - ALLOWED[folder]):
                    rel = os.path.relpath(path, src)
                    faults.append(f"{rel}:{number}: {folder}/ includes {other}/{header}")
    for fault in faults:
        print(fault)
    if faults:
        print(f"check_layers: {len(faults)} include(s) reach a folder above their own")
        return 1
    print(f"check_layers: {len(sources)} files, every include within its layer or below")
    return 0


if __name__ == "__main__":
    sys.exit(main())
