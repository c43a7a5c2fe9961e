#!/usr/bin/env python3
"""Draws the program's icon beside this script, at 48 x 48 and 128 x 128:
a screen with an IDE window tucked up against its top edge, only its strip
showing, and a second one slid off the left edge, a pointer resting on the
top strip. Transparent around the screen. Pure standard library; run it to
regenerate."""

import os

from pngdraw import polygon, png, rect, render

BEZEL = (48, 52, 64)
SCREEN_TOP = (58, 110, 200)
SCREEN_BOTTOM = (120, 180, 240)
WINDOW = (210, 210, 210)
TITLE = (0, 0, 128)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
STAND = (90, 94, 104)


def rounded(x0, y0, x1, y1, r, colour):
    def inside(x, y):
        qx = min(max(x, x0 + r), x1 - r)
        qy = min(max(y, y0 + r), y1 - r)
        return (x - qx) ** 2 + (y - qy) ** 2 <= r * r
    shape = rect(x0, y0, x1, y1, colour)
    shape.inside = inside
    return shape


def icon(size):
    u = size / 48.0  # drawn on a 48-unit grid

    def p(v):
        return v * u

    shapes = [
        rect(p(20), p(38), p(28), p(43), STAND),
        rounded(p(12), p(42), p(36), p(46), p(1.5), STAND),
        rounded(p(2), p(5), p(46), p(39), p(3), BEZEL),
    ]
    x0, y0, x1, y1 = p(5), p(8), p(43), p(36)
    for i in range(8):
        t = i / 7
        colour = tuple(round(SCREEN_TOP[k] + (SCREEN_BOTTOM[k] - SCREEN_TOP[k]) * t) for k in range(3))
        shapes.append(rect(x0, y0 + (y1 - y0) * i / 8, x1, y0 + (y1 - y0) * (i + 1) / 8, colour))
    # The main window tucked against the top: a strip of its bottom edge.
    shapes += [rect(p(9), y0, p(39), y0 + p(3), WINDOW),
               rect(p(9), y0 + p(2.4), p(39), y0 + p(3), BLACK)]
    # The inspector slid off the left: its right edge, a strip down the side.
    shapes += [rect(x0, p(14), x0 + p(3), p(33), WINDOW),
               rect(x0 + p(2.4), p(14), x0 + p(3), p(33), BLACK)]
    # A revealed window in the middle, to say what the strips stand for.
    shapes += [rect(p(15), p(17), p(37), p(31), BLACK),
                rect(p(15.6), p(17.6), p(36.4), p(30.4), WINDOW),
                rect(p(15.6), p(17.6), p(36.4), p(20.5), TITLE)]
    # The pointer on the top strip.
    arrow = [(0, 0), (0, 11), (3, 8), (5, 13), (7, 12), (5, 7.5), (8.5, 7.5)]
    shapes.append(polygon([(p(24 + ax), y0 + p(1 + ay)) for ax, ay in arrow], BLACK))
    inner = [(0.9, 2), (0.9, 8.9), (3.2, 6.7), (5.3, 11.6), (5.9, 11.3), (3.9, 6.6), (6.5, 6.6)]
    shapes.append(polygon([(p(24 + ax), y0 + p(1 + ay)) for ax, ay in inner], WHITE))
    return render(size, size, shapes, None, None, ss=4)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for size in (48, 128):
        out = os.path.join(here, f"wingtucker_{size}.png")
        with open(out, "wb") as f:
            f.write(png(icon(size), alpha=True))
        print(out)
