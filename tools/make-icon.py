#!/usr/bin/env python3
"""Draws Brindlow's icon and writes it as a Windows .ico file.

A letter Q, the tool's hot key, in white on a rounded blue tile, with a small gold
answer mark in the corner. Sizes 16, 24, 32, 48 (32-bit bitmaps) and 256 (PNG). Only
the standard library is used; the .ico is committed, so the build needs no Python.

    python3 tools/make-icon.py app/brindlow.ico
"""

import math
import struct
import sys
import zlib

SUPERSAMPLE = 4
BLUE_TOP = (38, 110, 214)
BLUE_BOTTOM = (20, 66, 150)
WHITE = (255, 255, 255)
GOLD = (250, 190, 40)


def rounded_square_distance(x, y, half, radius):
    """Signed distance to a square of half-size `half` with corners of `radius`."""
    qx = abs(x) - (half - radius)
    qy = abs(y) - (half - radius)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    inside = min(max(qx, qy), 0.0)
    return outside + inside - radius


def segment_distance(x, y, ax, ay, bx, by):
    px, py = x - ax, y - ay
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, (px * dx + py * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - t * dx, py - t * dy)


def shade(x, y):
    """Colour (r, g, b, a) at a point of the unit design square, centre (0, 0)."""
    if rounded_square_distance(x, y, 0.47, 0.12) > 0.0:
        return (0, 0, 0, 0)
    mix = (y + 0.5)
    colour = tuple(round(t + (b - t) * mix) for t, b in zip(BLUE_TOP, BLUE_BOTTOM))
    # The Q: a ring and a tail that crosses it at the lower right.
    ring = abs(math.hypot(x + 0.02, y + 0.03) - 0.24) - 0.075
    tail = segment_distance(x, y, 0.05, 0.10, 0.28, 0.33) - 0.07
    if min(ring, tail) <= 0.0:
        colour = WHITE
    # The answer mark: a gold dot at the upper right.
    if math.hypot(x - 0.29, y + 0.29) <= 0.11:
        colour = GOLD
    return colour + (255,)


def render(size):
    """Rows of RGBA pixels, top row first, antialiased by supersampling."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size - 0.5
                    y = (py + (sy + 0.5) / n) / size - 0.5
                    r, g, b, a = shade(x, y)
                    total[0] += r * a
                    total[1] += g * a
                    total[2] += b * a
                    total[3] += a
            alpha = total[3] / (n * n)
            if total[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(c / total[3]) for c in total[:3]) + (round(alpha),))
        rows.append(row)
    return rows


def bitmap_image(size, rows):
    """A 32-bit DIB as an icon image: header, bottom-up BGRA pixels, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def png_image(size, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-icon.py OUTPUT.ico")
    images = []
    for size in (16, 24, 32, 48, 256):
        rows = render(size)
        data = png_image(size, rows) if size == 256 else bitmap_image(size, rows)
        images.append((size, data))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in images:
        side = 0 if size == 256 else size
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as out:
        out.write(directory + entries + b"".join(data for _, data in images))


if __name__ == "__main__":
    main()
