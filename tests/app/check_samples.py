#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The sample riddles read at a glance, as drawn and as solved.

usage: check_samples.py VORLO_CLI SAMPLES_DIR

Each sample is loaded through `vorlo-cli info --json`; its solution is the
table of SOLUTIONS.md (match, from, to). Checked, for the picture before and
after the solution:
- every end of a match either touches another match (its end or its side, as
  real matches laid by hand do) or lies well clear of all others: a near miss
  or an end that overshoots a corner is a fault;
- the "from" column is the file's record and the solution moves only the
  matches it lists.
"""

import json
import math
import os
import re
import subprocess
import sys

LENGTH = 76.0  # stick 65 plus the head's 11 beyond it: end to end
TOUCH = 4.0  # an end within this distance of a match's axis touches it (width 6)
CLEAR = 30.0  # an end this far from every other match is a free end


def ends(match):
    x, y, angle = match
    a = math.radians(angle)
    return (x, y), (x + LENGTH * math.cos(a), y - LENGTH * math.sin(a))


def distance_to_axis(point, match):
    (ax, ay), (bx, by) = ends(match)
    px, py = point
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def loose_ends(matches):
    faults = []
    for i, match in enumerate(matches):
        for which, end in zip(("tail", "head"), ends(match)):
            nearest = min(distance_to_axis(end, other)
                          for j, other in enumerate(matches) if j != i)
            if TOUCH < nearest < CLEAR:
                faults.append("match %d's %s end (%.0f,%.0f) misses its neighbour by %.1f px"
                              % (i + 1, which, end[0], end[1], nearest))
    return faults


def solutions(path):
    """{file name: [(match number, from, to)]} from the tables of SOLUTIONS.md."""
    found = {}
    name = None
    triple = r"(-?\d+),(-?\d+),(-?\d+)"
    row = re.compile(r"^\|\s*(\d+)[^|]*\|\s*" + triple + r"\s*\|\s*" + triple + r"\s*\|")
    with open(path, encoding="utf-8") as f:
        for line in f:
            heading = re.match(r"^## (\S+\.vrl)", line)
            if heading:
                name = heading.group(1)
                found[name] = []
            m = row.match(line)
            if m and name:
                v = [int(g) for g in m.groups()]
                found[name].append((v[0], v[1:4], v[4:7]))
    return found


def main():
    cli, folder = sys.argv[1], sys.argv[2]
    tables = solutions(os.path.join(folder, "SOLUTIONS.md"))
    # The riddles, not the solution files that lie beside them.
    names = sorted(
        n
        for n in os.listdir(folder)
        if n.endswith(".vrl") and not re.search(r"\.solution(-\d+)?\.vrl$", n)
    )
    faults = []
    if sorted(tables) != names:
        faults.append("SOLUTIONS.md covers %s, the folder holds %s" % (sorted(tables), names))
    for name in names:
        out = subprocess.run([cli, "info", "--json", os.path.join(folder, name)],
                             check=True, capture_output=True, text=True).stdout
        matches = [tuple(m) for m in json.loads(out)["matches"]]
        faults += ["%s: %s" % (name, f) for f in loose_ends(matches)]
        solved = list(matches)
        for number, before, after in tables.get(name, []):
            if not 1 <= number <= len(matches) or list(matches[number - 1]) != before:
                faults.append("%s: match %d is not %s" % (name, number, before))
                continue
            solved[number - 1] = tuple(after)
        if not tables.get(name):
            faults.append("%s: no solution" % name)
        faults += ["%s solved: %s" % (name, f) for f in loose_ends(solved)]
    for fault in faults:
        print("FAIL:", fault)
    if not faults:
        print("samples: every end meets its neighbour, before and after the solution")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
