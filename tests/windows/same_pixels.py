#!/usr/bin/env python3
"""Whether two PNG files hold the same picture: same size and the same red, green and blue of
every pixel (an RGB file and an RGBA file of an opaque picture are the same picture). Reads 8-bit
truecolour files, with or without alpha, not interlaced, as the renderers write them.
Usage: same_pixels.py A.png B.png; exits 0 when the pictures are the same, 1 when they differ
(with the number of differing pixels and the first of them), 2 when a file cannot be read."""
import struct
import sys
import zlib


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    if header is None:
        raise ValueError(f"{path}: no header")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"{path}: depth {depth}, colour type {colour}, interlace {interlace} not read here")
    channels = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            upper_left = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - upper_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upper_left)
                predictor = left if pa <= pb and pa <= pc else (up if pb <= pc else upper_left)
                line[i] = (line[i] + predictor) & 0xFF
        rows.append(bytes(b for k, b in enumerate(line) if k % channels < 3))
        previous = line
    return width, height, rows


def main():
    try:
        a, b = read_png(sys.argv[1]), read_png(sys.argv[2])
    except (OSError, ValueError, zlib.error, IndexError) as e:
        print(e)
        return 2
    if a[:2] != b[:2]:
        print(f"sizes differ: {a[0]}x{a[1]} and {b[0]}x{b[1]}")
        return 1
    differing, first = 0, None
    for y, (ra, rb) in enumerate(zip(a[2], b[2])):
        if ra != rb:
            for x in range(a[0]):
                if ra[3 * x:3 * x + 3] != rb[3 * x:3 * x + 3]:
                    differing += 1
                    first = first or (x, y, tuple(ra[3 * x:3 * x + 3]), tuple(rb[3 * x:3 * x + 3]))
    if differing:
        print(f"{differing} pixels differ; the first at {first[:2]}: {first[2]} and {first[3]}")
        return 1
    print(f"the same {a[0]}x{a[1]} picture")
    return 0


if __name__ == "__main__":
    sys.exit(main())
