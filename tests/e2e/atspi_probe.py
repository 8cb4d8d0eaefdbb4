#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Looks at Vorlo's window as a screen reader does, through the AT-SPI bus.

    atspi_probe.py MATCHES SECONDS

Waits up to SECONDS for the application "vorlo" on the bus, then checks that
the board, the task text and the information pane are there by name, and
that the board has MATCHES children named "Match N of MATCHES" with a
description. Prints what it found; exits 0 when all holds, 1 when not, 77
when pyatspi cannot be loaded.
"""
import sys
import time

try:
    import pyatspi
except ImportError as error:
    print(f"SKIP: pyatspi cannot be loaded: {error}", file=sys.stderr)
    sys.exit(77)


def find_app(deadline):
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name in ("vorlo", "Vorlo"):
                return app
        time.sleep(0.1)
    return None


def named(root, name):
    return pyatspi.findDescendant(root, lambda node: node is not None and node.name == name)


def main():
    matches = int(sys.argv[1])
    deadline = time.monotonic() + float(sys.argv[2])
    app = find_app(deadline)
    if app is None:
        print("FAIL: no application named vorlo on the accessibility bus", file=sys.stderr)
        return 1
    found = {}
    while time.monotonic() < deadline:
        found = {name: named(app, name) for name in ("Board", "Task", "Information")}
        if all(found.values()):
            break
        time.sleep(0.1)
    missing = [name for name, node in found.items() if node is None]
    if missing:
        print(f"FAIL: not found by name: {', '.join(missing)}", file=sys.stderr)
        return 1
    board = found["Board"]
    print(f"board: role {board.getRoleName()}, {board.childCount} children, "
          f"description {board.description!r}")
    if board.childCount != matches:
        print(f"FAIL: the board has {board.childCount} children, not {matches}", file=sys.stderr)
        return 1
    for i in range(board.childCount):
        child = board.getChildAtIndex(i)
        want = f"Match {i + 1} of {matches}"
        if child is None or child.name != want or not child.description:
            got = None if child is None else (child.name, child.description)
            print(f"FAIL: child {i} is {got!r}, not {want!r} with a description", file=sys.stderr)
            return 1
        print(f"  {child.name}: {child.getRoleName()}, {child.description}")
    for name in ("Task", "Information"):
        print(f"{name}: role {found[name].getRoleName()}")
    return 0


sys.exit(main())
