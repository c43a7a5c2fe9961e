#!/usr/bin/env python3
"""Draws oops.png, the picture on the left of the "Oops!" dialog: a
surprised round face above an exclamation mark, 75 x 119 pixels. The
background is pure fuchsia, the picture's transparent colour; edges are
smoothed against a light grey. Pure standard library; run it to regenerate."""

import math
import os

from pngdraw import png

W, H = 75, 119
SS = 4  # supersampling per axis, for smooth edges


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def ring(cx, cy, r, width):
    return lambda x, y: r - width <= math.hypot(x - cx, y - cy) <= r


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        qx = min(max(x, x0 + r), x1 - r)
        qy = min(max(y, y0 + r), y1 - r)
        return math.hypot(x - qx, y - qy) <= r
    return inside


def arc(cx, cy, r, width, a0, a1):
    """A stroke along a circle between two angles (degrees, y down)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if not (r - width / 2 <= d <= r + width / 2):
            return False
        a = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return a0 <= a <= a1
    return inside


def tapered_bar(cx, y0, y1, w0, w1):
    """The stroke of the exclamation mark: wide at the top, narrow below."""
    def inside(x, y):
        if not (y0 <= y <= y1):
            return False
        t = (y - y0) / (y1 - y0)
        half = (w0 + (w1 - w0) * t) / 2
        return abs(x - cx) <= half
    return inside


FACE = (255, 214, 64)
FACE_EDGE = (196, 128, 0)
WHITE = (255, 255, 255)
INK = (40, 30, 20)
BLUSH = (250, 150, 120)
MOUTH = (150, 40, 30)
MARK = (40, 90, 200)
MARK_EDGE = (20, 45, 120)
SWEAT = (120, 190, 255)

KEY = (255, 0, 255)
EDGE_BACKGROUND = (212, 208, 200)

# Painted back to front.
SHAPES = [
    (ellipse(37.5, 38, 33, 33), FACE_EDGE),
    (ellipse(37.5, 38, 30.5, 30.5), FACE),
    (ellipse(16, 47, 5, 3.2), BLUSH),
    (ellipse(59, 47, 5, 3.2), BLUSH),
    (ellipse(26, 31, 7, 8.5), INK),
    (ellipse(49, 31, 7, 8.5), INK),
    (ellipse(26, 31, 5.5, 7), WHITE),
    (ellipse(49, 31, 5.5, 7), WHITE),
    (ellipse(27, 33, 3, 3.5), INK),
    (ellipse(48, 33, 3, 3.5), INK),
    (ellipse(28, 32, 1, 1), WHITE),
    (ellipse(49, 32, 1, 1), WHITE),
    (arc(26, 26, 12, 2.2, 235, 305), INK),
    (arc(49, 26, 12, 2.2, 235, 305), INK),
    (ellipse(37.5, 53, 6, 7.5), INK),
    (ellipse(37.5, 53, 4.6, 6.1), MOUTH),
    (ellipse(64, 19, 3.2, 4.5), SWEAT),
    (tapered_bar(37.5, 76, 103, 13, 7), MARK_EDGE),
    (tapered_bar(37.5, 77.5, 101.5, 10, 4.5), MARK),
    (ellipse(37.5, 111, 6.5, 6.5), MARK_EDGE),
    (ellipse(37.5, 111, 5, 5), MARK),
]


def render():
    rows = []
    for py in range(H):
        row = bytearray()
        for px in range(W):
            r = g = b = a = 0.0
            for sy in range(SS):
                for sx in range(SS):
                    x = px + (sx + 0.5) / SS
                    y = py + (sy + 0.5) / SS
                    colour = None
                    for inside, c in SHAPES:
                        if inside(x, y):
                            colour = c
                    if colour is not None:
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        a += 1
            n = SS * SS
            if a == 0:
                row += bytes(KEY)
            else:
                # Partly covered pixels are blended with the edge grey.
                r += EDGE_BACKGROUND[0] * (n - a)
                g += EDGE_BACKGROUND[1] * (n - a)
                b += EDGE_BACKGROUND[2] * (n - a)
                row += bytes((round(r / n), round(g / n), round(b / n)))
        rows.append(bytes(row))
    return rows


if __name__ == "__main__":
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "oops.png")
    with open(out, "wb") as f:
        f.write(png(render()))
    print(out)
