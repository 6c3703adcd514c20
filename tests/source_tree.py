"""What the source checks of tests/ share: walking the game's C++ sources and
reporting what a check found, for CTest."""

import os
import sys


def sources(root, tops):
    """The .cpp and .h files below the given top folders, relative to root."""
    for top in sorted(tops):
        for folder, _, names in os.walk(os.path.join(root, top)):
            for name in sorted(names):
                if name.endswith((".cpp", ".h")):
                    yield os.path.relpath(os.path.join(folder, name), root)


def report(faults, what):
    """Runs faults(root) on the tree named on the command line (else the one
    holding tests/), prints each fault and a count of what was found, and
    returns the exit status: 1 when anything was."""
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(
        os.path.abspath(__file__)))
    found = faults(root)
    for fault in found:
        print(fault)
    print(f"{len(found)} {what}")
    return 1 if found else 0
