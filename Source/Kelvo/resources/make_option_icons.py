#!/usr/bin/env python3
# Writes the options dialog's icons as 32-bit icon files with a 32 x 32 and a 64 x 64 image:
# option_gestures.ico (2003: a stroke leaving a key), option_keyboard.ico (2004: the keyboard),
# option_delay.ico (2005: a stopwatch) and option_rate.ico (2006: two circling arrows).
# Shapes are described in a 32-unit square and sampled 4 x 4 times per pixel for smooth edges.
import math
import sys

from icon_file import icon_file

SAMPLES = 4


def inside_polygon(x, y, points):
    hit = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0 if length == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length))
    px, py = ax + t * dx, ay + t * dy
    return math.hypot(x - px, y - py)


def rounded_rect(x0, y0, x1, y1, r):
    def test(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return math.hypot(x - cx, y - cy) <= r
    return test


def disc(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) <= r


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= width / 2


def stroke(points, width):
    def test(x, y):
        return any(segment_distance(x, y, *points[i], *points[i + 1]) <= width / 2
                   for i in range(len(points) - 1))
    return test


def polygon(points):
    return lambda x, y: inside_polygon(x, y, points)


def arc(cx, cy, r, width, start, end):
    # Degrees, clockwise from the positive x axis (y grows downward).
    def test(x, y):
        if abs(math.hypot(x - cx, y - cy) - r) > width / 2:
            return False
        angle = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return (angle - start) % 360 <= (end - start) % 360
    return test


def arrow_head(tipx, tipy, dirx, diry, size):
    length = math.hypot(dirx, diry)
    ux, uy = dirx / length, diry / length
    bx, by = tipx - ux * size, tipy - uy * size
    return polygon([(tipx, tipy), (bx - uy * size * 0.7, by + ux * size * 0.7),
                    (bx + uy * size * 0.7, by - ux * size * 0.7)])


def keyboard():
    layers = [(rounded_rect(1, 7, 31, 26, 3), (60, 64, 72)),
              (rounded_rect(2, 8, 30, 25, 2.5), (92, 98, 110))]
    for row, (y, count, left) in enumerate([(10, 7, 3.5), (14, 7, 4.5), (18, 6, 5.5)]):
        for k in range(count):
            x = left + k * 3.6
            layers.append((rounded_rect(x, y, x + 2.8, y + 2.8, 0.6), (235, 238, 242)))
    layers.append((rounded_rect(9, 22, 23, 24, 0.6), (235, 238, 242)))
    return layers


def stopwatch():
    return [(rounded_rect(13.5, 2, 18.5, 5.5, 1), (70, 70, 80)),
            (disc(16, 18, 13), (40, 90, 170)),
            (disc(16, 18, 10.5), (250, 250, 250)),
            (stroke([(16, 18), (16, 10)], 2.2), (30, 30, 30)),
            (stroke([(16, 18), (21, 21)], 2.2), (200, 40, 40)),
            (disc(16, 18, 1.8), (30, 30, 30))]


def circling_arrows():
    green = (30, 150, 70)
    return [(arc(16, 16, 11, 4, 200, 340), green),
            (arrow_head(28.5, 17, 0.3, 1, 6), green),
            (arc(16, 16, 11, 4, 20, 160), green),
            (arrow_head(3.5, 15, -0.3, -1, 6), green)]


def gesture():
    return [(rounded_rect(2, 14, 18, 30, 3), (60, 64, 72)),
            (rounded_rect(3.5, 15.5, 16.5, 28.5, 2), (235, 238, 242)),
            (stroke([(10, 22), (14, 16), (19, 11), (23, 8)], 3), (230, 120, 20)),
            (arrow_head(30, 3, 1, -0.75, 7), (230, 120, 20))]


def pixels(layers, size):
    scale = 32.0 / size
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            totals = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    ux = (x + (sx + 0.5) / SAMPLES) * scale
                    uy = (y + (sy + 0.5) / SAMPLES) * scale
                    colour = None
                    for test, c in layers:
                        if test(ux, uy):
                            colour = c
                    if colour is not None:
                        covered += 1
                        for i in range(3):
                            totals[i] += colour[i]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                alpha = round(255 * covered / (SAMPLES * SAMPLES))
                row.append(tuple(round(t / covered) for t in totals) + (alpha,))
        rows.append(row)
    return rows


def icon(layers, sizes=(32, 64)):
    return icon_file([pixels(layers, size) for size in sizes])


folder = sys.argv[1] if len(sys.argv) > 1 else "."
for name, layers in (("option_gestures.ico", gesture()), ("option_keyboard.ico", keyboard()),
                     ("option_delay.ico", stopwatch()), ("option_rate.ico", circling_arrows())):
    with open(f"{folder}/{name}", "wb") as out:
        out.write(icon(layers))
