#!/usr/bin/env python3
# Writes the task list's close icons as 32-bit icon files: close_large.ico (32 x 32) and
# close_small.ico (16 x 16), a white cross on a red disc over a transparent field.
import struct
import sys

RED, WHITE = (200, 40, 40), (255, 255, 255)


def pixels(size):
    # Rows of (r, g, b, a), top first.
    centre = (size - 1) / 2
    radius = size / 2 - 0.5
    half_stroke = max(1.0, size / 12)
    arm = radius * 0.55
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - centre, y - centre
            if dx * dx + dy * dy > radius * radius:
                row.append((0, 0, 0, 0))
            elif abs(abs(dx) - abs(dy)) <= half_stroke * 1.4 and abs(dx) <= arm:
                row.append(WHITE + (255,))
            else:
                row.append(RED + (255,))
        rows.append(row)
    return rows


def icon(size):
    rows = pixels(size)
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
    image = header + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


folder = sys.argv[1] if len(sys.argv) > 1 else "."
for name, size in (("close_large.ico", 32), ("close_small.ico", 16)):
    with open(f"{folder}/{name}", "wb") as out:
        out.write(icon(size))
