#!/usr/bin/env python3
"""Draws the glyphs of the main panel's buttons as PNG files beside this
script: BTN_START (32 x 32, a window slid up against the screen edge),
BTN_STOP (16 x 16, a red square), BTN_OPTIONS (two 16 x 16 images side by
side, normal and disabled: a ticked check box), BTN_HIDE (16 x 16, a
window being lowered) and BTN_ABOUT (16 x 16, an "i" in a blue disc).
The background is pure fuchsia, the glyphs' transparent colour. Pure
standard library; run it to regenerate."""

import math
import os
import struct
import zlib

KEY = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
LIGHT = (192, 192, 192)
NAVY = (0, 0, 128)
BLUE = (0, 0, 200)
RED = (200, 0, 0)
DARK_RED = (96, 0, 0)
GREEN = (0, 128, 0)


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[KEY] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        """Fills the pixels x0..x1-1, y0..y1-1."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1):
            self.put(x, y0, c)
            self.put(x, y1 - 1, c)
        for y in range(y0, y1):
            self.put(x0, y, c)
            self.put(x1 - 1, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                if math.hypot(x + 0.5 - cx, y + 0.5 - cy) <= r:
                    self.put(x, y, c)

    def save(self, path):
        raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in self.px)

        def chunk(tag, data):
            body = tag + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
            f.write(chunk(b"IEND", b""))


def start():
    c = Canvas(32, 32)
    # The screen's top edge, and a window tucked up against it.
    c.rect(1, 1, 31, 3, BLACK)
    c.rect(6, 3, 26, 9, NAVY)
    c.frame(6, 3, 26, 9, BLACK)
    # An arrow pointing up at it.
    for row in range(8):
        c.rect(16 - row - 1, 12 + row, 16 + row + 1, 13 + row, GREEN)
    c.rect(12, 20, 20, 30, GREEN)
    c.frame(12, 20, 20, 30, BLACK)
    return c


def stop():
    c = Canvas(16, 16)
    c.rect(3, 3, 13, 13, RED)
    c.frame(3, 3, 13, 13, DARK_RED)
    return c


def options():
    c = Canvas(32, 16)
    for part, (box, tick, edge) in enumerate([(WHITE, GREEN, BLACK), (LIGHT, GREY, GREY)]):
        ox = part * 16
        c.rect(ox + 2, 2, ox + 14, 14, box)
        c.frame(ox + 2, 2, ox + 14, 14, edge)
        for x, y in [(4, 8), (5, 9), (6, 10), (7, 9), (8, 8), (9, 7), (10, 6), (11, 5)]:
            c.put(ox + x, y, tick)
            c.put(ox + x, y + 1, tick)
    return c


def hide():
    c = Canvas(16, 16)
    c.rect(2, 1, 14, 10, WHITE)
    c.rect(2, 1, 14, 3, NAVY)
    c.frame(2, 1, 14, 10, BLACK)
    # A bar below: the window goes down out of the way.
    for row in range(3):
        c.rect(5 + row, 11 + row, 11 - row, 12 + row, BLACK)
    return c


def about():
    c = Canvas(16, 16)
    c.disc(8, 8, 7, BLUE)
    c.rect(7, 3, 9, 5, WHITE)
    c.rect(7, 6, 9, 13, WHITE)
    return c


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, draw in [("btn_start", start), ("btn_stop", stop), ("btn_options", options),
                       ("btn_hide", hide), ("btn_about", about)]:
        draw().save(os.path.join(here, name + ".png"))
