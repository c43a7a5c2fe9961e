#!/usr/bin/env python3
"""Draws the two frame strips of the About box beside this script.

about_side.png: 10 frames of 82 x 192, side by side: a window with a
Venetian blind whose slats open from closed (frame 0) to a view of a sunny
sky (frame 9). Pure green is its transparent colour.

about_top.png: 8 frames of 299 x 52: a little IDE window tucked against the
top edge, only its bottom strip showing (frame 0), sliding down until it is
shown whole (frame 7), with the pointer resting on the edge. Pure red is its
transparent colour.

Edges are smoothed against the dialog's grey. Pure standard library; run it
to regenerate."""

import math
import os

from pngdraw import clipped, ellipse, polygon, png, rect, render, side_by_side

DIALOG_GREY = (192, 192, 192)
LIME = (0, 255, 0)
RED = (255, 0, 0)

WOOD = (139, 90, 43)
WOOD_DARK = (96, 60, 28)
SUN = (255, 214, 64)
HILL = (60, 150, 60)
HILL_FAR = (110, 180, 90)
SLAT = (236, 228, 206)
SLAT_EDGE = (176, 160, 132)
CORD = (120, 110, 90)
INK = (30, 30, 40)


def sky_band(y0, y1, top, bottom, x0, x1, bands=12):
    """A vertical gradient as horizontal bands."""
    out = []
    for i in range(bands):
        t = i / (bands - 1)
        colour = tuple(round(top[k] + (bottom[k] - top[k]) * t) for k in range(3))
        a = y0 + (y1 - y0) * i / bands
        b = y0 + (y1 - y0) * (i + 1) / bands
        out.append(rect(x0, a, x1, b, colour))
    return out


def side_frame(f, count=10):
    t = f / (count - 1)  # 0 closed, 1 open
    shapes = [
        rect(2, 182, 80, 189, WOOD_DARK),        # sill
        rect(6, 4, 76, 184, WOOD),               # frame
        rect(9, 7, 73, 181, WOOD_DARK),
    ]
    x0, y0, x1, y1 = 12, 10, 70, 178
    shapes += sky_band(y0, y1, (70, 130, 230), (190, 225, 255), x0, x1)
    shapes += [
        ellipse(52, 46, 11, 11, SUN),
        clipped(ellipse(20, 196, 40, 36, HILL_FAR), (x0, y0, x1, y1)),
        clipped(ellipse(62, 200, 44, 40, HILL), (x0, y0, x1, y1)),
        # A bird, two strokes of a "v".
        polygon([(24, 70), (30, 75), (36, 70), (36, 72), (30, 78), (24, 72)], INK),
    ]
    # The blind: twelve slats, each as tall as its pitch when closed and
    # turning edge-on as the blind opens.
    slats, pitch = 12, (y1 - y0) / 12
    for i in range(slats):
        centre = y0 + pitch * (i + 0.5)
        h = 1.6 + (pitch - 1.6) * (1 - t) ** 1.5
        shapes.append(rect(x0, centre - h / 2, x1, centre + h / 2, SLAT))
        shapes.append(rect(x0, centre + h / 2 - 1, x1, centre + h / 2, SLAT_EDGE))
    shapes.append(rect(40.5, y0, 41.5, y1 + 2, CORD))
    shapes.append(ellipse(41, y1 + 3, 2, 3, CORD))
    shapes.append(rect(x0 - 1, y0 - 2, x1 + 1, y0 + 1, WOOD_DARK))  # head rail
    return render(82, 192, shapes, LIME, DIALOG_GREY)


NAVY = (0, 0, 128)
TITLE_LIGHT = (40, 120, 200)
FACE = (200, 200, 200)
SHADE = (128, 128, 128)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
ICONS = [(200, 40, 40), (40, 160, 40), (40, 80, 200), (220, 180, 30), (150, 60, 170),
         (30, 160, 170)]


def ease(t):
    return 0.5 - 0.5 * math.cos(math.pi * t)


def top_frame(f, count=8):
    height = 46
    shown = 5 + (height - 5) * ease(f / (count - 1))
    top = shown - height            # the window's top edge, above the strip when tucked
    x0, x1 = 20, 280
    shapes = [
        rect(x0, top, x1, shown, BLACK),
        rect(x0, top, x1 - 1, shown - 1, WHITE),
        rect(x0 + 1, top + 1, x1 - 1, shown - 1, SHADE),
        rect(x0 + 1, top + 1, x1 - 2, shown - 2, FACE),
    ]
    # The title bar, blue fading to light blue, with a wing for an icon and
    # the three caption buttons.
    for i in range(8):
        t = i / 7
        colour = tuple(round(NAVY[k] + (TITLE_LIGHT[k] - NAVY[k]) * t) for k in range(3))
        a = x0 + 3 + (x1 - x0 - 6) * i / 8
        b = x0 + 3 + (x1 - x0 - 6) * (i + 1) / 8
        shapes.append(rect(a, top + 3, b, top + 14, colour))
    shapes.append(polygon([(x0 + 6, top + 12), (x0 + 9, top + 5), (x0 + 16, top + 4),
                           (x0 + 12, top + 8), (x0 + 15, top + 9), (x0 + 10, top + 12)], SUN))
    for k in range(3):
        bx = x1 - 46 + k * 14
        shapes += [rect(bx, top + 5, bx + 12, top + 13, WHITE),
                   rect(bx + 1, top + 6, bx + 12, top + 13, SHADE),
                   rect(bx + 1, top + 6, bx + 11, top + 12, FACE),
                   rect(bx + 3, top + 9, bx + 9, top + 10, BLACK)]
    # The menu bar: words as short dark dashes.
    x = x0 + 6
    for w in (14, 12, 18, 16, 22, 10, 14):
        shapes.append(rect(x, top + 17, x + w, top + 19, (60, 60, 60)))
        x += w + 8
    # The tool bar: a row of coloured buttons, and a palette of tabs.
    for k in range(12):
        bx = x0 + 6 + k * 13
        shapes += [rect(bx, top + 23, bx + 11, top + 34, WHITE),
                   rect(bx + 1, top + 24, bx + 11, top + 34, SHADE),
                   rect(bx + 1, top + 24, bx + 10, top + 33, FACE),
                   ellipse(bx + 5.5, top + 28.5, 3, 3, ICONS[k % len(ICONS)])]
    for k in range(5):
        tx = x0 + 168 + k * 18
        shapes += [rect(tx, top + 24, tx + 16, top + 34, WHITE),
                   rect(tx + 1, top + 25, tx + 16, top + 34, FACE)]
    shapes.append(rect(x0 + 4, top + 37, x1 - 4, top + 42, SHADE))  # status line
    # The pointer resting on the screen edge.
    px, py = 150, 1
    arrow = [(0, 0), (0, 15), (4, 11), (7, 18), (9, 17), (6, 10), (11, 10)]
    shapes.append(polygon([(px + ax, py + ay) for ax, ay in arrow], BLACK))
    inner = [(1, 2.5), (1, 12.6), (4.3, 9.3), (7.4, 16.3), (7.8, 16.1), (4.7, 9), (8.6, 9)]
    shapes.append(polygon([(px + ax, py + ay) for ax, ay in inner], WHITE))
    return render(299, 52, shapes, RED, DIALOG_GREY)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, frames in (("about_side.png", [side_frame(f) for f in range(10)]),
                         ("about_top.png", [top_frame(f) for f in range(8)])):
        out = os.path.join(here, name)
        with open(out, "wb") as f:
            f.write(png(side_by_side(frames)))
        print(out)
