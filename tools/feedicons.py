"""Draws res/feed_icons.bmp: the feed reader's eight 16 x 16 list images in one
128 x 16 strip, magenta (255, 0, 255) where transparent.

0 blank, 1 unchecked box, 2 checked box, 3 grey dot (no favourite), 4 yellow
star (favourite), 5 red burst (new), 6 and 7 the star and the burst on the
selected row's yellow. Run: python3 tools/feedicons.py res/feed_icons.bmp
"""
import math
import struct
import sys

W, H = 128, 16
MAGENTA = (255, 0, 255)
SELECTED = (208, 209, 108)


def inside_polygon(x, y, pts):
    hit = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def star(points, outer, inner, cx=7.5, cy=7.5, turn=-math.pi / 2):
    pts = []
    for k in range(points * 2):
        r = outer if k % 2 == 0 else inner
        a = turn + k * math.pi / points
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def draw(cell, x, y):
    """Colour of pixel (x, y) of image cell, or None for the background."""
    if cell == 1 or cell == 2:
        if 2 <= x <= 13 and 2 <= y <= 13:
            if x in (2, 13) or y in (2, 13):
                return (200, 200, 200)
            if cell == 2 and (abs((y - 8) - (x - 7) * -1) <= 1 and 7 <= x <= 12 and y <= 10 or
                              abs((y - 8) - (x - 7)) <= 1 and 4 <= x <= 7 and y >= 7):
                return (0, 237, 255)
            return (40, 40, 46)
        return None
    if cell == 3:
        return (128, 128, 130) if (x - 7.5) ** 2 + (y - 7.5) ** 2 <= 5.0 else None
    if cell in (4, 6):
        return (255, 204, 0) if inside_polygon(x + 0.5, y + 0.5, star(5, 7.5, 3.2)) else None
    if cell in (5, 7):
        return (230, 30, 30) if inside_polygon(x + 0.5, y + 0.5, star(8, 7.5, 4.0)) else None
    return None


def main(path):
    rows = []
    for y in range(H):
        row = bytearray()
        for x in range(W):
            cell, cx = divmod(x, 16)
            c = draw(cell, cx, y)
            if c is None:
                c = SELECTED if cell in (6, 7) else MAGENTA
            row += bytes((c[2], c[1], c[0]))
        rows.append(bytes(row))
    pixels = b"".join(reversed(rows))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    main(sys.argv[1])
