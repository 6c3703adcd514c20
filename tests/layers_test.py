#!/usr/bin/env python3
"""Every include of the game's sources looks down: a folder includes only the
layers below it (ARCHITECTURE.md), and nothing outside a program's folder
includes from it. Prints each include that runs upwards and exits 1."""

import os
import re
import sys

from source_tree import report, sources

# Bottom first. A unit is a folder, or one file pair of a folder ("ui/controls").
LAYERS = [
    ["platform"],
    ["ui/controls"],
    ["core"],
    ["world", "battle", "events", "save", "sound", "ui"],
    ["scenario", "check", "desktop"],
    ["testing"],
    ["app/kiravel", "app/kiravel-run", "app/kiravel-check", "tools", "soak", "tests", "fuzz",
     "bench"],
]
# Units of one layer that may include each other: the game's subsystems are
# all procedures of the one window.
PEERS = {3}
# The build's own generated header.
GENERATED = ("kiravel/",)

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def unit_of(path):
    """The unit a source path belongs to, and its layer; None outside every layer."""
    stem = os.path.splitext(path)[0]
    best = None
    for layer, units in enumerate(LAYERS):
        for unit in units:
            if stem == unit or path.startswith(unit + "/"):
                if best is None or len(unit) > len(best[0]):
                    best = (unit, layer)
    return best


def faults(root):
    found = []
    for path in sources(root, {unit.split("/")[0] for units in LAYERS for unit in units}):
        source = unit_of(path)
        with open(os.path.join(root, path), encoding="utf-8") as text:
            includes = INCLUDE.findall(text.read())
        for include in includes:
            if include.startswith(GENERATED):
                continue
            target = unit_of(include)
            if target is None or target[0] == source[0]:
                continue
            below = target[1] < source[1]
            peer = target[1] == source[1] and source[1] in PEERS
            if not (below or peer):
                found.append(f"{path}: includes {include}, which is not below it")
    return sorted(found)


if __name__ == "__main__":
    sys.exit(report(faults, "includes run upwards"))
