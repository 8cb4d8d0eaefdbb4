#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the board's two drag cursors as X bitmaps with masks, 32 x 32 for
ordinary screens and 64 x 64 for screens at twice the pixel density.

    python3 make_cursors.py        # rewrites the .xbm files beside this script

Each cursor is a black picture with a white rim one pixel wide at 32 x 32
(the mask is the picture grown by the rim), so it shows on light and dark
boards alike. The 64 x 64 pictures are the same drawings at twice the scale:
curves and slopes are drawn anew at the finer grid, pixel steps doubled, and
the hot spot (given in 32-pixel units in the program) lands on the same spot.
"""
import math
import os

BASE = 32
SIZE = BASE  # the size being drawn: BASE times SCALE
SCALE = 1


def blank():
    return [[0] * SIZE for _ in range(SIZE)]


def plot(img, x, y):
    if 0 <= x < SIZE and 0 <= y < SIZE:
        img[y][x] = 1


def plot_unit(img, x, y):
    """Plots the pixel (x, y) of the 32-pixel grid: a SCALE x SCALE block."""
    for dy in range(SCALE):
        for dx in range(SCALE):
            plot(img, x * SCALE + dx, y * SCALE + dy)


def fill_polygon(img, pts):
    """Fills a polygon given in 32-pixel units, pixel centres inside by the
    even-odd rule."""
    pts = [(px * SCALE, py * SCALE) for px, py in pts]
    for y in range(SIZE):
        for x in range(SIZE):
            px, py = x + 0.5, y + 0.5
            inside = False
            for i in range(len(pts)):
                (x1, y1), (x2, y2) = pts[i], pts[(i + 1) % len(pts)]
                if (y1 > py) != (y2 > py):
                    cx = x1 + (py - y1) * (x2 - x1) / (y2 - y1)
                    if px < cx:
                        inside = not inside
            if inside:
                plot(img, x, y)


def thick_arc(img, cx, cy, radius, width, start_deg, end_deg):
    """Pixels whose centres lie within `width`/2 of the arc from start to end
    (degrees on the screen, clockwise from 3 o'clock, y down); lengths in
    32-pixel units."""
    cx, cy, radius, width = cx * SCALE, cy * SCALE, radius * SCALE, width * SCALE
    for y in range(SIZE):
        for x in range(SIZE):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            r = math.hypot(dx, dy)
            a = math.degrees(math.atan2(dy, dx)) % 360
            s, e = start_deg % 360, end_deg % 360
            on = (s <= a <= e) if s <= e else (a >= s or a <= e)
            if on and abs(r - radius) <= width / 2:
                plot(img, x, y)


def grow(img):
    """The picture grown by the rim: one pixel of the 32-pixel grid."""
    out = blank()
    for y in range(SIZE):
        for x in range(SIZE):
            if img[y][x]:
                for dy in range(-SCALE, SCALE + 1):
                    for dx in range(-SCALE, SCALE + 1):
                        plot(out, x + dx, y + dy)
    return out


def rotate_cursor():
    """A ring about 20 pixels across, open at the lower left; its left end is
    an arrowhead pointing down whose tip (7, 14) is the hot spot. A small
    spiral curls inside."""
    img = blank()
    cx, cy, radius = 17.5, 11.5, 9.5
    # From just above the left (190 degrees) over the top, the right and the
    # bottom to the lower left (125 degrees), leaving a gap between them.
    thick_arc(img, cx, cy, radius, 2.2, 192, 125)
    # The arrowhead on the left end: base across the ring at y 9, tip (7, 14).
    fill_polygon(img, [(3.0, 9.0), (12.0, 9.0), (7.5, 15.0)])
    # The spiral: from the centre outward, clockwise, one and a half turns,
    # a line one pixel of the 32-pixel grid wide.
    steps = 400 * SCALE
    for i in range(steps + 1):
        t = 3 * math.pi * i / steps
        r = 0.8 + 1.3 * t / math.pi
        if SCALE == 1:
            plot(img, int(math.floor(cx + r * math.cos(t))), int(math.floor(cy + r * math.sin(t))))
        else:
            x = (cx + r * math.cos(t)) * SCALE - SCALE / 2
            y = (cy + r * math.sin(t)) * SCALE - SCALE / 2
            for dy in range(SCALE):
                for dx in range(SCALE):
                    plot(img, int(math.floor(x)) + dx, int(math.floor(y)) + dy)
    return img, (7, 14)


def move_cursor():
    """Four arrows, up, down, left and right, from an open centre; the hot
    spot (15, 15) is the centre."""
    img = blank()
    c = 15
    inner, outer, head_len = 3, 14, 5
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        nx, ny = -dy, dx
        for t in range(inner, outer + 1):
            # A shaft three pixels wide, then an arrowhead narrowing to its tip.
            half = 1 if t <= outer - head_len else outer - t
            for s in range(-half, half + 1):
                plot_unit(img, c + dx * t + nx * s, c + dy * t + ny * s)
    return img, (15, 15)


def write_xbm(path, name, img, hot):
    """Writes `img` as an X bitmap; `hot` in pixels of this picture."""
    data = []
    for row in img:
        for byte in range(SIZE // 8):
            v = 0
            for bit in range(8):
                if row[byte * 8 + bit]:
                    v |= 1 << bit
            data.append("0x%02x" % v)
    lines = ["#define %s_width %d" % (name, SIZE), "#define %s_height %d" % (name, SIZE)]
    if hot:
        lines += ["#define %s_x_hot %d" % (name, hot[0]), "#define %s_y_hot %d" % (name, hot[1])]
    lines.append("static unsigned char %s_bits[] = {" % name)
    for i in range(0, len(data), 12):
        lines.append("   " + ", ".join(data[i:i + 12]) + ("," if i + 12 < len(data) else "};"))
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


def main():
    global SIZE, SCALE
    here = os.path.dirname(os.path.abspath(__file__))
    for scale, suffix in ((1, ""), (2, "@2x")):
        SCALE, SIZE = scale, BASE * scale
        for name, (img, hot) in (("rotate", rotate_cursor()), ("move", move_cursor())):
            # An X bitmap's name is a C identifier.
            ident = name + ("_2x" if scale > 1 else "")
            hot = (hot[0] * scale, hot[1] * scale)
            write_xbm(os.path.join(here, name + suffix + ".xbm"), ident, img, hot)
            write_xbm(os.path.join(here, name + suffix + "_mask.xbm"), ident + "_mask",
                      grow(img), None)
            for row in img:
                print("".join("#" if p else "." for p in row))
            print()


if __name__ == "__main__":
    main()
