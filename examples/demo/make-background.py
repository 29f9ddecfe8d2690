#!/usr/bin/env python3
"""Draws the demo menu's background picture, BACKGROUND.BMP (640 x 480,
24 bits per pixel), with nothing but the standard library."""
import math
import struct
import sys

W, H = 640, 480


def pixel(x, y):
    # Night-blue to teal diagonal gradient.
    t = (x / W) * 0.35 + (y / H) * 0.65
    r = 12 + 10 * t
    g = 40 + 90 * t
    b = 92 + 70 * t
    # A large disc in the lower right, drawn as soft rings.
    cx, cy = 470, 320
    d = math.hypot(x - cx, y - cy)
    if 28 < d < 190:
        ring = 0.5 + 0.5 * math.cos(d / 5.0)
        shade = 0.10 + 0.06 * ring
        angle = math.atan2(y - cy, x - cx)
        if -2.5 < angle < -1.7:
            shade += 0.12  # a highlight across the disc
        edge = min(1.0, (d - 28) / 3.0, (190 - d) / 3.0)
        r, g, b = (c + (255 - c) * shade * edge for c in (r, g, b))
    # A thin rule under the title.
    if 52 <= y <= 53 and 24 <= x <= 420:
        r, g, b = 120, 200, 230
    return int(b), int(g), int(r)


def main(path):
    row_size = (W * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(H - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for x in range(W):
            row.extend(pixel(x, y))
        row.extend(b"\0" * (row_size - W * 3))
        pixels.extend(row)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "BACKGROUND.BMP")
