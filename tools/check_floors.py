#!/usr/bin/env python3
"""Checks the include graph of the program's rooms against its floors.

Every `#include "room/..."` line of a room's sources is an arrow from that
room to another. The floors, top to bottom:

    app -> testing -> screens -> game -> (state, media, settings) -> platform

An arrow may only run down: apart from the arrows listed in EXCEPTIONS, none
runs up and none runs sideways between rooms of one floor, so no two rooms are
tied both ways. `testing/` is for tests and the headless handset:
of the rooms, only the headless runner's main may include it.

Usage: tools/check_floors.py [SOURCE_DIR]; prints each fault and exits 1.
"""
import pathlib
import re
import sys

FLOORS = {
    "app": 5,
    "testing": 4,
    "screens": 3,
    "game": 2,
    "state": 1,
    "media": 1,
    "settings": 1,
    "platform": 0,
}

# (including file, included header): arrows allowed to run up.
EXCEPTIONS = {
    # The game frame draws the soft-key captions over its first frames; the
    # captions are the screen controller's, so the game calls up into it.
    ("game/frame.cpp", "screens/controller.h"),
}

# Rooms whose files other rooms may include only from these files.
ONLY_INCLUDED_BY = {
    "testing": {"app/main_sim.cpp"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def arrows(root):
    """Yields (file, header, from room, to room) for every include between rooms."""
    for room in FLOORS:
        for path in sorted((root / room).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            name = path.relative_to(root).as_posix()
            for header in INCLUDE.findall(path.read_text(encoding="utf-8")):
                target = header.split("/", 1)[0]
                if target in FLOORS and target != room:
                    yield name, header, room, target


def faults(root):
    found = []
    for name, header, room, target in arrows(root):
        allowed = ONLY_INCLUDED_BY.get(target)
        if allowed is not None and name not in allowed:
            found.append(f"{name} includes {header}: only {', '.join(sorted(allowed))} may")
            continue
        if (name, header) in EXCEPTIONS:
            continue
        if FLOORS[target] > FLOORS[room]:
            found.append(f"{name} includes {header}: {room} sits below {target}")
        elif FLOORS[target] == FLOORS[room]:
            found.append(f"{name} includes {header}: {room} and {target} share a floor")
    return found


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    if not (root / "app").is_dir():
        print(f"no rooms under {root}", file=sys.stderr)
        return 2
    found = faults(root)
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
