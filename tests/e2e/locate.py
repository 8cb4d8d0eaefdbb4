#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Finds things on a screenshot, so that end-to-end scripts can aim the
pointer without the program telling them where its widgets are.

  locate.py board SCREEN.ppm PICTURE.png LEFT TOP [X Y W H]
      Where board point (0, 0) lies on the screen: PICTURE is the riddle drawn
      by `vorlo-cli render --margin 0` (one pixel per board pixel, its corner
      at board point (LEFT, TOP)); it is looked for, pixel for pixel, in SCREEN
      (within the rectangle X Y W H when given). Prints "X Y"; exit 1 when
      the picture is not on the screen.

  locate.py colour SCREEN.ppm RRGGBB TOLERANCE X Y W H
      The middle of the pixels within TOLERANCE of the colour in every
      channel, inside the rectangle. Prints "X Y"; exit 1 when there are none.

SCREEN is a binary PPM (import -window root screen.ppm); PICTURE a PNG of
8-bit RGB or RGBA.
"""

import struct
import sys
import zlib


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or int(fields[3]) != 255:
        sys.exit(f"{path}: not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[pos + 1:pos + 1 + width * height * 3]


def read_png(path):
    """Width, height and the pixels as RGB bytes, row by row."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG")
    pos = 8
    idat = b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    channels = {2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        sys.exit(f"{path}: only 8-bit RGB or RGBA without interlacing is read")
    raw = zlib.decompress(idat)
    stride = width * channels
    rows = []
    previous = bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        row = bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = row[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                row[i] = (row[i] + left) & 0xFF
            elif kind == 2:
                row[i] = (row[i] + up) & 0xFF
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                guess = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                row[i] = (row[i] + guess) & 0xFF
        rows.append(row)
        previous = row
    rgb = bytearray()
    for row in rows:
        for x in range(width):
            rgb += row[x * channels:x * channels + 3]
    return width, height, bytes(rgb)


def region(args, width, height):
    if not args:
        return 0, 0, width, height
    x, y, w, h = (int(a) for a in args)
    return max(x, 0), max(y, 0), min(x + w, width), min(y + h, height)


def find_board(screen, picture, left, top, area):
    sw, sh, spx = read_ppm(screen)
    pw, ph, ppx = read_png(picture)
    white = b"\xff\xff\xff"
    # The picture's own pixels: the background is the board's, not ours.
    marks = [(x, y, ppx[(y * pw + x) * 3:(y * pw + x) * 3 + 3])
             for y in range(ph) for x in range(pw)
             if ppx[(y * pw + x) * 3:(y * pw + x) * 3 + 3] != white]
    if not marks:
        sys.exit(f"{picture}: an empty picture cannot be found")
    x0, y0, x1, y1 = region(area, sw, sh)
    # Candidates: screen pixels of the colour of the picture's rarest mark.
    counts = {}
    for _, _, colour in marks:
        counts[colour] = counts.get(colour, 0) + 1
    anchor = min(marks, key=lambda m: counts[m[2]])
    ax, ay, colour = anchor
    pos = spx.find(colour)
    while pos >= 0:
        if pos % 3 == 0:
            sx, sy = (pos // 3) % sw, (pos // 3) // sw
            ox, oy = sx - ax, sy - ay
            if x0 <= ox and ox + pw <= x1 and y0 <= oy and oy + ph <= y1 and all(
                    spx[((oy + y) * sw + ox + x) * 3:((oy + y) * sw + ox + x) * 3 + 3] == c
                    for x, y, c in marks):
                return ox - left, oy - top
        pos = spx.find(colour, pos + 1)
    return None


def find_colour(screen, colour, tolerance, area):
    sw, sh, spx = read_ppm(screen)
    want = bytes.fromhex(colour)
    x0, y0, x1, y1 = region(area, sw, sh)
    xs = ys = n = 0
    for y in range(y0, y1):
        row = spx[(y * sw) * 3:(y * sw + sw) * 3]
        for x in range(x0, x1):
            px = row[x * 3:x * 3 + 3]
            if all(abs(px[i] - want[i]) <= tolerance for i in range(3)):
                xs += x
                ys += y
                n += 1
    return (xs // n, ys // n) if n else None


def main():
    if len(sys.argv) >= 6 and sys.argv[1] == "board":
        found = find_board(sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5]),
                           sys.argv[6:10])
    elif len(sys.argv) == 9 and sys.argv[1] == "colour":
        found = find_colour(sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5:9])
    else:
        sys.exit(__doc__)
    if found is None:
        return 1
    print(*found)
    return 0


if __name__ == "__main__":
    sys.exit(main())
