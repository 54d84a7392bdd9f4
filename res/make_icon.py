#!/usr/bin/env python3
"""Draws the Vindelor program icon and writes res/Vindelor.ico.

The icon is a monitor behind a printer that is pushing out a sheet with the
monitor's picture on it. Both images are 16-colour (4 bits per pixel) with an
AND mask, drawn from the pixel maps below; the 16x16 one is drawn on its own
so it stays crisp. The output is byte-for-byte deterministic.

    python3 res/make_icon.py                  # rewrite res/Vindelor.ico
    python3 res/make_icon.py --check          # fail if the committed .ico is stale
    python3 res/make_icon.py --png DIR [--scale N]   # also write PNG previews
"""

import argparse
import pathlib
import struct
import sys
import zlib

# The standard 16-colour VGA palette, in the order Windows uses (index: R, G, B).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

TRANSPARENT = "."

# Pixel-map character -> palette index.
LEGEND = {
    "K": 0,   # black
    "r": 1,   # dark red
    "g": 2,   # dark green
    "y": 3,   # olive
    "b": 4,   # navy
    "m": 5,   # purple
    "c": 6,   # teal
    "L": 7,   # light grey
    "D": 8,   # dark grey
    "R": 9,   # red
    "G": 10,  # green
    "Y": 11,  # yellow
    "B": 12,  # blue
    "M": 13,  # magenta
    "C": 14,  # cyan
    "W": 15,  # white
}

ICON_32 = """
.....KKKKKKKKKKKKKKKKKKKKKK.....
.....KWWWWWWWWWWWWWWWWWWWLK.....
.....KWLLLLLLLLLLLLLLLLLLDK.....
.....KWLKKKKKKKKKKKKKKKKLDK.....
.....KWLKccccccccccccccKLDK.....
.....KWLKcBBBBBBBBcccccKLDK.....
.....KWLKcWWWWWWWWcccccKLDK.....
.....KWLKcWDDDDDWWcccccKLDK.....
.....KWLKcWWWWWWWWcccccKLDK.....
.....KWLKcWDDDDWWWcccccKLDK.....
.....KWLKccccccccccccccKLDK.....
.....KWLKKKKKKKKKKKKKKKKLDK.....
.....KWLLLLLLLLLLLLLLLLLLDK.....
...KKKKKKKKKKKKKKKKKKKKKKKKKK...
..KWWWWWWWWWWWWWWWWWWWWWWWWWLK..
.KWLLLLLLLLLLLLLLLLLLLLLLLLLLDK.
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
KWLLLLLLLLLLLLLLLLLLLLLLLLLLLLDK
KWLLLLLLLLLLLLLLLLLLLLLLLGLDLLDK
KWLLLLLLLLLLLLLLLLLLLLLLLLLLLLDK
KWLLKKKKKKKKKKKKKKKKKKKKKKKKLLDK
KWLLLLKWWWWWWWWWWWWWWWWWWKLLLLDK
KWLLLLKWWccccccccccccccWWKLLLLDK
KDDDDDKWWcBBBBBBBBcccccWWKDDDDDK
.KKKKKKWWcWWWWWWWWcccccWWKKKKKK.
......KWWcWDDDDDWWcccccWWK......
......KWWcWWWWWWWWcccccWWK......
......KWWcWDDDDWWWcccccWWK......
......KWWccccccccccccccWWK......
......KWWWWWWWWWWWWWWWWWWK......
......KWWWWWWWWWWWWWWWWWWK......
......KKKKKKKKKKKKKKKKKKKK......
"""

ICON_16 = """
..KKKKKKKKKKKK..
..KWWWWWWWWWLK..
..KWKKKKKKKKDK..
..KWKBBBBccKDK..
..KWKWWWWccKDK..
..KWKccccccKDK..
..KWKKKKKKKKDK..
.KKKKKKKKKKKKKK.
KWWWWWWWWWWWWWWK
KLLLLLLLLLLLGLDK
KLKKKKKKKKKKKLDK
KDDKWWWWWWWWKDDK
.KKKWBBBBccWKKK.
...KWWWWWccWK...
...KWccccccWK...
...KKKKKKKKKK...
"""


def ParsePixelMap(art, size):
    """Turns a pixel map into rows of palette indexes, None where transparent."""
    lines = art.strip("\n").split("\n")
    if len(lines) != size or any(len(line) != size for line in lines):
        sys.exit(f"the {size}x{size} pixel map is not {size} lines of {size} characters")
    rows = []
    for line in lines:
        rows.append([None if ch == TRANSPARENT else LEGEND[ch] for ch in line])
    return rows


def PackRow(bits, bitsPerValue):
    """Packs small integers most-significant-first and pads the row to 4 bytes."""
    out = bytearray()
    acc, filled = 0, 0
    for value in bits:
        acc = (acc << bitsPerValue) | value
        filled += bitsPerValue
        if filled == 8:
            out.append(acc)
            acc, filled = 0, 0
    if filled:
        out.append(acc << (8 - filled))
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def IconImage(rows):
    """One image of the .ico: BITMAPINFOHEADER, colour table, XOR rows, AND rows."""
    size = len(rows)
    xorRows = b"".join(PackRow([0 if p is None else p for p in row], 4) for row in reversed(rows))
    andRows = b"".join(PackRow([1 if p is None else 0 for p in row], 1) for row in reversed(rows))
    header = struct.pack("<IiiHHIIiiII",
                         40,            # biSize
                         size,          # biWidth
                         size * 2,      # biHeight: XOR image and AND mask stacked
                         1,             # biPlanes
                         4,             # biBitCount
                         0,             # biCompression: BI_RGB
                         len(xorRows) + len(andRows),
                         0, 0,          # pixels per metre
                         len(PALETTE),  # biClrUsed
                         0)             # biClrImportant
    colourTable = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + colourTable + xorRows + andRows


def IcoFile(images):
    """ICONDIR, one ICONDIRENTRY per image, then the images themselves."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, bodies = b"", b""
    for rows in images:
        body = IconImage(rows)
        size = len(rows)
        entries += struct.pack("<BBBBHHII", size, size, len(PALETTE), 0, 1, 4, len(body), offset)
        bodies += body
        offset += len(body)
    return directory + entries + bodies


def PngFile(rows, scale):
    """A minimal RGBA PNG of one image, each pixel drawn as a scale x scale block."""
    def Chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = bytearray()
    for row in rows:
        line = bytearray()
        for p in row:
            line += (bytes((0, 0, 0, 0)) if p is None else bytes(PALETTE[p]) + b"\xff") * scale
        raw += (b"\x00" + line) * scale
    size = len(rows) * scale
    return (b"\x89PNG\r\n\x1a\n"
            + Chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + Chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + Chunk(b"IEND", b""))


def Main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=pathlib.Path,
                        default=pathlib.Path(__file__).resolve().with_name("Vindelor.ico"))
    parser.add_argument("--check", action="store_true",
                        help="compare with the existing file instead of writing it")
    parser.add_argument("--png", type=pathlib.Path, metavar="DIR",
                        help="also write Vindelor-32.png and Vindelor-16.png here")
    parser.add_argument("--scale", type=int, default=1, help="PNG pixel size (default 1)")
    args = parser.parse_args()

    images = [ParsePixelMap(ICON_32, 32), ParsePixelMap(ICON_16, 16)]
    ico = IcoFile(images)

    if args.check:
        if not args.out.is_file() or args.out.read_bytes() != ico:
            sys.exit(f"{args.out} is out of date: run {pathlib.Path(__file__).name}")
        print(f"{args.out.name} is up to date")
    else:
        args.out.write_bytes(ico)

    if args.png:
        args.png.mkdir(parents=True, exist_ok=True)
        for rows in images:
            (args.png / f"Vindelor-{len(rows)}.png").write_bytes(PngFile(rows, args.scale))


if __name__ == "__main__":
    Main()
