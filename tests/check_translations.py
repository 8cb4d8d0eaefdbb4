#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks a Qt translation file (.ts) for what a person would miss.

usage: check_translations.py TS_FILE
Lists every text without a finished translation, every entry the sources no
longer have (vanished or obsolete), and every translation that loses what its
source needs: a %1-style argument, a keyboard mnemonic (&), the shortcut hint
after a tab (which must stay as it is), or a line break count in a multi-line
text. Exit 0 when there is nothing to list, 1 otherwise.
"""

import re
import sys
import xml.etree.ElementTree as ET

ARGUMENT = re.compile(r"%L?\d+")


def mnemonic_count(text):
    return len(re.findall(r"&(?!&)[^&]", text.replace("&&", "")))


def problems_of(source, translation):
    found = []
    if sorted(ARGUMENT.findall(source)) != sorted(ARGUMENT.findall(translation)):
        found.append("arguments differ")
    if mnemonic_count(source) and not mnemonic_count(translation):
        found.append("no mnemonic (&)")
    if "\t" in source:
        if "\t" not in translation or source.split("\t", 1)[1] != translation.split("\t", 1)[1]:
            found.append("shortcut hint after the tab changed")
    if source.count("\n") != translation.count("\n"):
        found.append("line count differs")
    return found


def main():
    tree = ET.parse(sys.argv[1])
    missing, gone, broken = [], [], []
    for context in tree.getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            element = message.find("translation")
            kind = element.get("type", "") if element is not None else "unfinished"
            label = f"{name}: {source!r}"
            if kind in ("vanished", "obsolete"):
                gone.append(label)
                continue
            forms = [f.text or "" for f in element.iter("numerusform")] if element is not None else []
            translation = element.text or "" if element is not None else ""
            if kind == "unfinished" or not (translation or any(forms)):
                missing.append(label)
                continue
            for text in forms or [translation]:
                for problem in problems_of(source, text):
                    broken.append(f"{label}: {problem}: {text!r}")
    for title, items in (("not translated", missing), ("no longer in the sources", gone),
                         ("translated wrongly", broken)):
        if items:
            print(f"{len(items)} {title}:")
            for item in items:
                print(f"  {item}")
    if missing or gone or broken:
        return 1
    print("every text is translated")
    return 0


if __name__ == "__main__":
    sys.exit(main())
