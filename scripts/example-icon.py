#!/usr/bin/env python3
"""Draws the example forms' icon (a glossy disc with a white tick, 16 and 32 pixels, 32-bit with
alpha; blue, or orange with --orange for hover icons) and prints it as a form-file Picture value:
the picture's saved bytes ("lt\\0\\0", the 32-bit length, the .ico file) in base64 lines."""
import base64
import math
import struct
import sys

ORANGE = "--orange" in sys.argv


def pixel(size, x, y):
    """Straight-alpha (r, g, b, a) of the icon at pixel (x, y), supersampled 4 x 4."""
    acc = [0.0, 0.0, 0.0, 0.0]
    c = size / 2.0
    radius = size / 2.0 - 0.5
    for sy in range(4):
        for sx in range(4):
            px = x + (sx + 0.5) / 4
            py = y + (sy + 0.5) / 4
            d = math.hypot(px - c, py - c)
            if d > radius:
                continue
            t = py / size  # top light, bottom deep blue
            r, g, b = 40 + 60 * (1 - t), 110 + 90 * (1 - t), 230
            if d > radius - size / 16.0:  # darker rim
                r, g, b = 20, 60, 160
            if ORANGE:
                r, g, b = b, (g + 40) * 3 // 4, r // 2
            # the tick: two strokes from (0.28, 0.52) to (0.44, 0.68) to (0.74, 0.34)
            u, v = px / size, py / size
            w = 0.075
            if seg_dist(u, v, 0.28, 0.52, 0.44, 0.68) < w or seg_dist(u, v, 0.44, 0.68, 0.74, 0.34) < w:
                r, g, b = 255, 255, 255
            acc[0] += r
            acc[1] += g
            acc[2] += b
            acc[3] += 1
    n = acc[3]
    if n == 0:
        return (0, 0, 0, 0)
    return (int(acc[0] / n), int(acc[1] / n), int(acc[2] / n), int(255 * n / 16))


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def image(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):  # bottom row first
        bits = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = pixel(size, x, y)
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def ico(sizes):
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main():
    data = ico([16, 32])
    saved = b"lt\0\0" + struct.pack("<I", len(data)) + data
    text = base64.b64encode(saved).decode("ascii")
    for i in range(0, len(text), 76):
        print(text[i:i + 76])


if __name__ == "__main__":
    main()
