#!/usr/bin/env python3
"""Draws the About box's two pictures as 24-bit BMP files for resources/quillon.rc:

  quillon_logo.bmp    48 x 48: a plot sheet with a grid and a curve, and a quill across it
  quillon_banner.bmp  176 x 32: the word QUILLON beside a plotted curve

Run from anywhere: python3 tools/about_bitmaps/make_about_bitmaps.py
The files are written into resources/ and committed; run again after changing a drawing.
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.join(HERE, "..", "..", "resources")

DIALOG_GREY = (240, 240, 240)
SHEET = (252, 252, 246)
GRID = (200, 214, 230)
INK = (24, 60, 140)
CURVE = (200, 40, 40)
QUILL = (250, 250, 255)
QUILL_EDGE = (90, 90, 110)


class Canvas:
    def __init__(self, width, height, background):
        self.width, self.height = width, height
        self.pixels = [[background] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            for dy in range(width):
                for dx in range(width):
                    self.put(int(round(x)) + dx, int(round(y)) + dy, colour)

    def polygon(self, points, colour):
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            yc = y + 0.5
            xs = []
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay <= yc < by) or (by <= yc < ay):
                    xs.append(ax + (yc - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for x in range(int(math.ceil(a - 0.5)), int(math.floor(b - 0.5)) + 1):
                    self.put(x, y, colour)

    def save(self, path):
        row_bytes = (self.width * 3 + 3) & ~3
        data = bytearray()
        for row in reversed(self.pixels):  # bottom-up rows
            line = bytearray()
            for r, g, b in row:
                line += bytes((b, g, r))
            line += b"\0" * (row_bytes - len(line))
            data += line
        header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(data),
                           2835, 2835, 0, 0)
        with open(path, "wb") as out:
            out.write(header + info + data)


def plot_sheet(c, x0, y0, x1, y1, grid_step):
    c.rect(x0, y0, x1, y1, SHEET)
    for x in range(x0 + grid_step, x1, grid_step):
        c.line(x, y0, x, y1 - 1, GRID)
    for y in range(y0 + grid_step, y1, grid_step):
        c.line(x0, y, x1 - 1, y, GRID)
    c.line(x0, y0, x1 - 1, y0, INK)
    c.line(x0, y1 - 1, x1 - 1, y1 - 1, INK)
    c.line(x0, y0, x0, y1 - 1, INK)
    c.line(x1 - 1, y0, x1 - 1, y1 - 1, INK)


def curve(c, x0, x1, base, amplitude, periods, colour, width):
    previous = None
    for x in range(x0, x1):
        t = (x - x0) / (x1 - x0)
        y = base - amplitude * math.sin(t * periods * 2 * math.pi) * (0.4 + 0.6 * t)
        if previous:
            c.line(previous[0], previous[1], x, y, colour, width)
        previous = (x, y)


def quill(c, tip, back, half_width):
    # A feather: a long leaf shape from the tip along the shaft, with its quill edge drawn.
    (tx, ty), (bx, by) = tip, back
    length = math.hypot(bx - tx, by - ty)
    ux, uy = (bx - tx) / length, (by - ty) / length
    nx, ny = -uy, ux
    outline = []
    for i in range(0, 21):
        s = i / 20
        w = half_width * math.sin(math.pi * min(1.0, s * 1.15)) if s > 0.12 else 0
        outline.append((tx + ux * length * s + nx * w, ty + uy * length * s + ny * w))
    for i in range(20, -1, -1):
        s = i / 20
        w = 0.55 * half_width * math.sin(math.pi * min(1.0, s * 1.15)) if s > 0.12 else 0
        outline.append((tx + ux * length * s - nx * w, ty + uy * length * s - ny * w))
    c.polygon(outline, QUILL)
    for a, b in zip(outline, outline[1:] + outline[:1]):
        c.line(a[0], a[1], b[0], b[1], QUILL_EDGE)
    c.line(tx, ty, bx + ux * 3, by + uy * 3, QUILL_EDGE)
    c.line(tx, ty, tx + ux * 6, ty + uy * 6, INK, 2)


FONT = {  # 5 x 7 letters, one string per row
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "I": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
}


def word(c, text, x, y, scale, colour):
    for letter in text:
        for row, bits in enumerate(FONT[letter]):
            for col, bit in enumerate(bits):
                if bit == "#":
                    c.rect(x + col * scale, y + row * scale, x + (col + 1) * scale,
                           y + (row + 1) * scale, colour)
        x += 6 * scale


def logo():
    c = Canvas(48, 48, DIALOG_GREY)
    plot_sheet(c, 2, 6, 40, 46, 6)
    curve(c, 4, 38, 30, 9, 1.5, CURVE, 2)
    quill(c, (14, 34), (46, 2), 6)
    return c


def banner():
    c = Canvas(176, 32, DIALOG_GREY)
    plot_sheet(c, 0, 2, 40, 30, 7)
    curve(c, 2, 38, 17, 8, 2, CURVE, 2)
    word(c, "QUILLON", 48, 5, 3, INK)
    c.line(48, 28, 171, 28, CURVE, 2)
    return c


def main():
    logo().save(os.path.join(RESOURCES, "quillon_logo.bmp"))
    banner().save(os.path.join(RESOURCES, "quillon_banner.bmp"))


if __name__ == "__main__":
    main()
