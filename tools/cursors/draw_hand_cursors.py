#!/usr/bin/env python3
"""Writes the control's two hand cursors, resources/open_hand.cur and closed_hand.cur.

Each hand is drawn below as text, 32 x 32: '#' black outline, '.' white, ' ' transparent.
The files are monochrome cursors: a 1-bit image over a 1-bit AND mask, rows bottom-up.
Run from anywhere: python3 tools/cursors/draw_hand_cursors.py
"""
import os
import struct

OPEN_HAND = """
           ##
       ## #..###
      #..##..#..#
      #..##..#..# #
       #..#..#..##.#
       #..#..#..#..#
     ## #.......#..#
    #..##..........#
    #...#.........#
     #............#
      #...........#
      #..........#
       #.........#
        #.......#
        #.......#
"""

CLOSED_HAND = """


        ## ## ##
       #..#..#..##
       #..#..#..#.#
      ##.........#
     #..........#
     #..........#
      #.........#
       #.......#
        #......#
        #......#
"""

SIZE = 32
HOTSPOT = (12, 10)


def rows_of(art):
    lines = art.split("\n")[1:]
    lines = (lines + [""] * SIZE)[:SIZE]
    # The drawing starts three rows down, so the hand sits round the hot spot.
    lines = ["", "", ""] + lines[: SIZE - 3]
    return [line.ljust(SIZE)[:SIZE] for line in lines]


def bits(rows, lit):
    """One bit per pixel, most significant first, rows bottom-up, each row 4 bytes."""
    out = bytearray()
    for row in reversed(rows):
        value = 0
        for ch in row:
            value = (value << 1) | (1 if lit(ch) else 0)
        out += struct.pack(">I", value)
    return bytes(out)


def cursor_file(art):
    rows = rows_of(art)
    xor_mask = bits(rows, lambda ch: ch == ".")  # white where drawn white
    and_mask = bits(rows, lambda ch: ch == " ")  # the screen shows through the rest
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 1, 0, len(xor_mask) + len(and_mask),
                         0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + xor_mask + and_mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOTSPOT[0], HOTSPOT[1], len(image), 6 + 16)
    return directory + entry + image


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources")
    for name, art in (("open_hand.cur", OPEN_HAND), ("closed_hand.cur", CLOSED_HAND)):
        with open(os.path.join(root, name), "wb") as f:
            f.write(cursor_file(art))


if __name__ == "__main__":
    main()
