#!/usr/bin/env python3
"""Writes ui/main/Brumweld.ico from the pixel maps below: a film frame whose picture is a
Flash-red square with a white 'f', i.e. video turned into Flash video.

Both images are 16-colour (4 bits per pixel, one plane) with the standard Windows
palette and an AND mask; run this script again after editing a map and commit
the .ico with it (the build uses the committed file).
"""
import os
import struct
import sys

# The standard 16-colour palette in index order, with the letter used in the maps.
PALETTE = [
    ("K", (0x00, 0x00, 0x00)),  # black
    ("r", (0x80, 0x00, 0x00)),  # dark red
    ("g", (0x00, 0x80, 0x00)),  # dark green
    ("y", (0x80, 0x80, 0x00)),  # olive
    ("n", (0x00, 0x00, 0x80)),  # navy
    ("p", (0x80, 0x00, 0x80)),  # purple
    ("t", (0x00, 0x80, 0x80)),  # teal
    ("s", (0xC0, 0xC0, 0xC0)),  # silver
    ("G", (0x80, 0x80, 0x80)),  # grey
    ("R", (0xFF, 0x00, 0x00)),  # red
    ("L", (0x00, 0xFF, 0x00)),  # lime
    ("Y", (0xFF, 0xFF, 0x00)),  # yellow
    ("B", (0x00, 0x00, 0xFF)),  # blue
    ("M", (0xFF, 0x00, 0xFF)),  # fuchsia
    ("C", (0x00, 0xFF, 0xFF)),  # aqua
    ("W", (0xFF, 0xFF, 0xFF)),  # white
]
TRANSPARENT = "."

ICON_32 = """
................................
................................
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
KKsssWKKKKsssWKKKKsssWKKKKsssWKK
KKsssWKKKKsssWKKKKsssWKKKKsssWKK
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
KKRRRRRRRRRRRRRRRRRRRRRRRRRRRRKK
KKRRRRRRRRRRRRRRRWWWWWRRRRRRRrKK
KKRRRRRRRRRRRRRRWWWWWWWrRRRRRrKK
KKRRRRRRRRRRRRRRWWWrrrrRRRRRRrKK
KKRRRRRRRRRRRRRRWWWrRRRRRRRRRrKK
KKRRRRRRRRRRRWWWWWWWWWRRRRRRRrKK
KKRRRRRRRRRRRWWWWWWWWWrRRRRRRrKK
KKRRRRRRRRRRRRrrWWWrrrrRRRRRRrKK
KKRRRRRRRRRRRRRRWWWrRRRRRRRRRrKK
KKRRRRRRRRRRRRRRWWWrRRRRRRRRRrKK
KKRRRRRRRRRRRRRRWWWrRRRRRRRRRrKK
KKRRRRRRRRRRRRRWWWrrRRRRRRRRRrKK
KKRRRRRRRRRRRRWWWWrRRRRRRRRRRrKK
KKRRRRRRRRRWWWWWWrRRRRRRRRRRRrKK
KKRRRRRRRRRWWWWrrRRRRRRRRRRRRrKK
KKRRRrrrrrrrrrrrrrrrrrrrrrrrrrKK
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
KKsssWKKKKsssWKKKKsssWKKKKsssWKK
KKsssWKKKKsssWKKKKsssWKKKKsssWKK
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
................................
................................
"""

ICON_16 = """
................
KKKKKKKKKKKKKKKK
KsKKsKKsKKsKKsKK
KKKKKKKKKKKKKKKK
KRRRRRRRRWWWRRRK
KRRRRRRRWWRRRRRK
KRRRRRRRWWRRRRRK
KRRRRRWWWWWWRRRK
KRRRRRRRWWRRRRRK
KRRRRRRRWWRRRRRK
KRRRRRRWWRRRRRRK
KRRRRWWWRRRRRRRK
KKKKKKKKKKKKKKKK
KsKKsKKsKKsKKsKK
KKKKKKKKKKKKKKKK
................
"""


def parse(pixel_map, size):
    rows = pixel_map.strip("\n").split("\n")
    letters = {letter for letter, _ in PALETTE} | {TRANSPARENT}
    if len(rows) != size or any(len(row) != size for row in rows):
        sys.exit(f"make_icon: the {size} by {size} map is not {size} by {size}")
    for row in rows:
        for pixel in row:
            if pixel not in letters:
                sys.exit(f"make_icon: unknown pixel {pixel!r}")
    return rows


def image(pixel_map, size):
    """One icon image: BITMAPINFOHEADER, palette, XOR bits, AND mask, rows bottom-up."""
    rows = parse(pixel_map, size)
    index = {letter: i for i, (letter, _) in enumerate(PALETTE)}
    xor_stride = (size * 4 + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    xor_bits = bytearray()
    and_bits = bytearray()
    for row in reversed(rows):
        line = bytearray(xor_stride)
        mask = bytearray(and_stride)
        for x, pixel in enumerate(row):
            if pixel == TRANSPARENT:
                mask[x // 8] |= 0x80 >> (x % 8)
            else:
                line[x // 2] |= index[pixel] << (4 if x % 2 == 0 else 0)
        xor_bits += line
        and_bits += mask
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)
    return header + palette + bytes(xor_bits) + bytes(and_bits)


def icon_file(images):
    """The .ico file: ICONDIR, one ICONDIRENTRY per image, then the images."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main():
    if sys.argv[1:] in (["-h"], ["--help"]):
        print(__doc__.strip() + "\n\nusage: make_icon.py    (no arguments: rewrites ui/main/Brumweld.ico)")
        return 0
    if sys.argv[1:]:
        print("usage: make_icon.py    (no arguments; --help says more)", file=sys.stderr)
        return 2
    images = [(32, image(ICON_32, 32)), (16, image(ICON_16, 16))]
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = os.path.join(root, "ui", "main", "Brumweld.ico")
    with open(target, "wb") as out:
        out.write(icon_file(images))
    return 0


if __name__ == "__main__":
    sys.exit(main())
