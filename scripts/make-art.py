#!/usr/bin/env python3
"""Draws the program's icons, cursor and toolbar bitmap from the pixel maps
below and writes them into resources/. Run it after changing a map; the
generated files are committed so that a build needs no Python."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources")

# One character a pixel; '.' is transparent.
PALETTE = {
    "k": (40, 40, 48), "w": (255, 255, 255), "g": (150, 150, 160),
    "G": (105, 105, 115), "l": (200, 200, 208), "b": (40, 100, 200),
    "B": (20, 60, 140), "c": (120, 180, 240), "y": (240, 200, 60),
    "Y": (190, 140, 20), "r": (200, 50, 40), "R": (140, 30, 25),
    "n": (150, 100, 50), "N": (100, 65, 30), "e": (60, 160, 80),
    "E": (30, 110, 50), "p": (250, 245, 225),
}

CAIRN = """
................
.......kk.......
......kllk......
......kggk......
.....kkkkkk.....
....kllllggk....
....kggggGGk....
...kkkkkkkkkk...
..klllgggggGGk..
..kgggggGGGGGk..
..kkkkkkkkkkkk..
.klllllggggggGk.
.kgggggggGGGGGk.
.kGGGGGGGGGGGGk.
..kkkkkkkkkkkk..
................
"""

def parse(art):
    rows = [r for r in art.strip("\n").split("\n")]
    assert all(len(r) == len(rows[0]) for r in rows), "ragged map"
    return rows

def scale(rows, factor):
    out = []
    for r in rows:
        line = "".join(ch * factor for ch in r)
        out.extend([line] * factor)
    return out

def ico_image(rows):
    h, w = len(rows), len(rows[0])
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b""
    for r in reversed(rows):
        for ch in r:
            if ch == ".":
                pixels += b"\0\0\0\0"
            else:
                red, green, blue = PALETTE[ch]
                pixels += bytes((blue, green, red, 255))
    mask_row = ((w + 31) // 32) * 4
    mask = b""
    for r in reversed(rows):
        bits = 0
        row = bytearray(mask_row)
        for x, ch in enumerate(r):
            if ch == ".":
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    return header + pixels + mask

def write_icon(name, art, cursor_hotspot=None):
    base = parse(art)
    images = [base, scale(base, 2)]
    kind = 2 if cursor_hotspot else 1
    data = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for i, rows in enumerate(images):
        blob = ico_image(rows)
        w, h = len(rows[0]), len(rows)
        if cursor_hotspot:
            # Hot spot given for the 32-pixel image; halve it for the small one.
            f = 2 if w == 16 else 1
            p1, p2 = cursor_hotspot[0] // f, cursor_hotspot[1] // f
        else:
            p1, p2 = 1, 32
        data += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, p1, p2, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data + b"".join(blobs))

def main():
    write_icon("linkcairn.ico", CAIRN)

if __name__ == "__main__":
    main()
