#!/usr/bin/env python3
# Writes the small legacy level files (versions 0 to 3) that the tool tests and the fuzz
# corpus use. Run from this folder: python3 make_legacy_levels.py
import struct

MAGIC = 0xB30A313C
NONE = 0xFFFF

# 7 x 5: walls round the edge, a worm, corn, a ghost, a cactus, an arrow and water.
ROWS = [
    "#######",
    "#Wb.c.#",
    "#.~>g.#",
    "#c.k.1#",
    "#######",
]


def cell(ch, version):
    # Versions 0 to 2 store grounds from 32 up before the shift by 96; version 3 after it.
    plain = 32 if version <= 2 else 128
    g, o, t, c, g2, o2, t2, s = plain, NONE, NONE, NONE, plain, NONE, NONE, 0
    if ch == "#":
        g = g2 = 0
    elif ch == "~":
        g = plain + 1
    elif ch == "W":
        c = 0x800E
    elif ch == "b":
        c = 0x8002
    elif ch == "g":
        c = 0x8000
    elif ch == "c":
        t = 0x8004
    elif ch == "k":
        o = 0x8006
    elif ch == ">":
        o = 0x8013
    elif ch == "1":
        # A switch of number 0 whose switch layer shows corn on ice.
        o, o2, t2, s = 0x8020, 0x8021, 0x8004, 1
        g2 = plain + 2
    return g, o, t, c, g2, o2, t2, s


def level(version, description):
    out = struct.pack("<IIii", MAGIC, version, len(ROWS[0]), len(ROWS))
    for row in ROWS:
        for ch in row:
            g, o, t, c, g2, o2, t2, s = cell(ch, version)
            if version >= 2:
                out += struct.pack("<HHHHHHHB", g, o, t, c, g2, o2, t2, s)
            else:
                out += struct.pack("<HHHH", g, o, t, c) + b"\0" * 5
    if version >= 1:
        text = description.encode("cp1252")
        out += struct.pack("<I", len(text)) + text
    return out


for v in range(4):
    with open(f"legacy_v{v}.kxlev", "wb") as f:
        f.write(level(v, f"Alte Ebene, Version {v}.\nFrüher war alles grün."))
