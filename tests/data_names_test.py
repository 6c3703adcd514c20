#!/usr/bin/env python3
"""Only the data folder's contract spells the data folder's names: its
folders, the data ending, the music file, the bonus page's ending and the
name mark. Every other source asks platform/data_folder.h. Prints each
spelling found elsewhere and exits 1."""

import os
import re
import sys

from source_tree import report, sources

# The contract itself.
CONTRACT = {"platform/data_folder.h", "platform/data_folder.cpp"}
# Sources that may spell a name anyway. Keep it empty: a name spelt twice is
# a name that can drift.
EXCEPTIONS = set()
# The folders holding the game's sources, its tests, tools and benchmarks.
FOLDERS = ["app", "battle", "bench", "check", "core", "desktop", "events", "fuzz", "platform",
           "save", "scenario", "soak", "sound", "testing", "tests", "tools", "ui", "world"]

SPELLINGS = re.compile(r'\bimg/|\btxt/|"img"|"txt"|\.dat\b|bgm\.wav|＿おまけ|"-m"')


def faults(root):
    found = []
    for path in sources(root, FOLDERS):
        if path in CONTRACT or path in EXCEPTIONS:
            continue
        with open(os.path.join(root, path), encoding="utf-8") as text:
            for number, line in enumerate(text, 1):
                for spelt in SPELLINGS.findall(line):
                    found.append(f"{path}:{number}: spells {spelt}")
    return sorted(found)


if __name__ == "__main__":
    sys.exit(report(faults, "data-folder names spelt outside platform/data_folder.h"))
