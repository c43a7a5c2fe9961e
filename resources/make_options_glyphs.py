#!/usr/bin/env python3
"""Draws the Options dialog's pictures beside this script, on pure fuchsia,
their transparent colour:

options_tab_hiding.png    24 x 24  a window tucked up against an edge, its strip showing
options_tab_sound.png     24 x 24  a loudspeaker with sound waves
options_tab_movement.png  24 x 24  a window sliding, with motion lines
options_tab_general.png   24 x 24  a cog wheel
options_accept.png        32 x 16  the Accept button's tick, normal and greyed

Pure standard library; run it to regenerate."""

import math
import os

from pngdraw import Shape, ellipse, polygon, png, rect, render, side_by_side

KEY = (255, 0, 255)
EDGE = (192, 192, 192)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
FACE = (200, 200, 200)
NAVY = (0, 0, 128)
SCREEN = (58, 110, 200)
GREEN = (0, 140, 0)
GREY = (128, 128, 128)
ORANGE = (230, 140, 20)


def ring(cx, cy, r0, r1, colour):
    return Shape(lambda x, y: r0 <= math.hypot(x - cx, y - cy) <= r1, (cx - r1, cy - r1, cx + r1, cy + r1), colour)


def arc(cx, cy, r, width, a0, a1, colour):
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        a = math.degrees(math.atan2(y - cy, x - cx))
        return abs(d - r) <= width / 2 and a0 <= a <= a1
    return Shape(inside, (cx - r - width, cy - r - width, cx + r + width, cy + r + width), colour)


def window(x0, y0, x1, y1):
    return [rect(x0, y0, x1, y1, BLACK), rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, FACE),
            rect(x0 + 1, y0 + 1, x1 - 1, y0 + 4, NAVY)]


def hiding():
    # A screen whose top edge holds the strip of a tucked window, and an arrow up.
    shapes = [rect(1, 3, 23, 21, BLACK), rect(2, 4, 22, 20, SCREEN),
              rect(4, 4, 20, 7, FACE), rect(4, 6, 20, 7, BLACK)]
    shapes.append(polygon([(12, 9), (17, 14), (14, 14), (14, 18), (10, 18), (10, 14), (7, 14)], WHITE))
    return render(24, 24, shapes, KEY, EDGE)


def sound():
    shapes = [rect(3, 9, 8, 15, BLACK), rect(4, 10, 7, 14, FACE),
              polygon([(7, 9), (13, 4), (13, 20), (7, 15)], BLACK),
              polygon([(8, 10), (12, 6.5), (12, 17.5), (8, 14)], FACE)]
    for r in (4, 7.5):
        shapes.append(arc(13, 12, r, 1.6, -50, 50, NAVY))
    return render(24, 24, shapes, KEY, EDGE)


def movement():
    shapes = window(9, 6, 23, 18)
    for y, x0 in ((8, 1), (12, 3), (16, 1)):
        shapes.append(rect(x0, y, 8, y + 1.4, ORANGE))
    return render(24, 24, shapes, KEY, EDGE)


def general():
    teeth = []
    for k in range(8):
        a = k * math.pi / 4
        cx, cy = 12 + 8 * math.cos(a), 12 + 8 * math.sin(a)
        teeth.append(ellipse(cx, cy, 2.4, 2.4, GREY))
    shapes = teeth + [ellipse(12, 12, 8, 8, GREY), ellipse(12, 12, 3.2, 3.2, FACE)]
    return render(24, 24, shapes, KEY, EDGE)


def tick(colour, shade):
    pts = [(2, 8), (5, 6), (7, 9), (13, 2), (15, 4), (7, 13)]
    shapes = []
    if shade:
        shapes.append(polygon([(x + 1, y + 1) for x, y in pts], shade))
    shapes.append(polygon(pts, colour))
    return render(16, 16, shapes, KEY, EDGE)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    pictures = {
        "options_tab_hiding.png": hiding(),
        "options_tab_sound.png": sound(),
        "options_tab_movement.png": movement(),
        "options_tab_general.png": general(),
        "options_accept.png": side_by_side([tick(GREEN, None), tick(GREY, WHITE)]),
    }
    for name, rows in pictures.items():
        out = os.path.join(here, name)
        with open(out, "wb") as f:
            f.write(png(rows))
        print(out)
