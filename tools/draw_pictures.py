#!/usr/bin/env python3
"""Draws the pictures of Snapvane into src/app/res/.

Everything is drawn pixel by pixel on a grid (no downscaling), from small
character maps and a few exact primitives, so the output is the same on every
run.  The generated files are committed; the build only compiles
res/pictures.rc and never runs this script.

    python3 tools/draw_pictures.py [--sheet /tmp/pictures_sheet.png]

Needs Pillow (Debian: python3-pil).  --sheet also writes an enlarged contact
sheet of every picture for looking at them.

Conventions of the pictures:
  * BMPs are uncompressed 24-bit (BI_RGB), bottom-up.
  * Glyphs, tab icons and button faces use olive RGB(128,128,0) for their
    transparent pixels; that colour appears nowhere else in them.
  * A two-state glyph holds the normal face on the left and the greyed
    (disabled) face on the right, each square.
"""

import argparse
import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "src", "app", "res")

OLIVE = (128, 128, 0)
BTNFACE = (212, 208, 200)

# One palette for all glyphs and icons.  '.' is the transparent key.
PAL = {
    ".": OLIVE,
    "K": (24, 24, 32),      # outline
    "W": (255, 255, 255),
    "L": (216, 216, 220),   # light grey
    "G": (168, 168, 176),   # grey
    "D": (104, 104, 112),   # dark grey
    "R": (224, 36, 36),     # red
    "r": (148, 16, 16),     # dark red
    "P": (255, 144, 144),   # light red
    "B": (48, 104, 216),    # blue
    "b": (24, 52, 140),     # dark blue
    "C": (156, 204, 255),   # light blue
    "N": (44, 176, 60),     # green
    "n": (20, 108, 32),     # dark green
    "M": (156, 232, 140),   # light green
    "Y": (252, 216, 64),    # yellow
    "y": (192, 140, 20),    # dark yellow
    "A": (0, 0, 0),         # black (grip of the capture frame)
}
assert list(PAL.values()).count(OLIVE) == 1


class Canvas:
    """A small RGB pixel grid with exact, non-antialiased primitives."""

    def __init__(self, w, h, bg="."):
        self.w, self.h = w, h
        self.px = [[self._c(bg)] * w for _ in range(h)]

    @staticmethod
    def _c(c):
        return PAL[c] if isinstance(c, str) else tuple(c)

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h and c is not None:
            self.px[y][x] = self._c(c)

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, fill=None, outline=None):
        """Inclusive rectangle."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                self.set(x, y, outline if (edge and outline) else fill)

    def hline(self, x0, x1, y, c):
        for x in range(x0, x1 + 1):
            self.set(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(y0, y1 + 1):
            self.set(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def shape(self, inside, fill, outline=None, box=None):
        """Fills the pixels for which inside(x, y) holds; those with a
        4-neighbour outside get the outline colour."""
        x0, y0, x1, y1 = box or (0, 0, self.w - 1, self.h - 1)
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                if not inside(x, y):
                    continue
                edge = not all(inside(x + dx, y + dy)
                               for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                self.set(x, y, outline if (edge and outline) else fill)

    def disc(self, cx, cy, r, fill, outline=None):
        """Disc of pixel centres within r of (cx, cy); centres may be .5."""
        def inside(x, y):
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        self.shape(inside, fill, outline)

    def stamp(self, rows, x0=0, y0=0, pal=None):
        """Copies a character map; spaces are left untouched."""
        width = len(rows[0])
        for y, row in enumerate(rows):
            assert len(row) == width, (row, len(row), width)
            for x, ch in enumerate(row):
                if ch != " ":
                    self.set(x0 + x, y0 + y, (pal or PAL)[ch])

    def paste(self, other, x0, y0, skip=OLIVE):
        for y in range(other.h):
            for x in range(other.w):
                c = other.get(x, y)
                if c != skip:
                    self.set(x0 + x, y0 + y, c)

    def image(self):
        img = Image.new("RGB", (self.w, self.h))
        img.putdata([c for row in self.px for c in row])
        return img


def from_map(rows):
    c = Canvas(len(rows[0]), len(rows))
    c.stamp(rows)
    return c


# ---------------------------------------------------------------- greying

def greyed(face):
    """The disabled face: the picture in pale greys with its contrast
    halved, so it stays legible but clearly sits back."""
    out = Canvas(face.w, face.h)
    for y in range(face.h):
        for x in range(face.w):
            c = face.get(x, y)
            if c == OLIVE:
                continue
            lum = 0.30 * c[0] + 0.59 * c[1] + 0.11 * c[2]
            g = int(round(120 + lum * 0.45))
            out.set(x, y, (g, g, g))
    return out


def two_state(face):
    both = Canvas(face.w * 2, face.h)
    both.paste(face, 0, 0)
    both.paste(greyed(face), face.w, 0)
    return both


# ---------------------------------------------------------------- tab icons

def tab_camera(plus=False):
    c = from_map([
        "................",
        "................",
        ".....KKKKKK.....",
        "....KGLLLLGK....",
        ".KKKKKKKKKKKKKK.",
        ".KWLLLKKKKLLYYK.",
        ".KLLLKDDDDKLyyK.",
        ".KLLKDCBBBDKLLK.",
        ".KGGKDBWBBDKGGK.",
        ".KGGKDBBBBDKGGK.",
        ".KGGKDBBBbDKGGK.",
        ".KGGGKDDDDKGGGK.",
        ".KDDDDKKKKDDDDK.",
        ".KKKKKKKKKKKKKK.",
        "................",
        "................",
    ])
    if plus:
        # the same camera, raised, with a green plus badge
        up = Canvas(16, 16)
        for y in range(1, 16):
            for x in range(16):
                up.set(x, y - 1, c.get(x, y))
        c = up
        c.stamp([
            "..KKK..",
            "..KMK..",
            "KKKNKKK",
            "KMNNNnK",
            "KKKNKKK",
            "..KnK..",
            "..KKK..",
        ], 9, 9)
    return c


def tab_about():
    c = Canvas(16, 16)
    c.disc(7.5, 7.5, 7.6, "B", "b")
    c.stamp([
        " CC ",
        " CC ",
    ], 3, 3)
    c.stamp([
        " WW ",
        " WW ",
        "    ",
        "WWW ",
        " WW ",
        " WW ",
        " WW ",
        " WW ",
        "WWWW",
    ], 6, 2)
    return c


def stopwatch(size):
    """Stopwatch: crown on top, white face, a light red wedge of time
    gone by and the red hand at its edge."""
    c = Canvas(size, size)
    if size == 16:
        c.stamp([
            "......KKKK......",
            "......KLLK......",
            ".......KK.......",
        ], 0, 0)
        c.stamp(["KK", "KK"], 12, 3)
        cx, cy, r = 7.5, 9.0, 6.6
        rim, ticks, hand_r = 5.3, ((7, 4), (8, 4), (12, 9), (3, 9), (7, 14), (8, 14)), 4.6
    else:
        c.stamp([
            "..........KKKK..........",
            ".........KLLLLK.........",
            ".........KGGGGK.........",
            "..........KGGK..........",
            "..........KGGK..........",
        ], 0, 0)
        cx, cy, r = 11.5, 14.0, 9.6
        rim, hand_r = 7.9, 6.8
        ticks = ((11, 6), (12, 6), (19, 13), (19, 14), (4, 13), (4, 14), (11, 21), (12, 21))
    c.disc(cx, cy, r, "W", "K")
    c.shape(lambda x, y: rim ** 2 < (x - cx) ** 2 + (y - cy) ** 2 <= (r - 0.6) ** 2, "G")

    def angle(x, y):
        return math.degrees(math.atan2(x - cx, cy - y)) % 360
    c.shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= hand_r ** 2 and 0 <= angle(x, y) <= 62,
            "P")
    for x, y in ticks:
        c.set(x, y, "D")
    a = math.radians(62)
    hx, hy = cx + hand_r * math.sin(a), cy - hand_r * math.cos(a)
    c.line(int(cx), int(cy), int(round(hx)), int(round(hy)), "R")
    if size == 24:
        c.line(int(cx) + 1, int(cy), int(round(hx)), int(round(hy)) + 1, "R")
        c.rect(11, 13, 12, 14, "K")
    else:
        c.rect(7, 9, 8, 9, "K")
    return c


def tab_film():
    c = from_map([
        "................",
        "................",
        "KKKKKKKKKKKKKKKK",
        "KLKKLKKLKKLKKLKK",
        "KKKKKKKKKKKKKKKK",
        "KCCCCKRRRRRRKCCK",
        "KCYCCKRCCCCRKCCK",
        "KCCCCKRCCYCRKCCK",
        "KNCCNKRNCCNRKNCK",
        "KNNNNKRNNNNRKNNK",
        "KnnnnKRRRRRRKnnK",
        "KKKKKKKKKKKKKKKK",
        "KLKKLKKLKKLKKLKK",
        "KKKKKKKKKKKKKKKK",
        "................",
        "................",
    ])
    return c


def tabs_strip():
    icons = [tab_camera(), tab_camera(plus=True), tab_about(), stopwatch(16), tab_film()]
    strip = Canvas(80, 16)
    for i, icon in enumerate(icons):
        strip.paste(icon, 16 * i, 0)
    return strip


# ---------------------------------------------------------------- glyphs

def glyph_capture():
    return from_map([
        "RRRRR......RRRRR",
        "RRRRR......RRRRR",
        "RR............RR",
        "RR............RR",
        "RR..KKKKKKKK..RR",
        "....KCCCCCYK....",
        "....KCCCCCCK....",
        "....KCCNCCCK....",
        "....KCNNNCCK....",
        "....KNNNNNNK....",
        "....KnnnnnnK....",
        "RR..KKKKKKKK..RR",
        "RR..........AAAA",
        "RR..........ADDA",
        "RRRRR......RADDA",
        "RRRRR......RAAAA",
    ])


def sheet(c, x0, y0, x1, y1, lines, ear=3, ink="G"):
    """A sheet of paper with a folded top-right corner and text lines."""
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        return (x - (x1 - ear)) - (y - y0) <= 0   # cut off the folded corner
    c.shape(inside, "W", "K", (x0, y0, x1, y1))
    # the fold
    for i in range(ear + 1):
        c.set(x1 - ear + i, y0 + i, "K")
        c.set(x1 - ear, y0 + i, "K")
        c.set(x1 - ear + i, y0 + ear, "K")
    for i in range(2, ear):
        for j in range(1, i):
            c.set(x1 - ear + j, y0 + i, "L")
    for ly, lx0, lx1 in lines:
        c.hline(lx0, lx1, ly, ink)


def glyph_copy(size):
    c = Canvas(size, size)
    if size == 24:
        sheet(c, 2, 1, 14, 17, [(6, 4, 9), (8, 4, 12), (10, 4, 12), (12, 4, 11), (14, 4, 12)])
        sheet(c, 8, 6, 21, 22, [(11, 10, 16), (13, 10, 19), (15, 10, 19), (17, 10, 18),
                                (19, 10, 19)], ink="B")
    else:
        sheet(c, 1, 0, 9, 11, [(4, 3, 6), (6, 3, 7), (8, 3, 7)], ear=2)
        sheet(c, 5, 4, 14, 15, [(8, 7, 12), (10, 7, 12), (12, 7, 11)], ear=2, ink="B")
    return c


def glyph_save(size):
    if size == 24:
        return from_map([
            "........................",
            "........................",
            "..KKKKKKKKKKKKKKKKKKK...",
            "..KbKLLLLLLLLLLLLKbBbK..",
            "..KBKLGGLLLLLLLLLKBBBbK.",
            "..KBKLKKKLLLLLLLLKBBBBK.",
            "..KBKLKKKLLLLLLLLKBBBBK.",
            "..KBKLKKKLLLLLLLLKBBBBK.",
            "..KBKLGGLLLLLLLLLKBBBBK.",
            "..KBKLLLLLLLLLLLLKBBBBK.",
            "..KBBKKKKKKKKKKKKBBBBBK.",
            "..KBBBBBBBBBBBBBBBBBBBK.",
            "..KBBBBBBBBBBBBBBBBBBBK.",
            "..KBBKKKKKKKKKKKKKKBBBK.",
            "..KBKWWWWWWWWWWWWWWKBBK.",
            "..KBKWRRRRRRRRRRRRWKBBK.",
            "..KBKWWWWWWWWWWWWWWKBBK.",
            "..KBKWGGGGGGGGGGWWWKBBK.",
            "..KBKWWWWWWWWWWWWWWKBBK.",
            "..KBKWGGGGGGGGGWWWWKBBK.",
            "..KbKWWWWWWWWWWWWWWKBbK.",
            "..KKKKKKKKKKKKKKKKKKKKK.",
            "........................",
            "........................",
        ])
    return from_map([
        "................",
        ".KKKKKKKKKKKKK..",
        ".KBKLLLLLLLKBBK.",
        ".KBKLKKLLLLKBBK.",
        ".KBKLKKLLLLKBBK.",
        ".KBKLLLLLLLKBBK.",
        ".KBBKKKKKKKBBBK.",
        ".KBBBBBBBBBBBBK.",
        ".KBKKKKKKKKKKBK.",
        ".KBKWWWWWWWWKBK.",
        ".KBKWRRRRRRWKBK.",
        ".KBKWWWWWWWWKBK.",
        ".KBKWGGGGGWWKBK.",
        ".KbKWWWWWWWWKbK.",
        ".KKKKKKKKKKKKKK.",
        "................",
    ])


def glyph_print(size):
    if size == 24:
        return from_map([
            "........................",
            "......KKKKKKKKKKK.......",
            "......KWWWWWWWWWKK......",
            "......KWGGGGGGWWKWK.....",
            "......KWWWWWWWWWKKKK....",
            "......KWGGGGGGGGWWWK....",
            "......KWWWWWWWWWWWWK....",
            "...KKKKKKKKKKKKKKKKKKK..",
            "..KLLLLLLLLLLLLLLLLLLLK.",
            ".KLWWWWWWWWWWWWWWWWWWGGK",
            ".KLLLLLLLLLLLLLLLLLLLGGK",
            ".KLLLLLLLLLLLLLLLNMLLGGK",
            ".KLLLLLLLLLLLLLLLnNLLGGK",
            ".KGGGGGGGGGGGGGGGGGGGGGK",
            ".KGGGKKKKKKKKKKKKKKGGGDK",
            ".KDDDKDDDDDDDDDDDDKDDDDK",
            ".KKKKKWWWWWWWWWWWWKKKKKK",
            ".....KWGGGGGGGGGWWK.....",
            ".....KWWWWWWWWWWWWK.....",
            ".....KWGGGGGGGGGGWK.....",
            ".....KWWWWWWWWWWWWK.....",
            ".....KWGGGGGGGWWWWK.....",
            ".....KWWWWWWWWWWWWK.....",
            ".....KKKKKKKKKKKKKK.....",
        ])
    return from_map([
        "................",
        "....KKKKKKKK....",
        "....KWWWWWWKK...",
        "....KWGGGWWWK...",
        "....KWWWWWWWK...",
        ".KKKKKKKKKKKKKK.",
        "KLLLLLLLLLLLLLGK",
        "KLWWWWWWWWWWWLGK",
        "KLLLLLLLLLLNLLGK",
        "KGGGGGGGGGGGGGGK",
        "KDDKKKKKKKKKKDDK",
        "KKKKWWWWWWWWKKKK",
        "...KWGGGGGGWK...",
        "...KWWWWWWWWK...",
        "...KWGGGGWWWK...",
        "...KKKKKKKKKK...",
    ])


def glyph_stop():
    c = Canvas(24, 24)
    c.rect(5, 5, 18, 18, "R", "r")
    c.hline(6, 16, 6, "P")
    c.vline(6, 6, 16, "P")
    c.hline(7, 17, 17, (192, 24, 24))
    c.vline(17, 7, 17, (192, 24, 24))
    return c


def face_play():
    """Green triangle pointing right, edges in clean two-pixel steps."""
    c = Canvas(24, 24)
    top, left, rows = 5, 6, 14

    def inside(x, y):
        i = y - top
        if not (0 <= i < rows):
            return False
        half = min(i, rows - 1 - i) + 1          # 1 .. rows/2
        return left <= x < left + 2 * half

    c.shape(inside, "N", "n")
    # light along the inner left and upper edges
    c.vline(left + 1, top + 2, top + rows - 3, "M")
    for i in range(1, rows // 2):
        x_end = left + 2 * (i + 1) - 1
        for x in (x_end - 2, x_end - 1):
            if inside(x, top + i) and c.get(x, top + i) == PAL["N"]:
                c.set(x, top + i, "M")
    return c


def face_pause():
    c = Canvas(24, 24)
    for x0 in (6, 13):
        c.rect(x0, 5, x0 + 4, 18, "B", "b")
        c.vline(x0 + 1, 6, 17, "C")
    return c


def playfaces():
    strip = Canvas(96, 24)
    strip.paste(two_state(face_play()), 0, 0)
    strip.paste(two_state(face_pause()), 48, 0)
    return strip


# ---------------------------------------------------------------- icon and cursor

def app_icon(size):
    """The capture frame (red band, black grip) over a screen."""
    c = Canvas(size, size)  # olive becomes alpha 0 in the icon file
    if size == 32:
        # monitor
        c.rect(6, 7, 31, 26, "L", "K")
        c.rect(7, 8, 30, 25, "L", None)
        c.hline(7, 30, 25, "G")
        c.vline(30, 8, 25, "G")
        c.rect(9, 10, 28, 23, "C", "D")
        for y in range(11, 23):
            c.hline(10, 27, y, "C" if y < 16 else "B")
        c.shape(lambda x, y: 10 <= x <= 27 and y <= 22 and
                y >= 18 + (x - 24) ** 2 / 16.0, "N", None)
        c.shape(lambda x, y: 10 <= x <= 27 and y <= 22 and
                y >= 20 + (x - 15) ** 2 / 24.0, "n", None)
        c.disc(15.5, 13.5, 1.9, "Y", "y")
        c.rect(16, 27, 21, 28, "G", "K")
        c.rect(12, 29, 25, 31, "L", "K")
        # the frame
        c.rect(1, 1, 23, 21, None, "r")
        c.rect(2, 2, 22, 20, None, "R")
        c.rect(3, 3, 21, 19, None, "R")
        c.rect(4, 4, 20, 18, None, "r")
        c.rect(19, 17, 25, 23, "A", "A")
        c.rect(20, 18, 24, 22, "D", None)
        c.rect(21, 19, 23, 21, "A", None)
    else:
        c.rect(3, 3, 15, 12, "L", "K")
        c.rect(5, 5, 13, 10, "B", None)
        c.hline(5, 13, 5, "C")
        c.hline(5, 13, 6, "C")
        c.hline(9, 13, 10, "N")
        c.rect(7, 13, 11, 13, "G", None)
        c.rect(5, 14, 13, 15, "L", "K")
        c.rect(0, 0, 11, 10, None, "R")
        c.rect(1, 1, 10, 9, None, "r")
        c.rect(9, 8, 12, 11, "A", None)
        c.rect(10, 9, 11, 10, "D", None)
    return c


def write_icon_file(path, images, kind, hotspots=None):
    """An .ico (kind 1) or .cur (kind 2) file of 32-bit BGRA images with
    1-bit AND masks, stored bottom-up.  images are (Canvas, transparent)
    pairs; pixels equal to the transparent colour get alpha 0."""
    blobs = []
    for canvas, key in images:
        w, h = canvas.w, canvas.h
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        xor = bytearray()
        mask = bytearray()
        row_bytes = ((w + 31) // 32) * 4
        for y in range(h - 1, -1, -1):
            bits = bytearray(row_bytes)
            for x in range(w):
                r, g, b = canvas.get(x, y)
                if (r, g, b) == key:
                    xor += bytes((0, 0, 0, 0))
                    bits[x // 8] |= 0x80 >> (x % 8)
                else:
                    xor += bytes((b, g, r, 255))
            mask += bits
        data = header + bytes(xor) + bytes(mask)
        blobs.append((w, h, data))
    out = bytearray(struct.pack("<HHH", 0, kind, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for i, (w, h, data) in enumerate(blobs):
        if kind == 1:
            p1, p2 = 1, 32
        else:
            p1, p2 = hotspots[i]
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, p1, p2, len(data), offset)
        offset += len(data)
    for _, _, data in blobs:
        out += data
    with open(path, "wb") as f:
        f.write(out)


HAND = [
    ".....KK.........................",
    "....KWWK........................",
    "....KWWK........................",
    "....KWWK........................",
    "....KWWK........................",
    "....KWWKKK......................",
    "....KWWKWWKKK...................",
    "....KWWKWWKWWKK.................",
    ".KK.KWWKWWKWWKWK................",
    "KWWKKWWKWWKWWKWWK...............",
    "KWWWKWWWWWKWWKWWK...............",
    ".KWWWKWWWWWWWWWWK...............",
    ".KWWWWWWWWWWWWWWK...............",
    "..KWWWWWWWWWWWWWK...............",
    "..KWWWWWWWWWWWWWK...............",
    "...KWWWWWWWWWWWWK...............",
    "...KWWWWWWWWWWWK................",
    "....KWWWWWWWWWWK................",
    "....KWWWWWWWWWWK................",
    ".....KWWWWWWWWK.................",
    ".....KWWWWWWWWK.................",
    ".....KKKKKKKKKK.................",
] + ["." * 32] * 10
HAND_HOTSPOT = (5, 0)


# ---------------------------------------------------------------- logo

def find_font(names):
    dirs = ["/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype/liberation",
            "/usr/share/fonts/opentype/urw-base35", "/usr/share/fonts/truetype"]
    for name in names:
        for d in dirs:
            p = os.path.join(d, name)
            if os.path.exists(p):
                return p
    return None


def logo():
    w, h = 169, 41
    navy = (22, 40, 92)
    img = Image.new("RGB", (w, h), BTNFACE)
    # emblem: a rounded navy square, a white T and a red capture corner
    em = Canvas(37, 37, bg=BTNFACE)
    em.shape(lambda x, y: 2 <= x <= 34 and 2 <= y <= 34 and
             not ((min(x - 2, 34 - x) < 4) and (min(y - 2, 34 - y) < 4) and
                  (4 - min(x - 2, 34 - x) - 0.5) ** 2 + (4 - min(y - 2, 34 - y) - 0.5) ** 2 > 16.5),
             navy, (10, 18, 48))
    for y in range(3, 34):
        for x in range(3, 34):
            if em.get(x, y) == navy:
                t = (x + y - 6) / 62.0
                em.set(x, y, (int(22 + 40 * (1 - t)), int(40 + 60 * (1 - t)), int(92 + 90 * (1 - t))))
    # T
    em.rect(9, 9, 27, 13, (255, 255, 255))
    em.rect(16, 14, 20, 28, (255, 255, 255))
    # red frame corners
    for (x0, y0, dx, dy) in ((6, 6, 1, 1), (30, 30, -1, -1)):
        for i in range(6):
            em.set(x0 + dx * i, y0, PAL["R"])
            em.set(x0, y0 + dy * i, PAL["R"])
    img.paste(em.image(), (1, 2))

    draw = ImageDraw.Draw(img)
    bold = find_font(["DejaVuSans-Bold.ttf", "LiberationSans-Bold.ttf"])
    book = find_font(["DejaVuSans.ttf", "LiberationSans-Regular.ttf"])
    if bold and book:
        f1 = ImageFont.truetype(bold, 27)
        f2 = ImageFont.truetype(book, 9)
        draw.text((44, 1), "Tolvard", font=f1, fill=navy)
        draw.text((46, 29), "S O F T W A R E", font=f2, fill=(150, 20, 20))
    else:
        draw.text((44, 8), "Tolvard", fill=navy)
    return img


# ---------------------------------------------------------------- animation

def photo(c, x0, y0, x1, y1, flash=0.0):
    """The little landscape picture that the frame snaps around."""
    pic = Canvas(x1 - x0 + 1, y1 - y0 + 1)
    W, H = pic.w, pic.h
    for y in range(H):
        t = y / float(H)
        for x in range(W):
            pic.set(x, y, (int(120 + 80 * t), int(176 + 50 * t), 250))
    pic.disc(W - 8, 7, 3.6, "Y", "y")
    pic.shape(lambda x, y: y >= H - 1 - (11 - abs(x - 9)) and y < H, (110, 118, 132), (60, 64, 80))
    pic.shape(lambda x, y: y >= H - 1 - (11 - abs(x - 9)) and y <= H - 1 - (11 - abs(x - 9)) + 2,
              (248, 248, 252))
    pic.shape(lambda x, y: y >= H - 1 - (7 - abs(x - 20) * 0.7) and y < H, PAL["N"], PAL["n"])
    pic.hline(0, W - 1, H - 1, PAL["n"])
    pic.hline(0, W - 1, H - 2, PAL["N"])
    if flash:
        for y in range(H):
            for x in range(W):
                r, g, b = pic.get(x, y)
                pic.set(x, y, (int(r + (255 - r) * flash), int(g + (255 - g) * flash),
                               int(b + (255 - b) * flash)))
    c.rect(x0 - 1, y0 - 1, x1 + 1, y1 + 1, None, "K")
    c.paste(pic, x0, y0, skip=None)


def capture_frame(c, x0, y0, x1, y1):
    """Red band 3 pixels wide with dark edges and the black grip."""
    c.rect(x0, y0, x1, y1, None, "r")
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, None, "R")
    c.rect(x0 + 2, y0 + 2, x1 - 2, y1 - 2, None, "R")
    c.rect(x0 + 3, y0 + 3, x1 - 3, y1 - 3, None, "r")
    c.rect(x1 - 5, y1 - 5, x1 + 1, y1 + 1, "A")
    c.rect(x1 - 4, y1 - 4, x1, y1, "D")
    c.rect(x1 - 3, y1 - 3, x1 - 1, y1 - 1, "A")


def anim_sheet():
    sheet_ = Canvas(384, 64, bg=BTNFACE)
    # the picture is 28 x 22; the snapped frame hugs it
    px0, py0, px1, py1 = 18, 20, 45, 41
    spreads = [11, 7, 3, 0, 0, 5]
    flashes = [0.0, 0.0, 0.0, 1.0, 0.45, 0.0]
    for i, (e, fl) in enumerate(zip(spreads, flashes)):
        f = Canvas(64, 64, bg=BTNFACE)
        photo(f, px0, py0, px1, py1, flash=fl)
        fx0, fy0, fx1, fy1 = px0 - 5 - e, py0 - 5 - e, px1 + 5 + e, py1 + 5 + e
        capture_frame(f, fx0, fy0, fx1, fy1)
        if i == 3:
            # sparks at the corners when the frame snaps shut
            for (cx, cy, sx, sy) in ((fx0, fy0, -1, -1), (fx1, fy0, 1, -1),
                                     (fx0, fy1, -1, 1)):
                for k in range(2, 5):
                    f.set(cx + sx * k, cy + sy * k, "Y")
                f.set(cx + sx * 3, cy, "Y")
                f.set(cx + sx * 4, cy, "Y")
                f.set(cx, cy + sy * 3, "Y")
                f.set(cx, cy + sy * 4, "Y")
        sheet_.paste(f, 64 * i, 0, skip=None)
    return sheet_


# ---------------------------------------------------------------- output

RC = """\
// Pictures of Snapvane, written by tools/draw_pictures.py.
// Paths are relative to src/app.

1 ICON "res/Snapvane.ico"

VRCURSORHANDPOINT CURSOR "res/VrHandPoint.cur"

TABICONS      BITMAP "res/tabs.bmp"
GLYPH_CAPTURE BITMAP "res/glyph_capture.bmp"
GLYPH_COPY    BITMAP "res/glyph_copy.bmp"
GLYPH_SAVE    BITMAP "res/glyph_save.bmp"
GLYPH_PRINT   BITMAP "res/glyph_print.bmp"
GLYPH_COPY_S  BITMAP "res/glyph_copy_s.bmp"
GLYPH_SAVE_S  BITMAP "res/glyph_save_s.bmp"
GLYPH_PRINT_S BITMAP "res/glyph_print_s.bmp"
GLYPH_START   BITMAP "res/glyph_start.bmp"
GLYPH_STOP    BITMAP "res/glyph_stop.bmp"
PLAYFACES     BITMAP "res/playfaces.bmp"
LOGO          BITMAP "res/logo.bmp"
ANIMSHEET     BITMAP "res/anim.bmp"
"""


def keyed_pictures():
    return {
        "tabs.bmp": tabs_strip(),
        "glyph_capture.bmp": two_state(glyph_capture()),
        "glyph_copy.bmp": two_state(glyph_copy(24)),
        "glyph_save.bmp": two_state(glyph_save(24)),
        "glyph_print.bmp": two_state(glyph_print(24)),
        "glyph_copy_s.bmp": two_state(glyph_copy(16)),
        "glyph_save_s.bmp": two_state(glyph_save(16)),
        "glyph_print_s.bmp": two_state(glyph_print(16)),
        "glyph_start.bmp": two_state(stopwatch(24)),
        "glyph_stop.bmp": two_state(glyph_stop()),
        "playfaces.bmp": playfaces(),
    }


SIZES = {
    "tabs.bmp": (80, 16), "glyph_capture.bmp": (32, 16),
    "glyph_copy.bmp": (48, 24), "glyph_save.bmp": (48, 24), "glyph_print.bmp": (48, 24),
    "glyph_copy_s.bmp": (32, 16), "glyph_save_s.bmp": (32, 16), "glyph_print_s.bmp": (32, 16),
    "glyph_start.bmp": (48, 24), "glyph_stop.bmp": (48, 24), "playfaces.bmp": (96, 24),
    "logo.bmp": (169, 41), "anim.bmp": (384, 64),
}


def save_bmp(img, name):
    assert img.mode == "RGB"
    assert img.size == SIZES[name], (name, img.size)
    img.save(os.path.join(RES, name), format="BMP")


def contact_sheet(path, images, max_width=1400):
    """Every picture enlarged (small ones 8x, large ones 4x), in rows."""
    pad, label = 10, 14
    tiles = []
    for name, img in images:
        k = 8 if img.width <= 96 else 4
        tiles.append((name, img.resize((img.width * k, img.height * k), Image.NEAREST)))
    placed, x, y, row_h = [], pad, pad, 0
    for name, im in tiles:
        if x > pad and x + im.width > max_width:
            x, y, row_h = pad, y + row_h + pad, 0
        placed.append((name, im, x, y))
        x += im.width + pad
        row_h = max(row_h, im.height + label)
    width = max(px + im.width for _, im, px, _ in placed) + pad
    out = Image.new("RGB", (width, y + row_h + pad), (60, 60, 64))
    d = ImageDraw.Draw(out)
    for name, im, px, py in placed:
        d.text((px, py), name, fill=(255, 255, 255))
        out.paste(im, (px, py + label))
    out.save(path)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--sheet", help="also write an enlarged contact sheet (PNG) here")
    args = ap.parse_args()
    os.makedirs(RES, exist_ok=True)
    shown = []

    for name, canvas in keyed_pictures().items():
        img = canvas.image()
        save_bmp(img, name)
        shown.append((name, img))

    lg = logo()
    bg = lg.getpixel((0, lg.height - 1))
    # the page shows the logo with its bottom-left colour left out
    assert bg == BTNFACE
    save_bmp(lg, "logo.bmp")
    shown.append(("logo.bmp", lg))

    an = anim_sheet().image()
    save_bmp(an, "anim.bmp")
    shown.append(("anim.bmp", an))

    icons = [app_icon(32), app_icon(16)]
    write_icon_file(os.path.join(RES, "Snapvane.ico"), [(i, OLIVE) for i in icons], kind=1)
    for i in icons:
        shown.append(("Snapvane.ico %d" % i.w, i.image()))

    hand = from_map(HAND)
    write_icon_file(os.path.join(RES, "VrHandPoint.cur"), [(hand, OLIVE)], kind=2,
                    hotspots=[HAND_HOTSPOT])
    shown.append(("VrHandPoint.cur", hand.image()))

    with open(os.path.join(RES, "pictures.rc"), "w", newline="\n") as f:
        f.write(RC)

    if args.sheet:
        contact_sheet(args.sheet, shown)
    return 0


if __name__ == "__main__":
    sys.exit(main())
