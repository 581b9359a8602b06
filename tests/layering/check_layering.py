#!/usr/bin/env python3
"""Checks that the folders of a source tree include each other one way only.

usage: check_layering.py ROOT FOLDER [FOLDER ...]

ROOT is a folder of the repository (for example kivhost); the FOLDERs are
its subfolders from the lowest to the highest. Every `#include "..."` of a
file under ROOT/FOLDER may name a header of the same folder or of a folder
before it in the list, or anything outside ROOT (platform/ and other trees
count as below everything). An include of a later folder, or of a folder of
ROOT that is not in the list, is reported with its file and line, and the
check fails. Include paths are read as the code writes them, from the
repository root (the folder that holds ROOT): "kivhost/model/desklet.h";
an include that names no such path but a file beside the including one
("desklet.h", "../loop/host.h") is read from there.

Files directly in ROOT, or in a subfolder that is not listed, fail the check
too, so that a new folder cannot slip past without a place in the order.
"""

import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".c", ".inc")


def Target(include, prefix, root, including_folder):
    """The included file's path inside ROOT, or None when it lies outside."""
    if include.startswith(prefix):
        return include[len(prefix):]
    beside = os.path.normpath(os.path.join(including_folder, include))
    if os.path.isfile(beside):
        inside = os.path.relpath(beside, root).replace(os.sep, "/")
        if not inside.startswith("../"):
            return inside
    return None


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    root = os.path.normpath(argv[1])
    order = argv[2:]
    if not os.path.isdir(root):
        print(f"layering: {root} is not a folder", file=sys.stderr)
        return 2
    for folder in order:
        if not os.path.isdir(os.path.join(root, folder)):
            print(f"layering: {root}/{folder} is listed but does not exist", file=sys.stderr)
            return 2
    if len(set(order)) != len(order):
        print("layering: a folder is listed twice", file=sys.stderr)
        return 2
    rank = {folder: i for i, folder in enumerate(order)}
    # Includes are written from the repository root: "<root name>/<folder>/...".
    prefix = os.path.basename(os.path.abspath(root)) + "/"

    problems = []
    checked = 0
    for dirpath, dirnames, filenames in os.walk(root):
        dirnames.sort()
        for name in sorted(filenames):
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.join(dirpath, name)
            relative = os.path.relpath(path, root).replace(os.sep, "/")
            own = relative.split("/")[0] if "/" in relative else None
            if own not in rank:
                problems.append(f"{path}: the folder of this file has no place in the order {' < '.join(order)}")
                continue
            checked += 1
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    target = Target(m.group(1), prefix, root, dirpath)
                    if target is None:
                        continue
                    folder = target.split("/")[0] if "/" in target else None
                    if folder not in rank:
                        problems.append(f"{path}:{number}: includes {m.group(1)}, from no folder in the order")
                    elif rank[folder] > rank[own]:
                        problems.append(f"{path}:{number}: {own}/ includes {m.group(1)} from {folder}/, "
                                        f"which is above it ({' < '.join(order)})")
    for p in problems:
        print(p)
    if checked == 0:
        print(f"layering: no source files under {root}", file=sys.stderr)
        return 1
    if problems:
        print(f"layering: {len(problems)} include(s) against the order", file=sys.stderr)
        return 1
    print(f"layering: {checked} files of {root} include one way ({' < '.join(order)})")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
