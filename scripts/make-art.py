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

# The tree, the list and the destination combo hold their images in 16-colour
# image lists (ILC_COLOR4), and the toolbar bitmap is a 16-colour DIB: those
# pictures use only the 16 standard colours, so nothing is dithered or
# shifted when the image lists convert them.
VGA = {
    "k": (0, 0, 0), "m": (128, 0, 0), "g": (0, 128, 0), "o": (128, 128, 0),
    "n": (0, 0, 128), "p": (128, 0, 128), "t": (0, 128, 128),
    "s": (192, 192, 192), "d": (128, 128, 128), "r": (255, 0, 0),
    "l": (0, 255, 0), "y": (255, 255, 0), "b": (0, 0, 255),
    "f": (255, 0, 255), "a": (0, 255, 255), "w": (255, 255, 255),
}
# Palette order of the 4-bit bitmap (the system's default 16 colours).
VGA_ORDER = "kmgonptsdrlybfaw"

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

NOTE_CLOSED = """
................
...nnnnnnnnnnn..
.kknbbbbbbbbbns.
...nbbbbbbbbbns.
.kknbbwwwwwbbns.
...nbbwkkkwbbns.
.kknbbwwwwwbbns.
...nbbbbbbbbbns.
.kknbbbbbbbbbns.
...nbbbbbbbbbns.
.kknbbbbbbbbbns.
...nbbbbbbbbbns.
.kknbbbbbbbbbns.
...nbbbbbbbbbns.
...nnnnnnnnnnns.
....ssssssssss..
"""

NOTE_OPEN = """
................
................
.nnnnnnnnnnnnnn.
.nwwwwwkkwwwwwn.
.nwddddwwddddwn.
.nwwwwwkkwwwwwn.
.nwddddwwddddwn.
.nwwwwwkkwwwwwn.
.nwddddwwddddwn.
.nwwwwwkkwwwwwn.
.nwdddwwwwdddwn.
.nwwwwwkkwwwwwn.
nnnnnnnnnnnnnnnn
nbbbbbbbbbbbbbbn
nnnnnnnnnnnnnnnn
................
"""

FOLDER_CLOSED = """
................
................
.ooooo..........
oyyyyyo.........
owwwwwwooooooo..
owyyyyyyyyyyyok.
owyyyyyyyyyyyok.
owyyyyyyyyyyyok.
owyyyyyyyyyyyok.
owyyyyyyyyyyyok.
owyyyyyyyyyyyok.
owyyyyyyyyyyyok.
ooooooooooooook.
.kkkkkkkkkkkkkk.
................
................
"""

FOLDER_OPEN = """
................
................
.ooooo..........
oyyyyyo.........
oyywwwwwwwo.....
oyywdddddwooo...
oyywwwwwwwwwo...
oyyyoooooooooooo
oyyowwwwwwwwwwwo
oyyoyyyyyyyyyyo.
oyoyyyyyyyyyyyo.
oyoyyyyyyyyyyo..
ooyyyyyyyyyyyo..
oooooooooooooo..
................
................
"""

# Drag cursor, 32 x 32: an arrow whose tip is the hot spot (16, 8), carrying
# a page that covers the arrow's tail.
CURSOR_PAGE = """
kkkkkkkkk...
kwwwwwwwkk..
kwwwwwwwkwk.
kwddddwwkkkk
kwwwwwwwwwwk
kwddddddddwk
kwwwwwwwwwwk
kwddddddddwk
kwwwwwwwwwwk
kwddddddwwwk
kwwwwwwwwwwk
kkkkkkkkkkkk
"""
CURSOR_PAGE_AT = (19, 18)

CURSOR_ARROW = """
k...........
kk..........
kwk.........
kwwk........
kwwwk.......
kwwwwk......
kwwwwwk.....
kwwwwwwk....
kwwwwwwwk...
kwwwwwwwwk..
kwwwwwwwwwk.
kwwwwwkkkkkk
kwwkwwk.....
kwk.kwwk....
kk..kwwk....
k....kwwk...
.....kwwk...
......kwwk..
......kwwk..
.......kk...
"""
CURSOR_HOTSPOT = (16, 8)

# Toolbar strip: two 16 x 15 images side by side on silver, the colour that
# a toolbar turns into the button face when the strip is added by resource
# id (or loaded with LR_LOADMAP3DCOLORS). Image 1 is an entry (a page of links),
# image 2 the new-entry button (the same page under a new-item sparkle).
TOOLBAR_PAGE = """
kkkkkkk...
kwwwwwkk..
kwwwwwkwk.
kwwwwwkkkk
kwbbbbwwwk
kwwwwwwwwk
kwbbbbbbwk
kwwwwwwwwk
kwbbbbbwwk
kwwwwwwwwk
kwbbbbbbwk
kwwwwwwwwk
kwwwwwwwwk
kkkkkkkkkk
"""

TOOLBAR_SPARKLE = """
...k...
..kyk..
.kyyyk.
kyyyyyk
.kyyyk.
..kyk..
...k...
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


def paint(canvas, rows, at):
    """Copies the opaque pixels of a map onto a canvas (a list of lists)."""
    x0, y0 = at
    for y, r in enumerate(rows):
        for x, ch in enumerate(r):
            if ch != ".":
                canvas[y0 + y][x0 + x] = ch


def ico_image(rows, palette):
    """One 32-bit image of an icon or cursor: header, colour pixels (with
    alpha), then the AND mask, all bottom-up."""
    h, w = len(rows), len(rows[0])
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b""
    for r in reversed(rows):
        for ch in r:
            if ch == ".":
                pixels += b"\0\0\0\0"
            else:
                red, green, blue = palette[ch]
                pixels += bytes((blue, green, red, 255))
    mask_row = ((w + 31) // 32) * 4
    mask = b""
    for r in reversed(rows):
        row = bytearray(mask_row)
        for x, ch in enumerate(r):
            if ch == ".":
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    return header + pixels + mask


def write_group(name, images, palette, hotspot=None):
    """Writes an .ico, or a .cur when a hot spot (x, y) in pixels of the
    largest image is given. In a .cur the directory's planes and bit-count
    fields hold the hot spot instead; it is scaled for smaller images."""
    big_w = max(len(rows[0]) for rows in images)
    big_h = max(len(rows) for rows in images)
    data = struct.pack("<HHH", 0, 2 if hotspot else 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for rows in images:
        blob = ico_image(rows, palette)
        w, h = len(rows[0]), len(rows)
        if hotspot:
            fields = (hotspot[0] * w // big_w, hotspot[1] * h // big_h)
        else:
            fields = (1, 32)
        data += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, *fields, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data + b"".join(blobs))


def write_icon(name, art, palette=PALETTE):
    base = parse(art)
    write_group(name, [base, scale(base, 2)], palette)


def write_cursor(name):
    canvas = [["."] * 32 for _ in range(32)]
    paint(canvas, parse(CURSOR_ARROW), CURSOR_HOTSPOT)
    paint(canvas, parse(CURSOR_PAGE), CURSOR_PAGE_AT)
    write_group(name, [["".join(r) for r in canvas]], VGA, CURSOR_HOTSPOT)


def toolbar_image(*layers):
    """A 16 x 15 toolbar image: maps painted in turn at their places."""
    canvas = [["s"] * 16 for _ in range(15)]
    for art, at in layers:
        paint(canvas, parse(art), at)
    return ["".join(r) for r in canvas]


def write_bmp16(name, images):
    """A bottom-up 4-bit BMP with the 16 standard colours, images side by
    side."""
    rows = ["".join(parts) for parts in zip(*images)]
    h, w = len(rows), len(rows[0])
    stride = ((w * 4 + 31) // 32) * 4
    palette = b"".join(bytes((VGA[c][2], VGA[c][1], VGA[c][0], 0)) for c in VGA_ORDER)
    bits = b""
    for r in reversed(rows):
        line = bytearray(stride)
        for x, ch in enumerate(r):
            line[x // 2] |= VGA_ORDER.index(ch) << (0 if x % 2 else 4)
        bits += bytes(line)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(bits), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(head + info + palette + bits)


def main():
    write_icon("linkcairn.ico", CAIRN)
    write_icon("note_closed.ico", NOTE_CLOSED, VGA)
    write_icon("folder_open.ico", FOLDER_OPEN, VGA)
    write_icon("folder_closed.ico", FOLDER_CLOSED, VGA)
    write_icon("note_open.ico", NOTE_OPEN, VGA)
    write_cursor("drag.cur")
    write_bmp16("toolbar.bmp", [
        toolbar_image((TOOLBAR_PAGE, (3, 1))),
        toolbar_image((TOOLBAR_PAGE, (5, 1)), (TOOLBAR_SPARKLE, (0, 1))),
    ])


if __name__ == "__main__":
    main()
