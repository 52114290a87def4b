#!/usr/bin/env python3
"""Draws the pictures of Snapvane into src/app/res/, each at 100, 125, 150 and 200 %.

Every picture is drawn for each size on that size's own pixel grid: its shapes are given in
design units (the pixels of the picture's base design), sampled at the pixel centres of the
size, and outlined with strokes of whole pixels.  No picture is a smaller one stretched.
Where a small glyph reaches the size of a large design (a 16-pixel glyph at 150 % is 24
pixels), it is drawn from the large design, which has the detail for that size.  The output
is the same on every run.  The generated files are committed; the build only compiles
res/pictures.rc and never runs this script.

    python3 tools/draw_pictures.py [--sheet /tmp/pictures_sheet.png]

Needs Pillow (Debian: python3-pil).  --sheet also writes an enlarged contact sheet of every
picture at every scale, for looking at them.

Conventions of the pictures:
  * BMPs are uncompressed (BI_RGB), bottom-up, 24-bit; the animation's sheets beyond
    100 % have fewer than 256 colours and are stored with a palette of exactly their
    colours (8-bit, a third of the size, the same pixels).
  * Resource names: NAME for 100 %, NAME_125, NAME_150 and NAME_200 for the other scales.
    The application icon and the hand cursor hold every size in their one file instead
    (icon 16, 20, 24, 32, 40, 48, 64; cursor 32, 40, 48, 64), as the system picks a size.
  * A picture of n pixels at 100 % has n * scale / 100 pixels at a scale, halves rounded up,
    as the program rounds its layout (MulDiv).
  * Glyphs, tab icons and button faces use olive RGB(128,128,0) for their transparent
    pixels; that colour appears nowhere else in them.
  * A two-state glyph holds the normal face on the left and the greyed (disabled) face on
    the right, each square.
"""

import argparse
import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "src", "app", "res")

SCALES = (100, 125, 150, 200)
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64)
CURSOR_SIZES = (32, 40, 48, 64)

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
    "S": (192, 24, 24),     # red in shadow
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

N4 = ((1, 0), (-1, 0), (0, 1), (0, -1))


def scaled(n, scale):
    """n pixels of the 100 % picture at a scale, as the layout rounds them."""
    return (n * scale + 50) // 100


class Grid:
    """The design units of a picture (the pixels of its base design) on the pixels of one
    size: k pixels per unit."""

    def __init__(self, k):
        self.k = k

    def __call__(self, v):
        """An edge or a place, to the nearest pixel edge."""
        return int(math.floor(v * self.k + 0.5))

    def w(self, v=1):
        """A stroke of v units in whole pixels: 1-unit lines stay 1 pixel below 200 %."""
        return max(1, int(math.floor(v * self.k + 0.25)))

    def u(self, p):
        """The centre of pixel p in design units."""
        return (p + 0.5) / self.k


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

    def box(self, x0, y0, x1, y1, fill=None, outline=None, ow=1):
        """The pixels [x0, x1) x [y0, y1); the outermost ow of them in the outline colour."""
        for y in range(max(y0, 0), min(y1, self.h)):
            for x in range(max(x0, 0), min(x1, self.w)):
                edge = min(x - x0, x1 - 1 - x, y - y0, y1 - 1 - y) < ow
                self.set(x, y, outline if (edge and outline is not None) else fill)

    def shape(self, inside, fill, outline=None, ow=1, box=None):
        """Fills the pixels for which inside(x, y) holds; those within ow steps of a pixel
        outside get the outline colour.  Returns the set of pixels inside the outline."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        m = ow + 1
        full = {(x, y) for y in range(y0 - m, y1 + m) for x in range(x0 - m, x1 + m)
                if inside(x, y)}
        core = full
        for _ in range(ow):
            core = {(x, y) for (x, y) in core
                    if all((x + dx, y + dy) in core for dx, dy in N4)}
        for (x, y) in full:
            if x0 <= x < x1 and y0 <= y < y1:
                self.set(x, y, fill if ((x, y) in core or outline is None) else outline)
        return {(x, y) for (x, y) in core if x0 <= x < x1 and y0 <= y < y1}

    def ushape(self, g, inside, fill, outline=None, ow=1, box=None):
        """shape() of a region given in design units, sampled at the pixel centres."""
        return self.shape(lambda x, y: inside(g.u(x), g.u(y)), fill, outline, ow, box)

    def light_edges(self, core, colour, width=1):
        """Colours the pixels of `core` that lie within `width` of its left or upper edge."""
        for (x, y) in core:
            if any((x - d, y) not in core or (x, y - d) not in core for d in range(1, width + 1)):
                self.set(x, y, colour)

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


def disc(cx, cy, r):
    """A disc in design units."""
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def rounded(x0, y0, x1, y1, r):
    """The box [x0, x1) x [y0, y1) in design units with corners of radius r."""
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return inside


def design_for(size, small, large=24):
    """The Grid of a picture drawn from a 16-unit design below `large` pixels and from the
    `large`-unit design from there on; True with the Grid when it is the large design."""
    if size >= large:
        return Grid(size / float(large)), True
    return Grid(size / float(small)), False


def red_band(c, g, x0, y0, x1, y1):
    """The capture frame's red band, 4 units wide inside the pixel box [x0, x1) x [y0, y1):
    dark edges of a stroke each and the bright middle taking the rest; returns the box
    inside it."""
    edge = g.w(1)
    for colour, w in (("r", edge), ("R", max(1, g(4) - 2 * edge)), ("r", edge)):
        c.box(x0, y0, x1, y1, None, colour, w)
        x0, y0, x1, y1 = x0 + w, y0 + w, x1 - w, y1 - w
    return x0, y0, x1, y1


# ---------------------------------------------------------------- greying

def greyed(face):
    """The disabled face: the picture in pale greys with its contrast halved, so it stays
    legible but clearly sits back."""
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


# ---------------------------------------------------------------- a small landscape

def landscape(c, g, x0, y0, x1, y1, sun):
    """Sky, sun and a green hill in the pixel box [x0, x1) x [y0, y1); `sun` is the sun's
    centre and radius in design units."""
    c.box(x0, y0, x1, y1, "C")
    sx, sy, sr = sun
    c.ushape(g, disc(sx, sy, sr), "Y", box=(x0, y0, x1, y1))
    w = g.w(1)
    span = max((x1 - x0) / g.k, 1.0)
    top = (y1 / g.k) - 0.6 * span
    mid = (x0 + x1) / 2.0 / g.k
    c.ushape(g, lambda x, y: y >= top + abs(x - mid), "N", box=(x0, y0, x1, y1))
    c.box(x0, y1 - w, x1, y1, "n")


# ---------------------------------------------------------------- tab icons

def camera(size, plus=False):
    """A camera (16-unit design); with plus raised by a unit, with a green plus badge."""
    g = Grid(size / 16.0)
    c = Canvas(size, size)
    ow = g.w(1)
    dy = -1 if plus else 0
    e = lambda v: g(v)
    # the viewfinder hump, a trapezoid over the body
    c.ushape(g, lambda x, y: 2 + dy <= y < 5 + dy and 5 - (y - 2 - dy) <= x < 11 + (y - 2 - dy),
             "L", "K", ow)
    # the body: light above, grey below, a dark base
    c.box(e(1), e(4 + dy), e(15), e(14 + dy), "G", "K", ow)
    c.box(e(1) + ow, e(4 + dy) + ow, e(15) - ow, e(8 + dy), "L")
    c.box(e(1) + ow, e(12 + dy), e(15) - ow, e(14 + dy) - ow, "D")
    c.box(e(1) + ow, e(4 + dy) + ow, e(3), e(6 + dy), "W")
    # the flash window
    c.box(e(12), e(5 + dy), e(14), e(6 + dy), "Y")
    c.box(e(12), e(6 + dy), e(14), e(7 + dy), "y")
    # the lens: outline, dark ring, blue glass with a glint and a shadow
    cx, cy = 8.0, 9.0 + dy
    c.ushape(g, disc(cx, cy, 4.0), "D", "K", ow)
    c.ushape(g, disc(cx, cy, 2.3), "B")
    c.ushape(g, lambda x, y: disc(cx, cy, 2.3)(x, y) and (x - cx) + (y - cy) > 1.4, "b")
    c.ushape(g, disc(cx - 0.7, cy - 0.8, 0.62), "W")
    c.ushape(g, lambda x, y: disc(cx - 1.4, cy - 1.5, 0.62)(x, y) and disc(cx, cy, 2.3)(x, y), "C")
    if plus:
        bars = lambda x, y: ((11 <= x < 14 and 9 <= y < 16) or (9 <= x < 16 and 11 <= y < 14))
        core = c.ushape(g, bars, "N", "K", ow)
        c.light_edges(core, "M", ow)
        for (x, y) in core:
            if (x + ow, y) not in core or (x, y + ow) not in core:
                if c.get(x, y) == PAL["N"]:
                    c.set(x, y, "n")
    return c


def about_icon(size):
    """A blue disc with a white "i"."""
    g = Grid(size / 16.0)
    c = Canvas(size, size)
    ow = g.w(1)
    c.ushape(g, disc(8.0, 8.0, 7.6), "B", "b", ow)
    c.ushape(g, disc(5.0, 4.0, 0.8), "C")
    e = g
    c.box(e(7), e(2), e(9), e(4), "W")
    c.box(e(6), e(5), e(9), e(6), "W")
    c.box(e(7), e(5), e(9), e(10), "W")
    c.box(e(6), e(10), e(10), e(11), "W")
    return c


def stopwatch(size):
    """Stopwatch: crown on top, white face, a light red wedge of time gone by and the red
    hand at its edge.  A 16-unit design for the tab icon, a 24-unit one from 24 pixels."""
    g, large = design_for(size, 16)
    c = Canvas(size, size)
    ow = g.w(1)
    if large:
        cx, cy, r, rim, hand_r, hand_w = 12.0, 14.5, 9.6, 7.9, 6.8, 2.0
        c.box(g(10), g(0), g(14), g(3), "L", "K", ow)          # the button of the crown
        c.box(g(11), g(2), g(13), g(6), "G", "K", ow)          # its stem
        c.box(g(10) + ow, g(1), g(14) - ow, g(2), "W")
        side = (18.5, 5.5, 21.5, 8.5)
    else:
        cx, cy, r, rim, hand_r, hand_w = 8.0, 9.5, 6.6, 5.3, 4.6, 1.0
        c.box(g(6), g(0), g(10), g(2), "L", "K", ow)
        c.box(g(7), g(2), g(9), g(3), "K")
        side = (12, 3, 14, 5)
    c.ushape(g, lambda x, y: side[0] <= x < side[2] and side[1] <= y < side[3], "G", "K", ow)
    c.ushape(g, disc(cx, cy, r), "W", "K", ow)
    c.ushape(g, lambda x, y: rim ** 2 < (x - cx) ** 2 + (y - cy) ** 2 <= (r - 0.6) ** 2, "G")

    def angle(x, y):
        return math.degrees(math.atan2(x - cx, cy - y)) % 360
    c.ushape(g, lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= hand_r ** 2 and 0 <= angle(x, y) <= 62,
             "P")
    # the ticks at 12, 3, 6 and 9 o'clock
    tick = rim - 0.9
    for tx, ty in ((0, -1), (1, 0), (0, 1), (-1, 0)):
        px, py = cx + tx * tick, cy + ty * tick
        c.ushape(g, lambda x, y, px=px, py=py: abs(x - px) <= 0.55 + 0.45 * abs(ty) and
                 abs(y - py) <= 0.55 + 0.45 * abs(tx), "D")
    # the hand: a stroke of hand_w units from the centre to the wedge's edge
    a = math.radians(62)
    hx, hy = cx + hand_r * math.sin(a), cy - hand_r * math.cos(a)

    def on_hand(x, y):
        vx, vy = hx - cx, hy - cy
        t = max(0.0, min(1.0, ((x - cx) * vx + (y - cy) * vy) / (vx * vx + vy * vy)))
        return (x - cx - t * vx) ** 2 + (y - cy - t * vy) ** 2 <= (hand_w / 2.0 + 0.05) ** 2
    c.ushape(g, on_hand, "R")
    c.ushape(g, disc(cx, cy, 0.75 if not large else 1.1), "K")
    return c


def film_icon(size):
    """A film strip with sprocket holes; the middle frame marked red."""
    g = Grid(size / 16.0)
    c = Canvas(size, size)
    w = g.w(1)
    c.box(0, g(2), size, g(14), "K")
    period = max(3, g(3))
    hole = max(1, int(round(g.k)))
    x = g(1)
    while x + hole <= size:
        c.box(x, g(3), x + hole, g(3) + w, "L")
        c.box(x, g(13) - w, x + hole, g(13), "L")
        x += period
    y0, y1 = g(5), g(11)
    landscape(c, g, 0 + w, y0, g(5), y1, (2.5, 6.5, 0.6))
    c.box(g(6), y0, g(12), y1, None, "R", w)
    landscape(c, g, g(6) + w, y0 + w, g(12) - w, y1 - w, (9.5, 7.5, 0.6))
    landscape(c, g, g(13), y0, size - w, y1, (14.5, 6.5, 0.01))
    return c


def tabs_strip(scale):
    n = scaled(16, scale)
    icons = [camera(n), camera(n, plus=True), about_icon(n), stopwatch(n), film_icon(n)]
    strip = Canvas(5 * n, n)
    for i, icon in enumerate(icons):
        strip.paste(icon, n * i, 0)
    return strip


# ---------------------------------------------------------------- glyphs

def glyph_capture(size):
    """The capture frame's corners round a little picture, the grip at the bottom right."""
    g = Grid(size / 16.0)
    c = Canvas(size, size)
    n = size
    t, arm, ow = g.w(2), g(5), g.w(1)
    for (cx, cy, sx, sy) in ((0, 0, 1, 1), (n, 0, -1, 1), (0, n, 1, -1), (n, n, -1, -1)):
        xa, xb = sorted((cx, cx + sx * arm))
        ya, yb = sorted((cy, cy + sy * t))
        c.box(xa, ya, xb, yb, "R")
        xa, xb = sorted((cx, cx + sx * t))
        ya, yb = sorted((cy, cy + sy * arm))
        c.box(xa, ya, xb, yb, "R")
        # a round outer corner: the bottom-left pixel stays the key, as a glyph reads it
        ox, oy = min(cx, cx + sx * t), min(cy, cy + sy * t)
        kx, ky = cx + sx * t, cy + sy * t
        for y in range(oy, oy + t):
            for x in range(ox, ox + t):
                if (x + 0.5 - kx) ** 2 + (y + 0.5 - ky) ** 2 > t * t:
                    c.set(x, y, ".")
    p0, p1 = g(4), g(12)
    c.box(p0, p0, p1, p1, None, "K", ow)
    landscape(c, g, p0 + ow, p0 + ow, p1 - ow, p1 - ow, (10.2, 5.8, 0.7))
    q = g(12)
    c.box(q, q, n, n, "D", "A", ow)
    return c


def paper(c, g, x0, y0, x1, y1, lines, ear, ink="G"):
    """A sheet of paper in the design box [x0, x1) x [y0, y1) with its top-right corner
    folded over by `ear` units, and lines of text (y, from x, to x inclusive)."""
    X0, Y0, X1, Y1, E = g(x0), g(y0), g(x1), g(y1), g(ear)
    ow = g.w(1)
    fx = X1 - 1 - E   # where the fold starts, on the top edge

    def sheet(x, y):
        return X0 <= x < X1 and Y0 <= y < Y1 and (x - fx) <= (y - Y0)
    c.shape(sheet, "W", "K", ow)

    def fold(x, y):
        return fx <= x and y <= Y0 + E and (x - fx) <= (y - Y0)
    c.shape(fold, "L", "K", ow)
    for ly, lx0, lx1 in lines:
        c.box(g(lx0), g(ly), g(lx1 + 1), g(ly) + ow, ink)


def glyph_copy(size):
    g, large = design_for(size, 16)
    c = Canvas(size, size)
    if large:
        paper(c, g, 2, 1, 15, 18, [(6, 4, 9), (8, 4, 12), (10, 4, 12), (12, 4, 11), (14, 4, 12)], 3)
        paper(c, g, 8, 6, 22, 23, [(11, 10, 16), (13, 10, 19), (15, 10, 19), (17, 10, 18),
                                   (19, 10, 19)], 3, ink="B")
    else:
        paper(c, g, 1, 0, 10, 12, [(4, 3, 6), (6, 3, 7), (8, 3, 7)], 2)
        paper(c, g, 5, 4, 15, 16, [(8, 7, 12), (10, 7, 12), (12, 7, 11)], 2, ink="B")
    return c


def glyph_save(size):
    """A floppy disk: blue body with a cut corner, the metal shutter, the white label."""
    g, large = design_for(size, 16)
    c = Canvas(size, size)
    ow = g.w(1)
    if large:
        body, cut, shutter, hole, label, red, greys = (
            (2, 2, 23, 22), 18, (4, 2, 18, 11), (6, 5, 9, 8), (4, 13, 20, 22),
            (6, 15, 18, 16), ((6, 17, 16, 18), (6, 19, 15, 20)))
    else:
        body, cut, shutter, hole, label, red, greys = (
            (1, 1, 15, 15), 12.5, (3, 1, 12, 7), (5, 3, 7, 5), (3, 8, 13, 15),
            (5, 10, 11, 11), ((5, 12, 10, 13),))
    bx0, by0, bx1, by1 = body
    c.ushape(g, lambda x, y: bx0 <= x < bx1 and by0 <= y < by1 and x - y <= cut, "B", "K", ow)
    # the holes in the corners of the body
    for hx, hy in ((bx0 + 1, by0 + 1), (bx0 + 1, by1 - 2)):
        c.box(g(hx), g(hy), g(hx) + ow, g(hy) + ow, "b")
    c.box(*[g(v) for v in shutter], fill="L", outline="K", ow=ow)
    c.box(*[g(v) for v in hole], fill="K")
    c.box(*[g(v) for v in label], fill="W", outline="K", ow=ow)
    c.box(*[g(v) for v in red], fill="R")
    for grey in greys:
        c.box(*[g(v) for v in grey], fill="G")
    return c


def glyph_print(size):
    """A printer: the sheet going in at the top, the body with its light and slot, the
    printed sheet coming out below."""
    g, large = design_for(size, 16)
    c = Canvas(size, size)
    ow = g.w(1)
    if large:
        paper(c, g, 6, 1, 20, 8, [(3, 8, 13), (5, 8, 15)], 3)
        body, chamfer = (1, 7, 24, 17), 2
        shine, side, low, dark = (2, 9, 21, 10), (21, 9, 23, 13), (2, 13, 23, 15), (2, 15, 23, 16)
        led, out, slot = (17, 11, 19, 13), (5, 15, 19, 24), (6, 15, 18, 16)
        lines = ((17, 7, 15), (19, 7, 16), (21, 7, 13))
    else:
        paper(c, g, 4, 1, 13, 6, [(3, 6, 8)], 1)
        body, chamfer = (0, 5, 16, 12), 1
        shine, side, low, dark = (2, 7, 13, 8), (14, 6, 15, 9), (1, 9, 15, 10), (1, 10, 15, 11)
        led, out, slot = (11, 8, 12, 9), (3, 10, 13, 16), (4, 10, 12, 11)
        lines = ((12, 5, 10), (14, 5, 8))
    bx0, by0, bx1, by1 = body
    c.ushape(g, lambda x, y: bx0 <= x < bx1 and by0 <= y < by1 and
             (x - bx0) + (y - by0) >= chamfer and (bx1 - x) + (y - by0) >= chamfer,
             "L", "K", ow)
    c.box(*[g(v) for v in shine], fill="W")
    c.box(*[g(v) for v in side], fill="G")
    c.box(*[g(v) for v in low], fill="G")
    c.box(*[g(v) for v in dark], fill="D")
    lx0, ly0, lx1, ly1 = [g(v) for v in led]
    c.box(lx0, ly0, lx1, ly1, "N")
    c.box(lx0 + (lx1 - lx0) // 2, ly0, lx1, ly0 + max(1, (ly1 - ly0) // 2), "M")
    c.box(*[g(v) for v in out], fill="W", outline="K", ow=ow)
    c.box(*[g(v) for v in slot], fill="D")
    for ly, lx0_, lx1_ in lines:
        c.box(g(lx0_), g(ly), g(lx1_ + 1), g(ly) + ow, "G")
    return c


def glyph_stop(size):
    """A red square with a light upper-left and a shaded lower-right edge."""
    g = Grid(size / 24.0)
    c = Canvas(size, size)
    ow, w = g.w(1), g.w(1)
    x0, x1 = g(5), g(19)
    c.box(x0, x0, x1, x1, "R", "r", ow)
    i0, i1 = x0 + ow, x1 - ow
    c.box(i0, i0, i1 - w, i0 + w, "P")
    c.box(i0, i0, i0 + w, i1 - w, "P")
    c.box(i0 + w, i1 - w, i1, i1, "S")
    c.box(i1 - w, i0 + w, i1, i1, "S")
    return c


def face_play(size):
    """Green triangle pointing right, its slanted edges in clean two-pixel steps."""
    g = Grid(size / 24.0)
    c = Canvas(size, size)
    ow = g.w(1)
    core = c.ushape(g, lambda x, y: 5 <= y < 19 and x >= 6 and
                    x - 6 <= 2 * min(y - 5, 19 - y) + 0.5, "N", "n", ow)
    c.light_edges(core, "M", ow)
    return c


def face_pause(size):
    g = Grid(size / 24.0)
    c = Canvas(size, size)
    ow = g.w(1)
    for x0 in (6, 13):
        X0, X1, Y0, Y1 = g(x0), g(x0 + 5), g(5), g(19)
        c.box(X0, Y0, X1, Y1, "B", "b", ow)
        c.box(X0 + ow, Y0 + ow, X0 + ow + g.w(1), Y1 - ow, "C")
    return c


def playfaces(scale):
    n = scaled(24, scale)
    strip = Canvas(4 * n, n)
    strip.paste(two_state(face_play(n)), 0, 0)
    strip.paste(two_state(face_pause(n)), 2 * n, 0)
    return strip


# ---------------------------------------------------------------- icon and cursor

def app_icon(size):
    """The capture frame (red band, black grip) over a screen: a 16-unit design up to 24
    pixels, a 32-unit one from 32 pixels on."""
    g, large = design_for(size, 16, large=32)
    c = Canvas(size, size)  # olive becomes alpha 0 in the icon file
    ow = g.w(1)
    if large:
        c.box(g(6), g(7), g(32), g(27), "L", "K", ow)             # the monitor
        c.box(g(7), g(25), g(31), g(26), "G")
        c.box(g(30), g(8), g(31), g(26), "G")
        x0, y0, x1, y1 = g(9), g(10), g(29), g(24)                # its screen
        c.box(x0, y0, x1, y1, "C", "D", ow)
        c.box(x0 + ow, g(16), x1 - ow, y1 - ow, "B")
        inner = (x0 + ow, y0 + ow, x1 - ow, y1 - ow)
        # the old formulas of the 32-pixel design, in its pixel indices
        c.ushape(g, lambda x, y: y - 0.5 >= 18 + (x - 0.5 - 24) ** 2 / 16.0, "N", box=inner)
        c.ushape(g, lambda x, y: y - 0.5 >= 20 + (x - 0.5 - 15) ** 2 / 24.0, "n", box=inner)
        c.ushape(g, disc(16.0, 14.0, 1.9), "Y", "y", ow, box=inner)
        c.box(g(16), g(27), g(22), g(29), "G", "K", ow)           # the stand
        c.box(g(12), g(29), g(26), g(32), "L", "K", ow)
        band = (1, 1, 24, 22)
        grip = (19, 17, 26, 24)
    else:
        c.box(g(3), g(3), g(16), g(13), "L", "K", ow)
        c.box(g(5), g(5), g(14), g(11), "B")
        c.box(g(5), g(5), g(14), g(7), "C")
        c.box(g(9), g(10), g(14), g(11), "N")
        c.box(g(7), g(13), g(12), g(14), "G")
        c.box(g(5), g(14), g(14), g(16), "L", "K", ow)
        band = (0, 0, 12, 11)
        grip = (9, 8, 13, 12)
    x0, y0, x1, y1 = [g(v) for v in band]
    if large:
        red_band(c, g, x0, y0, x1, y1)
    else:
        # two units: bright outside, dark inside
        w = g.w(1)
        c.box(x0, y0, x1, y1, None, "R", max(1, g(2) - w))
        c.box(x0 + g(2) - w, y0 + g(2) - w, x1 - g(2) + w, y1 - g(2) + w, None, "r", w)
    gx0, gy0, gx1, gy1 = [g(v) for v in grip]
    c.box(gx0, gy0, gx1, gy1, "D", "A", ow)
    if large:
        c.box(gx0 + 2 * ow, gy0 + 2 * ow, gx1 - 2 * ow, gy1 - 2 * ow, "A")
    return c


def hand_cursor(size):
    """The pointing hand (32-unit design); returns the picture and its hot spot, the tip of
    the index finger."""
    g = Grid(size / 32.0)
    c = Canvas(size, size)
    ow = g.w(1)
    # fingers: left edge, right edge, top (where the round cap starts)
    fingers = ((4, 8, 2.0), (7, 11, 7.0), (10, 14, 8.0), (13, 17, 9.5))

    def finger(x, y, f):
        """In pixels: the cap is round on the finger's own pixel edges, so it stays even."""
        X0, X1, top = g(f[0]), g(f[1]), g(f[2])
        if not (X0 <= x < X1 and y < g(13)):   # below the knuckles the palm takes over
            return False
        cx, r = (X0 + X1) / 2.0, (X1 - X0) / 2.0
        return y + 0.5 >= top or (x + 0.5 - cx) ** 2 + (y + 0.5 - top) ** 2 <= r * r

    def palm(x, y):
        if not (9.0 <= y < 22.0):
            return False
        left = 1.0 + max(0.0, y - 11.0) * 0.42
        right = 17.0 - max(0.0, y - 15.5) * 0.45
        return left <= x < right

    def thumb(x, y):
        ax, ay, bx, by, r = 1.9, 10.0, 5.6, 13.6, 1.95
        vx, vy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy)))
        return (x - ax - t * vx) ** 2 + (y - ay - t * vy) ** 2 <= r * r

    def hand(x, y):
        ux, uy = g.u(x), g.u(y)
        return uy < 22.0 and (palm(ux, uy) or thumb(ux, uy) or any(finger(x, y, f) for f in fingers))
    c.shape(hand, "W", "K", ow)
    # the clefts between the fingers, down to the knuckles
    for (x0, x1, top), (nx0, nx1, next_top), end in zip(fingers, fingers[1:], (10.0, 11.0, 11.0)):
        X = g(x1) - ow
        for y in range(g(next_top - (nx1 - nx0) / 2.0), g(end)):
            for d in range(ow):
                c.set(X + d, y, "K")
    # between the thumb and the index finger
    for y in range(g(8.6), g(11.5)):
        for d in range(ow):
            c.set(g(4) + d, y, "K")
    top = min(y for y in range(size) for x in range(size) if c.get(x, y) != OLIVE)
    row = [x for x in range(size) if c.get(x, top) != OLIVE]
    return c, ((row[0] + row[-1]) // 2, top)


def write_icon_file(path, images, kind, hotspots=None):
    """An .ico (kind 1) or .cur (kind 2) file of 32-bit BGRA images with 1-bit AND masks,
    stored bottom-up.  images are (Canvas, transparent) pairs; pixels equal to the
    transparent colour get alpha 0."""
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


def logo(scale):
    """The maker's logo: an emblem (a rounded navy square with a white T and red capture
    corners) and the name, the text set by the font at each size's own pixel size."""
    g = Grid(scale / 100.0)
    w, h = scaled(169, scale), scaled(41, scale)
    navy = (22, 40, 92)
    c = Canvas(w, h, bg=BTNFACE)
    ow = g.w(1)
    core = c.ushape(g, rounded(3, 4, 36, 37, 4.5), navy, (10, 18, 48), ow, box=(0, 0, g(40), h))
    for (x, y) in core:
        t = (g.u(x) + g.u(y) - 10.0) / 62.0
        c.set(x, y, (int(22 + 40 * (1 - t)), int(40 + 60 * (1 - t)), int(92 + 90 * (1 - t))))
    c.box(g(10), g(11), g(29), g(16), (255, 255, 255))
    c.box(g(17), g(16), g(22), g(31), (255, 255, 255))
    s, arm = g.w(1), g(6)
    c.box(g(7), g(8), g(7) + arm, g(8) + s, PAL["R"])
    c.box(g(7), g(8), g(7) + s, g(8) + arm, PAL["R"])
    c.box(g(32) - arm, g(33) - s, g(32), g(33), PAL["R"])
    c.box(g(32) - s, g(33) - arm, g(32), g(33), PAL["R"])
    img = c.image()

    draw = ImageDraw.Draw(img)
    bold = find_font(["DejaVuSans-Bold.ttf", "LiberationSans-Bold.ttf"])
    book = find_font(["DejaVuSans.ttf", "LiberationSans-Regular.ttf"])
    if bold and book:
        f1 = ImageFont.truetype(bold, g(27))
        f2 = ImageFont.truetype(book, g(9))
        draw.text((g(44), g(1)), "Tolvard", font=f1, fill=navy)
        draw.text((g(46), g(29)), "S O F T W A R E", font=f2, fill=(150, 20, 20))
    else:
        draw.text((g(44), g(8)), "Tolvard", fill=navy)
    return img


# ---------------------------------------------------------------- animation

def photo(c, g, x0, y0, x1, y1, flash=0.0):
    """The little landscape picture that the frame snaps around, in the design box
    [x0, x1) x [y0, y1), with a black line round it."""
    X0, Y0, X1, Y1 = g(x0), g(y0), g(x1), g(y1)
    ow = g.w(1)
    c.box(X0 - ow, Y0 - ow, X1 + ow, Y1 + ow, None, "K", ow)
    W, H = float(x1 - x0), float(y1 - y0)
    pic = Canvas(X1 - X0, Y1 - Y0)
    # design coordinates of the picture, in its old pixel indices (centre - 0.5)
    ux = lambda x: g.u(X0 + x) - x0 - 0.5
    uy = lambda y: g.u(Y0 + y) - y0 - 0.5
    for y in range(pic.h):
        t = (uy(y) + 0.5) / H
        for x in range(pic.w):
            pic.set(x, y, (int(120 + 80 * t), int(176 + 50 * t), 250))
    pic.shape(lambda x, y: (ux(x) - (W - 8)) ** 2 + (uy(y) - 7) ** 2 <= 3.6 ** 2, "Y", "y", ow)
    peak = lambda x: H - 1 - (11 - abs(ux(x) - 9))
    pic.shape(lambda x, y: uy(y) >= peak(x), (110, 118, 132), (60, 64, 80), ow)
    pic.shape(lambda x, y: peak(x) <= uy(y) <= peak(x) + 2, (248, 248, 252))
    pic.shape(lambda x, y: uy(y) >= H - 1 - (7 - abs(ux(x) - 20) * 0.7), PAL["N"], PAL["n"], ow)
    w = g.w(1)
    pic.box(0, pic.h - 2 * w, pic.w, pic.h - w, "N")
    pic.box(0, pic.h - w, pic.w, pic.h, "n")
    if flash:
        for y in range(pic.h):
            for x in range(pic.w):
                r, gg, b = pic.get(x, y)
                pic.set(x, y, (int(r + (255 - r) * flash), int(gg + (255 - gg) * flash),
                               int(b + (255 - b) * flash)))
    c.paste(pic, X0, Y0, skip=None)


def capture_frame(c, g, x0, y0, x1, y1):
    """The red band round the design box [x0, x1) x [y0, y1): dark edges, a bright middle,
    and the black grip over its bottom-right corner."""
    red_band(c, g, g(x0), g(y0), g(x1), g(y1))
    ow = g.w(1)
    gx0, gx1, gy0, gy1 = g(x1 - 6), g(x1 + 1), g(y1 - 6), g(y1 + 1)
    c.box(gx0, gy0, gx1, gy1, "D", "A", ow)
    c.box(gx0 + 2 * ow, gy0 + 2 * ow, gx1 - 2 * ow, gy1 - 2 * ow, "A")


def anim_sheet(scale):
    """Six frames: the frame closes in on a picture, snaps shut with a flash and opens
    again a little."""
    g = Grid(scale / 100.0)
    f = scaled(64, scale)
    sheet_ = Canvas(6 * f, f, bg=BTNFACE)
    px0, py0, px1, py1 = 18, 20, 46, 42      # the picture, 28 x 22 units
    spreads = [11, 7, 3, 0, 0, 5]
    flashes = [0.0, 0.0, 0.0, 1.0, 0.45, 0.0]
    for i, (e, fl) in enumerate(zip(spreads, flashes)):
        frame = Canvas(f, f, bg=BTNFACE)
        photo(frame, g, px0, py0, px1, py1, flash=fl)
        fx0, fy0, fx1, fy1 = px0 - 5 - e, py0 - 5 - e, px1 + 5 + e, py1 + 5 + e
        capture_frame(frame, g, fx0, fy0, fx1, fy1)
        if i == 3:
            # sparks at three corners when the frame snaps shut
            s = g.w(1)
            for (cx, cy, sx, sy) in ((fx0, fy0, -1, -1), (fx1 - 1, fy0, 1, -1),
                                     (fx0, fy1 - 1, -1, 1)):
                for k in range(2, 5):
                    frame.box(g(cx + sx * k), g(cy + sy * k), g(cx + sx * k) + s,
                              g(cy + sy * k) + s, "Y")
                for k in (3, 4):
                    frame.box(g(cx + sx * k), g(cy), g(cx + sx * k) + s, g(cy) + s, "Y")
                    frame.box(g(cx), g(cy + sy * k), g(cx) + s, g(cy + sy * k) + s, "Y")
        sheet_.paste(frame, f * i, 0, skip=None)
    return sheet_


# ---------------------------------------------------------------- output

# Bitmap resources: resource name, file name at 100 %, the picture at a scale, its size at
# 100 % (width, height).
BITMAPS = [
    ("TABICONS", "tabs", tabs_strip, (80, 16)),
    ("GLYPH_CAPTURE", "glyph_capture", lambda s: two_state(glyph_capture(scaled(16, s))), (32, 16)),
    ("GLYPH_COPY", "glyph_copy", lambda s: two_state(glyph_copy(scaled(24, s))), (48, 24)),
    ("GLYPH_SAVE", "glyph_save", lambda s: two_state(glyph_save(scaled(24, s))), (48, 24)),
    ("GLYPH_PRINT", "glyph_print", lambda s: two_state(glyph_print(scaled(24, s))), (48, 24)),
    ("GLYPH_COPY_S", "glyph_copy_s", lambda s: two_state(glyph_copy(scaled(16, s))), (32, 16)),
    ("GLYPH_SAVE_S", "glyph_save_s", lambda s: two_state(glyph_save(scaled(16, s))), (32, 16)),
    ("GLYPH_PRINT_S", "glyph_print_s", lambda s: two_state(glyph_print(scaled(16, s))), (32, 16)),
    ("GLYPH_START", "glyph_start", lambda s: two_state(stopwatch(scaled(24, s))), (48, 24)),
    ("GLYPH_STOP", "glyph_stop", lambda s: two_state(glyph_stop(scaled(24, s))), (48, 24)),
    ("PLAYFACES", "playfaces", playfaces, (96, 24)),
    ("LOGO", "logo", logo, (169, 41)),
    ("ANIMSHEET", "anim", anim_sheet, (384, 64)),
]


def file_name(base, scale):
    return "%s.bmp" % base if scale == 100 else "%s_%d.bmp" % (base, scale)


def resource_name(name, scale):
    return name if scale == 100 else "%s_%d" % (name, scale)


def rc_text():
    lines = [
        "// Pictures of Snapvane, written by tools/draw_pictures.py.",
        "// Paths are relative to src/app.  NAME is the picture at 100 %, NAME_125, NAME_150",
        "// and NAME_200 the same picture drawn for those scales; the icon and the cursor hold",
        "// every size in their one file.",
        "",
        '1 ICON "res/Snapvane.ico"',
        "",
        'VRCURSORHANDPOINT CURSOR "res/VrHandPoint.cur"',
        "",
    ]
    width = max(len(resource_name(n, 200)) for n, _, _, _ in BITMAPS)
    for name, base, _, _ in BITMAPS:
        for scale in SCALES:
            lines.append('%-*s BITMAP "res/%s"' % (width, resource_name(name, scale),
                                                  file_name(base, scale)))
    return "\n".join(lines) + "\n"


def save_bmp(img, path, indexed=False):
    """Writes a 24-bit BMP, or with indexed an 8-bit one whose palette holds exactly the
    picture's colours (at most 256), so no pixel changes."""
    if indexed:
        colours = [c for _, c in img.getcolors(256) or []]
        assert colours, path + ": more than 256 colours"
        index = {c: i for i, c in enumerate(colours)}
        out = Image.new("P", img.size)
        out.putpalette([v for c in colours for v in c] + [0] * (3 * (256 - len(colours))))
        out.putdata([index[c] for c in img.getdata()])
        assert list(out.convert("RGB").getdata()) == list(img.getdata())
        out.save(path, format="BMP")
    else:
        img.save(path, format="BMP")


def picture_image(pic):
    return pic if isinstance(pic, Image.Image) else pic.image()


def check_keyed(name, img):
    """Glyphs and strips keep olive for their transparent pixels only, with the key in the
    bottom-left pixel, where the program reads it."""
    if name in ("LOGO", "ANIMSHEET"):
        return
    assert img.getpixel((0, img.height - 1)) == OLIVE, name


def contact_sheet(path, rows):
    """Every picture at every scale, enlarged (small ones 4x, large ones 2x), one picture a
    row."""
    pad, label = 10, 14
    tiles = []
    for title, images in rows:
        k = 4 if images[0].width <= 100 else 2
        tiles.append((title, [im.resize((im.width * k, im.height * k), Image.NEAREST)
                              for im in images]))
    width, height = 0, pad
    for _, ims in tiles:
        x = pad
        for im in ims:
            x += im.width + pad
        width = max(width, x)
        height += label + max(im.height for im in ims) + pad
    out = Image.new("RGB", (width, height), (60, 60, 64))
    d = ImageDraw.Draw(out)
    y = pad
    for title, ims in tiles:
        d.text((pad, y), title, fill=(255, 255, 255))
        x = pad
        for im in ims:
            out.paste(im, (x, y + label))
            x += im.width + pad
        y += label + max(im.height for im in ims) + pad
    out.save(path)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--sheet", help="also write an enlarged contact sheet (PNG) here")
    args = ap.parse_args()
    os.makedirs(RES, exist_ok=True)
    rows = []

    for name, base, draw, (w, h) in BITMAPS:
        images = []
        for scale in SCALES:
            img = picture_image(draw(scale))
            assert img.mode == "RGB"
            assert img.size == (scaled(w, scale), scaled(h, scale)), (name, scale, img.size)
            check_keyed(name, img)
            save_bmp(img, os.path.join(RES, file_name(base, scale)),
                     indexed=(name == "ANIMSHEET" and scale != 100))
            images.append(img)
        rows.append((name, images))

    icons = [app_icon(n) for n in ICON_SIZES]
    write_icon_file(os.path.join(RES, "Snapvane.ico"), [(i, OLIVE) for i in icons], kind=1)
    rows.append(("Snapvane.ico", [i.image() for i in icons]))

    hands = [hand_cursor(n) for n in CURSOR_SIZES]
    write_icon_file(os.path.join(RES, "VrHandPoint.cur"), [(h, OLIVE) for h, _ in hands], kind=2,
                    hotspots=[spot for _, spot in hands])
    rows.append(("VrHandPoint.cur", [h.image() for h, _ in hands]))

    with open(os.path.join(RES, "pictures.rc"), "w", newline="\n") as f:
        f.write(rc_text())

    if args.sheet:
        contact_sheet(args.sheet, rows)
    return 0


if __name__ == "__main__":
    sys.exit(main())
