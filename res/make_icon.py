#!/usr/bin/env python3
"""Draws Vorkel's program icon: a white sheet of paper with a folded top-right
corner and grey text lines, crossed at the lower right by a bold green check
mark ("this file checks out").

Writes res/Vorkel.ico: one 32x32 image, 32-bit BGRA with straight alpha.
Edges are anti-aliased by rendering 8x8 samples per pixel and averaging them.
Uses only the standard library, and the output is the same on every run.

Run from the repository root:  python3 res/make_icon.py
"""
import math
import os
import struct

SIZE = 32   # icon width and height in pixels
SS = 8      # samples per pixel along each axis

# Colours as (R, G, B).
OUTLINE = (84, 88, 100)
PAPER = (255, 255, 255)
FOLD = (214, 220, 230)
TEXT = (150, 156, 168)
CHECK_EDGE = (22, 100, 38)
CHECK = (52, 184, 72)

# Shapes in pixel units, x to the right and y downwards; (0, 0) is the top-left
# corner of the icon. Half-integer edges land on pixel boundaries and stay sharp.
SHEET = [(5.5, 2.5), (17.5, 2.5), (23.5, 8.5), (23.5, 29.5), (5.5, 29.5)]
FOLD_TRI = [(17.5, 2.5), (17.5, 8.5), (23.5, 8.5)]
TEXT_LINES = [(8, 10, 21, 12), (8, 14, 21, 16), (8, 18, 19, 20), (8, 22, 14, 24)]
CHECK_PATH = [(13.5, 21.0), (18.5, 26.0), (28.0, 14.5)]


def inside_polygon(x, y, poly):
    """Even-odd rule point-in-polygon test."""
    inside = False
    n = len(poly)
    for i in range(n):
        x1, y1 = poly[i]
        x2, y2 = poly[(i + 1) % n]
        if (y1 > y) != (y2 > y):
            if x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                inside = not inside
    return inside


def segment_distance(x, y, a, b):
    """Distance from (x, y) to the segment a-b."""
    ax, ay = a
    dx, dy = b[0] - ax, b[1] - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def on_stroke(x, y, points, width, closed=False):
    """True if (x, y) lies on a polyline drawn with round joins and caps."""
    pairs = list(zip(points, points[1:]))
    if closed:
        pairs.append((points[-1], points[0]))
    return any(segment_distance(x, y, a, b) <= width / 2 for a, b in pairs)


def sample(x, y):
    """Colour at one sample point, or None where the icon is transparent.
    Layers are tested from the top down, so the first hit wins."""
    if on_stroke(x, y, CHECK_PATH, 4.4):
        return CHECK
    if on_stroke(x, y, CHECK_PATH, 7.0):
        return CHECK_EDGE
    if on_stroke(x, y, SHEET, 1.0, closed=True):
        return OUTLINE
    if on_stroke(x, y, FOLD_TRI, 1.0):
        return OUTLINE
    if inside_polygon(x, y, FOLD_TRI):
        return FOLD
    if inside_polygon(x, y, SHEET):
        for x0, y0, x1, y1 in TEXT_LINES:
            if x0 <= x < x1 and y0 <= y < y1:
                return TEXT
        return PAPER
    return None


def render():
    """Returns SIZE rows (top row first) of (R, G, B, A) tuples."""
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            r = g = b = hits = 0
            for sy in range(SS):
                for sx in range(SS):
                    c = sample(px + (sx + 0.5) / SS, py + (sy + 0.5) / SS)
                    if c is not None:
                        r, g, b, hits = r + c[0], g + c[1], b + c[2], hits + 1
            if hits == 0:
                row.append((0, 0, 0, 0))
            else:
                # Average only the covered samples: ICO alpha is not premultiplied.
                row.append((round(r / hits), round(g / hits), round(b / hits),
                            round(255 * hits / (SS * SS))))
        rows.append(row)
    return rows


def ico_bytes(rows):
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # DIB rows are stored bottom-up
        bits = 0
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
            bits = (bits << 1) | (a == 0)  # mask bit set = transparent
        mask += bits.to_bytes(SIZE // 8, "big")  # 4 bytes: already row-aligned
    # BITMAPINFOHEADER; the height counts colour and mask together, hence 2x.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 32, 0,
                         0, 0, 0, 0, 0)
    dib = header + colour + mask
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(dib), 6 + 16)
    return icondir + entry + dib


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "Vorkel.ico")
    with open(out, "wb") as f:
        f.write(ico_bytes(render()))


if __name__ == "__main__":
    main()
