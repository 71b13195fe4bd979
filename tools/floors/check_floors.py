#!/usr/bin/env python3
"""Checks that every file under src/ keeps to the house's floors.

A file may include headers of its own folder and of folders on lower floors,
never of a folder on its own floor or above. Only the window folders include
QtWidgets. No source file grows past MAX_LINES lines.

Usage: check_floors.py [--src DIR] [--qt-widgets DIR]
       check_floors.py --self-test
Prints one line per violation (file:line: what) and exits 1 when there is any.
"""

import argparse
import glob
import os
import re
import sys
import tempfile

# The one table of floors, bottom up. The font engine sits on the platform
# basics within the bottom floor, so it counts half a floor above them.
FLOORS = {
    "platform": 0,
    "platform/fonts": 0.5,
    "formats": 1,
    "frame": 1,
    "graphics": 2,
    "drawing": 3,
    "paper": 4,
    "document": 5,
    "objects": 6,
    "print": 7,
    "music": 7,
    "library": 7,
    "update": 7,
    "app": 8,
    "dialogs": 8,
    "wizard": 8,
}

# Velmont stands beside the program: it compiles the macro expander of the
# frame and a few platform helpers into itself, and may include nothing else.
ONLY = {"catalog_merge": {"platform", "frame"}}

WINDOW_FOLDERS = {"app", "dialogs", "wizard"}
MAX_LINES = 1500
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".c", ".cc")

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')


def folder_of(relative_path):
    """The table folder a path below src/ belongs to (longest match), or None."""
    parts = relative_path.replace(os.sep, "/").split("/")
    for length in range(len(parts) - 1, 0, -1):
        candidate = "/".join(parts[:length])
        if candidate in FLOORS or candidate in ONLY:
            return candidate
    return None


def widget_headers(qt_widgets_dir):
    names = {"QtWidgets"}
    for directory in ([qt_widgets_dir] if qt_widgets_dir else
                      glob.glob("/usr/include/*/qt6/QtWidgets") + glob.glob("/usr/include/qt6/QtWidgets")):
        if directory and os.path.isdir(directory):
            names.update(name for name in os.listdir(directory) if name.startswith("Q") and "." not in name)
    return names


def check_include(own, target):
    """The reason an include of folder target from folder own breaks the floors, or None."""
    if target is None or target == own:
        return None
    if own in ONLY:
        return None if target in ONLY[own] else f"{own}/ may include only {', '.join(sorted(ONLY[own]))}"
    if target in ONLY:
        return f"{target}/ is not a library of the program"
    if own not in FLOORS:
        return None
    mine, theirs = FLOORS[own], FLOORS[target]
    if theirs > mine:
        return f"upward include: {own}/ (floor {mine:g}) uses {target}/ (floor {theirs:g})"
    if theirs == mine:
        return f"sideways include: {own}/ and {target}/ are both on floor {mine:g}"
    return None


def check_tree(src, widgets):
    problems = []
    for directory, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.join(directory, name)
            relative = os.path.relpath(path, src)
            own = folder_of(relative)
            if own is None:
                problems.append(f"{relative}: not in any folder of the floor table")
                continue
            with open(path, encoding="utf-8", errors="replace") as source:
                lines = source.readlines()
            if len(lines) > MAX_LINES:
                problems.append(f"{relative}: {len(lines)} lines, more than {MAX_LINES}")
            for number, line in enumerate(lines, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                bracket, header = match.groups()
                if bracket == "<":
                    first = header.split("/")[0]
                    if (first in widgets or header in widgets) and own not in WINDOW_FOLDERS:
                        problems.append(f"{relative}:{number}: includes <{header}>: only "
                                        f"{', '.join(sorted(WINDOW_FOLDERS))} use QtWidgets")
                    continue
                target = folder_of(header) if "/" in header else own
                reason = check_include(own, target)
                if reason:
                    problems.append(f'{relative}:{number}: includes "{header}": {reason}')
    return problems


def self_test():
    """Plants one fault of each kind in a small tree and checks each is caught."""
    cases = [
        ("graphics/ok.cpp", '#include "platform/utf8.h"\n#include "formats/byte_reader.h"\n#include <QImage>\n', False),
        ("platform/fonts/ok.cpp", '#include "platform/utf8.h"\n', False),
        ("graphics/up.cpp", '#include "document/label_data.h"\n', True),
        ("formats/side.cpp", '#include "frame/app_frame.h"\n', True),
        ("platform/down.cpp", '#include "platform/fonts/font_engine.h"\n', True),
        ("document/widget.cpp", "#include <QWidget>\n", True),
        ("app/widget.cpp", '#include <QWidget>\n#include "document/label_data.h"\n', False),
        ("catalog_merge/ok.cpp", '#include "frame/macro_string.h"\n', False),
        ("catalog_merge/bad.cpp", '#include "graphics/bitmap.h"\n', True),
        ("paper/long.cpp", "//\n" * (MAX_LINES + 1), True),
    ]
    failures = 0
    for relative, text, should_fail in cases:
        with tempfile.TemporaryDirectory() as src:
            path = os.path.join(src, relative)
            os.makedirs(os.path.dirname(path))
            with open(path, "w", encoding="utf-8") as planted:
                planted.write(text)
            problems = check_tree(src, {"QtWidgets", "QWidget"})
            if bool(problems) != should_fail:
                failures += 1
                print(f"self-test: {relative}: expected {'a violation' if should_fail else 'none'}, got {problems}")
    print(f"self-test: {len(cases) - failures} passed, {failures} failed")
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--src", default=os.path.join(os.path.dirname(__file__), "..", "..", "src"))
    parser.add_argument("--qt-widgets", help="the QtWidgets include folder (found under /usr/include by default)")
    parser.add_argument("--self-test", action="store_true")
    args = parser.parse_args()
    if args.self_test:
        return self_test()
    problems = check_tree(os.path.normpath(args.src), widget_headers(args.qt_widgets))
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} violations of the floors")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
