#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files (32-bit colour with alpha).

    scripts/make-icons.py app/

clutterwise.ico: three desktop tiles with bars of growing length and a downward arrow, the
picture of putting icons into an order, at the sizes of the large and the small icon at 96, 120,
144 and 192 dpi (64, 48, 40, 32, 24, 20 and 16 pixels), so that every scale draws one it holds.
pointer.ico: a pointing hand whose finger tip is at the centre, where a pointer made from an icon
has its hot spot (32 x 32).
"""
import struct
import sys
from pathlib import Path

SUPER = 8  # samples per pixel and axis


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def triangle(a, b, c):
    def side(p, q, x, y):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])

    def inside(x, y):
        d1, d2, d3 = side(a, b, x, y), side(b, c, x, y), side(c, a, x, y)
        neg = d1 < 0 or d2 < 0 or d3 < 0
        pos = d1 > 0 or d2 > 0 or d3 > 0
        return not (neg and pos)
    return inside


def render(size, shapes, scale):
    """shapes: (test, (r, g, b)) painted in order, in 32-unit coordinates."""
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUPER):
                for sx in range(SUPER):
                    x = (px + (sx + 0.5) / SUPER) * scale
                    y = (py + (sy + 0.5) / SUPER) * scale
                    colour = None
                    for test, rgb in shapes:
                        if test(x, y):
                            colour = rgb
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = SUPER * SUPER
            a = acc[3] / n
            if acc[3]:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]), round(a * 255)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def order_icon(size):
    tiles = [(0x2A, 0x9D, 0x8F), (0xE9, 0xA8, 0x3A), (0xE7, 0x6F, 0x51)]
    slate = (0x37, 0x47, 0x4F)
    arrow = (0x26, 0x5C, 0xA8)
    shapes = []
    for i, (tile, length) in enumerate(zip(tiles, (6, 9, 12))):
        top = 3 + i * 9
        shapes.append((rounded_rect(2, top, 10, top + 8, 2), tile))
        shapes.append((rounded_rect(3.2, top + 1.2, 8.8, top + 2.6, 0.6), tuple(min(255, c + 60) for c in tile)))
        shapes.append((rounded_rect(12, top + 2.5, 12 + length, top + 5.5, 1.2), slate))
    shapes.append((rounded_rect(26, 3, 29, 22, 1), arrow))
    shapes.append((triangle((22.5, 20.5), (32.5, 20.5), (27.5, 30)), arrow))
    return render(size, shapes, 32 / size)


def pointer_icon():
    hand = [
        rounded_rect(14, 16, 18.5, 27, 2.2),      # index finger, tip at the centre
        rounded_rect(18, 21, 21.5, 27, 1.7),      # middle finger
        rounded_rect(21, 22, 24.5, 27, 1.7),      # ring finger
        rounded_rect(24, 23, 27.5, 27.5, 1.7),    # little finger
        rounded_rect(13, 24, 27.5, 31.5, 3),      # palm
        rounded_rect(9.5, 23.5, 14.5, 27, 1.7),   # thumb
    ]

    def inside(x, y):
        return any(test(x, y) for test in hand)

    def outline(x, y):
        return any(inside(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1))

    pixels = []
    for py in range(32):
        row = []
        for px in range(32):
            x, y = px + 0.5, py + 0.5
            if inside(x, y):
                row.append((255, 255, 255, 255))
            elif outline(x, y):
                row.append((0, 0, 0, 255))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def ico(images):
    header = struct.pack('<HHH', 0, 1, len(images))
    entries = b''
    blobs = b''
    offset = 6 + 16 * len(images)
    for pixels in images:
        size = len(pixels)
        mask_stride = ((size + 31) // 32) * 4
        xor = b''.join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
        mask = b''
        for row in reversed(pixels):
            bits = bytearray(mask_stride)
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(bits)
        info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = info + xor + mask
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return header + entries + blobs


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else 'app')
    sizes = (32, 16, 20, 24, 40, 48, 64)
    (out / 'clutterwise.ico').write_bytes(ico([order_icon(size) for size in sizes]))
    (out / 'pointer.ico').write_bytes(ico([pointer_icon()]))


if __name__ == '__main__':
    main()
