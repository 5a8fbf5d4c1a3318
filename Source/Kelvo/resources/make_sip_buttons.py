#!/usr/bin/env python3
# Writes the two SIP button pictures (a small keyboard) as 4-bit bitmaps: sipbutton_wide.bmp
# (32 x 16) and sipbutton_narrow.bmp (16 x 16). Silver (192,192,192) is the transparent mask.
import struct
import sys

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, SILVER, GREY, WHITE = 0, 7, 8, 15


def keyboard(width, height):
    # Rows of pixels, top first: a black-framed grey body with three rows of white keys and a
    # space bar, centred on a silver (transparent) field.
    body_w = width - 2 if width <= 16 else 26
    left = (width - body_w) // 2
    top, bottom = 3, height - 3
    pixels = [[SILVER] * width for _ in range(height)]
    for y in range(top, bottom):
        for x in range(left, left + body_w):
            edge = y in (top, bottom - 1) or x in (left, left + body_w - 1)
            pixels[y][x] = BLACK if edge else GREY
    for row in range(3):
        y = top + 2 + row * 2
        for x in range(left + 2, left + body_w - 2, 2):
            pixels[y][x] = WHITE
    y = bottom - 3
    for x in range(left + 4, left + body_w - 4):
        pixels[y][x] = WHITE
    return pixels


def bmp(pixels):
    height, width = len(pixels), len(pixels[0])
    stride = ((width * 4 + 31) // 32) * 4
    rows = b""
    for row in reversed(pixels):  # bottom-up
        packed = bytes((row[x] << 4) | row[x + 1] for x in range(0, width, 2))
        rows += packed + b"\0" * (stride - len(packed))
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(rows), 2835, 2835, 16, 0)
    return header + info + palette + rows


folder = sys.argv[1] if len(sys.argv) > 1 else "."
for name, size in (("sipbutton_wide.bmp", (32, 16)), ("sipbutton_narrow.bmp", (16, 16))):
    with open(f"{folder}/{name}", "wb") as out:
        out.write(bmp(keyboard(*size)))
