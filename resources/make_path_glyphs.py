#!/usr/bin/env python3
"""Draws the path editor's and the directory list's glyphs as PNG files
beside this script. The directory list's folders, 16 x 15 each:
WIN95DIRLISTBOX_OPEN_FOLDER, _CLOSED_FOLDER and _CURRENT_FOLDER. The path
editor's browse button, 28 x 14 each, a normal and a disabled 14 x 14 image
side by side: BMP_OPEN_FILE (an opened folder), BMP_BROWSE_FOLDERS (a small
folder tree) and BMP_SAVE_FILE (a diskette). Every background is pure
fuchsia, and so is every bottom-left pixel: the colour the toolkit leaves
out. Pure standard library; run it to regenerate."""

import os

from pngdraw import png

KEY = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)
YELLOW = (255, 255, 0)
OCHRE = (128, 128, 0)
NAVY = (0, 0, 128)
BLUE = (0, 0, 255)

# Pixel art: one letter per pixel, "." for the background.
PALETTE = {".": KEY, "k": BLACK, "w": WHITE, "g": GREY, "s": SILVER,
           "y": YELLOW, "o": OCHRE, "n": NAVY, "b": BLUE}

CLOSED_FOLDER = [
    "................",
    "................",
    "..kkkkk.........",
    ".kwyywyk........",
    "kwyyyyyykkkkkk..",
    "kwyyyyyyyyyyyyk.",
    "kwyyyyyyyyyyyyk.",
    "kwyyyyyyyyyyyyk.",
    "kwyyyyyyyyyyyyk.",
    "kwyyyyyyyyyyyyk.",
    "kwyyyyyyyyyyyyk.",
    "kwoooooooooooyk.",
    "kkkkkkkkkkkkkkk.",
    "................",
    "................",
]

OPEN_FOLDER = [
    "................",
    "................",
    "..kkkkk.........",
    ".kwyywyk........",
    "kwyyyyyykkkkk...",
    "kwyyyyyyyyyyyk..",
    "kwyyykkkkkkkkkkk",
    "kwyykyyyyyyyyyok",
    "kwykyyyyyyyyyok.",
    "kwkyyyyyyyyyyok.",
    "kkyyyyyyyyyyok..",
    "kkyyyyyyyyyyok..",
    "kkkkkkkkkkkkk...",
    "................",
    "................",
]

CURRENT_FOLDER = [
    "................",
    ".....kkkkkk.....",
    "..kkkkwwwwkk....",
    ".kwyykwnnwwk....",
    "kwyyykwwwwwkk...",
    "kwyyykwnnnwwyk..",
    "kwyyykkkkkkkkkkk",
    "kwyykbbbbbbbbbnk",
    "kwykbbbbbbbbbnk.",
    "kwkbbbbbbbbbbnk.",
    "kkbbbbbbbbbbnk..",
    "kkbbbbbbbbbbnk..",
    "kkkkkkkkkkkkk...",
    "................",
    "................",
]

OPEN_FILE = [
    "..............",
    "..........k...",
    ".........kkk..",
    "..kkkk..k.k.k.",
    ".kwyywk...k...",
    "kwyyyyykkkk...",
    "kwyyyyyyyyyk..",
    "kwyykkkkkkkkkk",
    "kwykyyyyyyyyok",
    "kwkyyyyyyyyok.",
    "kkyyyyyyyyyok.",
    "kkyyyyyyyyok..",
    "kkkkkkkkkkk...",
    "..............",
]

BROWSE_FOLDERS = [
    "..............",
    ".kkk..........",
    "kyyykkkk......",
    "kyyyyyyk......",
    "kyyyyyyk......",
    "kkkkkkkk......",
    "..k...........",
    "..k...kkk.....",
    "..k..kyyykkkk.",
    "..kkkkyyyyyyk.",
    "......kyyyyyk.",
    "......kyyyyyk.",
    "......kkkkkkk.",
    "..............",
]

SAVE_FILE = [
    "..............",
    ".kkkkkkkkkkkk.",
    ".knwwwwwwwwnk.",
    ".knwwwwwwwwnk.",
    ".knwwwwwwwwnk.",
    ".knwwwwwwwwnk.",
    ".knnnnnnnnnnk.",
    ".knnssssssnnk.",
    ".knnsnnssnnnk.",
    ".knnsnnssnnnk.",
    ".knnssssssnnk.",
    "..kkkkkkkkkkk.",
    "..............",
    "..............",
]


def pixels(art):
    return [[PALETTE[c] for c in line] for line in art]


def disabled(image):
    """The disabled look: the shape's darker pixels in grey over a white
    copy one pixel down and right, everything else left out."""
    h, w = len(image), len(image[0])
    out = [[KEY] * w for _ in range(h)]
    dark = [[image[y][x] != KEY and sum(image[y][x]) < 3 * 160 for x in range(w)] for y in range(h)]
    for y in range(h):
        for x in range(w):
            if dark[y][x] and x + 1 < w and y + 1 < h:
                out[y + 1][x + 1] = WHITE
    for y in range(h):
        for x in range(w):
            if dark[y][x]:
                out[y][x] = GREY
    return out


def button(art):
    normal = pixels(art)
    return [a + b for a, b in zip(normal, disabled(normal))]


def write(name, rows):
    assert rows[-1][0] == KEY, name + ": the bottom-left pixel must show through"
    data = png([bytes(v for p in row for v in p) for row in rows])
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), name), "wb") as f:
        f.write(data)


def main():
    for art in (CLOSED_FOLDER, OPEN_FOLDER, CURRENT_FOLDER):
        assert len(art) == 15 and all(len(line) == 16 for line in art)
    for art in (OPEN_FILE, BROWSE_FOLDERS, SAVE_FILE):
        assert len(art) == 14 and all(len(line) == 14 for line in art)
    write("win95dir_open.png", pixels(OPEN_FOLDER))
    write("win95dir_closed.png", pixels(CLOSED_FOLDER))
    write("win95dir_current.png", pixels(CURRENT_FOLDER))
    write("bmp_open_file.png", button(OPEN_FILE))
    write("bmp_browse_folders.png", button(BROWSE_FOLDERS))
    write("bmp_save_file.png", button(SAVE_FILE))


if __name__ == "__main__":
    main()
