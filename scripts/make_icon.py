#!/usr/bin/env python3
"""Draws the program icon (a record dot and a play triangle on the dark face) as a 16 and 32 pixel .ico."""
import struct
import sys


def pixel(x, y, n):
    s = n / 32.0
    fx, fy = (x + 0.5) / s, (y + 0.5) / s
    if fx < 1 or fy < 1 or fx > 31 or fy > 31:
        return (0, 0, 0, 0)
    color = (24, 20, 18, 255)  # BGRA, the control face
    if (fx - 11) ** 2 + (fy - 16) ** 2 <= 36:
        color = (144, 96, 255, 255)  # record dot, accent pink
    if 17 <= fx <= 27 and abs(fy - 16) <= (27 - fx) * 0.6:
        color = (239, 234, 230, 255)  # play triangle, text colour
    if fx < 2 or fy < 2 or fx > 30 or fy > 30:
        color = (52, 44, 40, 255)  # border
    return color


def image(n):
    rows = []
    for y in reversed(range(n)):
        rows.append(b"".join(struct.pack("4B", *pixel(x, y, n)) for x in range(n)))
    xor = b"".join(rows)
    mask_row = ((n + 31) // 32) * 4
    andmask = b"\0" * (mask_row * n)
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    return header + xor + andmask


def main(path):
    sizes = [16, 32]
    images = [image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1])
