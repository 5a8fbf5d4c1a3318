#!/usr/bin/env python3
# Writes the task list's close icons as 32-bit icon files: close_large.ico (32 x 32) and
# close_small.ico (16 x 16), a white cross on a red disc over a transparent field.
import sys

from icon_file import icon_file

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
    return icon_file([pixels(size)])


folder = sys.argv[1] if len(sys.argv) > 1 else "."
for name, size in (("close_large.ico", 32), ("close_small.ico", 16)):
    with open(f"{folder}/{name}", "wb") as out:
        out.write(icon(size))
