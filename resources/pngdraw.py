"""Small drawing helpers of the picture scripts beside this file: shapes
given as inside-tests with bounding boxes, painted back to front with
supersampled edges, and written as 24-bit PNG files. Pure standard library."""

import struct
import zlib


class Shape:
    """An inside(x, y) test, the box (x0, y0, x1, y1) it can be true in, and a colour."""

    def __init__(self, inside, box, colour):
        self.inside, self.box, self.colour = inside, box, colour


def ellipse(cx, cy, rx, ry, colour):
    return Shape(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0,
                 (cx - rx, cy - ry, cx + rx, cy + ry), colour)


def rect(x0, y0, x1, y1, colour):
    return Shape(lambda x, y: True, (x0, y0, x1, y1), colour)


def polygon(points, colour):
    """Even-odd fill of a closed polygon."""
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(inside, (min(xs), min(ys), max(xs), max(ys)), colour)


def clipped(shape, box):
    """The shape cut to a box."""
    x0, y0, x1, y1 = box
    inside = shape.inside
    return Shape(lambda x, y: x0 <= x <= x1 and y0 <= y <= y1 and inside(x, y),
                 (max(x0, shape.box[0]), max(y0, shape.box[1]),
                  min(x1, shape.box[2]), min(y1, shape.box[3])), shape.colour)


def render(width, height, shapes, key, edge, ss=3):
    """Rows of RGB bytes. Pixels no shape covers are key; partly covered
    pixels are blended with edge, the colour the picture will sit on. With
    key and edge None, rows of RGBA bytes: coverage becomes the alpha."""
    rgba = key is None
    rows = []
    n = ss * ss
    for py in range(height):
        row = bytearray()
        near = [s for s in shapes if s.box[1] <= py + 1 and s.box[3] >= py]
        for px in range(width):
            here = [s for s in near if s.box[0] <= px + 1 and s.box[2] >= px]
            if not here:
                row += bytes(4) if rgba else bytes(key)
                continue
            r = g = b = covered = 0
            for sy in range(ss):
                y = py + (sy + 0.5) / ss
                for sx in range(ss):
                    x = px + (sx + 0.5) / ss
                    colour = None
                    for s in here:
                        if s.box[0] <= x <= s.box[2] and s.box[1] <= y <= s.box[3] and s.inside(x, y):
                            colour = s.colour
                    if colour is not None:
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        covered += 1
            if covered == 0:
                row += bytes(4) if rgba else bytes(key)
            elif rgba:
                row += bytes((round(r / covered), round(g / covered), round(b / covered),
                              round(255 * covered / n)))
            else:
                r += edge[0] * (n - covered)
                g += edge[1] * (n - covered)
                b += edge[2] * (n - covered)
                row += bytes((round(r / n), round(g / n), round(b / n)))
        rows.append(bytes(row))
    return rows


def side_by_side(frames):
    """One strip of equally tall frames, left to right."""
    return [b"".join(frame[y] for frame in frames) for y in range(len(frames[0]))]


def png(rows, alpha=False):
    channels = 4 if alpha else 3
    height, width = len(rows), len(rows[0]) // channels

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + r for r in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))
