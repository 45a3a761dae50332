#!/usr/bin/env python3
"""Draws kelvane.ico: a 32x32 and a 16x16 image of 16 colours (4 bits per pixel, standard VGA palette).

The picture is a blue rounded tile with a white upward arrow over a yellow signal bar: "tune up".
Run from this folder: python3 draw_icon.py
"""
import struct

# The 16-colour VGA palette, as RGB.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255),
    (255, 255, 255),
]
NAVY, BLUE, YELLOW, WHITE, GREY = 4, 12, 11, 15, 8


def pixel(x, y, n):
    """Palette index and opacity of pixel (x, y) of an n-by-n image, with y growing downward."""
    u, v = (x + 0.5) / n, (y + 0.5) / n
    corner = 0.18
    cx = min(max(u, corner), 1 - corner)
    cy = min(max(v, corner), 1 - corner)
    if (u - cx) ** 2 + (v - cy) ** 2 > corner ** 2:
        return 0, False
    edge = (u - cx) ** 2 + (v - cy) ** 2 > (corner - 1.5 / n) ** 2 or min(u, v, 1 - u, 1 - v) < 1.5 / n
    if edge:
        return NAVY, True
    if 0.72 <= v <= 0.84 and 0.2 <= u <= 0.8:
        return YELLOW, True
    if 0.36 <= v <= 0.66 and abs(u - 0.5) <= 0.09:
        return WHITE, True
    if 0.14 <= v < 0.36 and abs(u - 0.5) <= (v - 0.14) * 1.1:
        return WHITE, True
    return BLUE, True


def image(n):
    """One icon image: BITMAPINFOHEADER, palette, 4-bit XOR mask, 1-bit AND mask, rows bottom-up."""
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for y in reversed(range(n)):
        px = [pixel(x, y, n) for x in range(n)]
        row = bytearray()
        for x in range(0, n, 2):
            row.append((px[x][0] << 4) | px[x + 1][0])
        row += b'\0' * (-len(row) % 4)
        xor_rows.append(bytes(row))
        bits = bytearray((n + 31) // 32 * 4)
        for x, (_, opaque) in enumerate(px):
            if not opaque:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_rows.append(bytes(bits))
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def main():
    images = [(32, image(32)), (16, image(16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in images:
        out += struct.pack('<BBBBHHII', n, n, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, data in images)
    with open('kelvane.ico', 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
