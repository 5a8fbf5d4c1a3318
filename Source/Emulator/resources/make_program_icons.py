#!/usr/bin/env python3
# Writes the built-in programs' icons as 32-bit icon files, each with a 16 x 16 and a 32 x 32
# image: notes.ico, contacts.ico, calendar.ico, puzzle.ico, memory.ico and help.ico. Every
# picture is drawn in a unit square from a few shapes and sampled 4 x 4 per pixel, so that both
# sizes have smooth edges over a transparent field.
import math
import struct
import sys

SAMPLES = 4


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def arc(cx, cy, r, width, start, end):
    # A ring segment from angle `start` to `end` (degrees, clockwise from the right, y down).
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > width / 2:
            return False
        a = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return any(start <= a + turn <= end for turn in (0, 360, 720))
    return inside


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


# Each picture: shapes drawn in order, later ones over earlier ones, as (test, (r, g, b)).
def notes():
    page = (rounded(0.16, 0.06, 0.84, 0.94, 0.06), (120, 100, 30))
    paper = (rounded(0.2, 0.1, 0.8, 0.9, 0.04), (255, 236, 140))
    lines = [(rect(0.28, y, 0.72, y + 0.06), (150, 130, 70)) for y in (0.3, 0.46, 0.62)]
    short = (rect(0.28, 0.76, 0.56, 0.82), (150, 130, 70))
    return [page, paper] + lines + [short]


def contacts():
    card = (rounded(0.06, 0.1, 0.94, 0.9, 0.1), (30, 90, 180))
    head = (disc(0.5, 0.38, 0.16), (255, 255, 255))
    body = (both(ellipse(0.5, 0.9, 0.3, 0.3), rect(0, 0, 1, 0.86)), (255, 255, 255))
    return [card, head, body]


def calendar():
    page = (rounded(0.08, 0.12, 0.92, 0.94, 0.06), (90, 90, 100))
    paper = (rect(0.12, 0.16, 0.88, 0.9), (255, 255, 255))
    band = (rect(0.12, 0.16, 0.88, 0.38), (210, 40, 40))
    rings = [(rounded(x, 0.04, x + 0.1, 0.24, 0.04), (90, 90, 100)) for x in (0.24, 0.66)]
    cells = []
    for row in range(2):
        for column in range(3):
            x = 0.2 + column * 0.22
            y = 0.46 + row * 0.22
            colour = (0, 70, 160) if (row, column) == (1, 1) else (120, 120, 130)
            cells.append((rect(x, y, x + 0.16, y + 0.14), colour))
    return [page, paper, band] + rings + cells


def puzzle():
    shapes = [(rounded(0.04, 0.04, 0.96, 0.96, 0.06), (120, 80, 40))]
    for row in range(3):
        for column in range(3):
            if (row, column) == (2, 2):
                continue
            x = 0.08 + column * 0.3
            y = 0.08 + row * 0.3
            colour = (246, 214, 150) if (row + column) % 2 == 0 else (230, 180, 100)
            shapes.append((rect(x, y, x + 0.26, y + 0.26), colour))
    return shapes


def memory():
    back_edge = (rounded(0.04, 0.16, 0.54, 0.9, 0.06), (20, 40, 90))
    back = (rounded(0.08, 0.2, 0.5, 0.86, 0.04), (50, 90, 180))
    face_edge = (rounded(0.42, 0.08, 0.96, 0.84, 0.06), (110, 110, 120))
    face = (rounded(0.46, 0.12, 0.92, 0.8, 0.04), (255, 255, 255))
    heart = [(disc(0.61, 0.38, 0.1), (220, 40, 60)), (disc(0.77, 0.38, 0.1), (220, 40, 60)),
             (polygon([(0.52, 0.42), (0.86, 0.42), (0.69, 0.66)]), (220, 40, 60))]
    return [back_edge, back, face_edge, face] + heart


def help_icon():
    ball = (disc(0.5, 0.5, 0.47), (20, 90, 190))
    white = (255, 255, 255)
    hook = (arc(0.5, 0.36, 0.17, 0.12, 180, 450), white)
    stem = (rect(0.44, 0.5, 0.56, 0.65), white)
    dot = (disc(0.5, 0.78, 0.075), white)
    return [ball, hook, stem, dot]


def pixels(shapes, size):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    colour = None
                    for test, c in shapes:
                        if test(x, y):
                            colour = c
                    if colour is not None:
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        a += 1
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a), round(g / a), round(b / a),
                            round(255 * a / (SAMPLES * SAMPLES))))
        rows.append(row)
    return rows


def image(shapes, size):
    rows = pixels(shapes, size)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        packed = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                packed[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(packed)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    return header + colour + mask


def icon(shapes):
    images = [image(shapes, size) for size in (16, 32)]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in zip((16, 32), images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(images)


folder = sys.argv[1] if len(sys.argv) > 1 else "."
for name, draw in (("notes", notes), ("contacts", contacts), ("calendar", calendar),
                   ("puzzle", puzzle), ("memory", memory), ("help", help_icon)):
    with open(f"{folder}/{name}.ico", "wb") as out:
        out.write(icon(draw()))
