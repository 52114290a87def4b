"""Checks every pixel of the capture frame in a screenshot.

    frame_pixels.py SHOT.png X Y W H BACKDROP_X BACKDROP_Y

X, Y, W, H: the frame window's screen rectangle. The expected picture is drawn here step by
step as the frame's paint routine draws it, with GDI's rules (a wide pen centred on the
outline, right and bottom edges of a rectangle left out, a line's end point not drawn). Where
the paint leaves the key colour, the window is see-through and the screenshot must show the
backdrop of winprobe (its top-left at BACKDROP_X, BACKDROP_Y) instead.

Prints a summary per kind of pixel and the first mismatches; exit status 1 on any mismatch.
"""
import sys

from PIL import Image

RED = (255, 0, 0)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
KEY = (0, 128, 0)  # the frame's colour and colour key: see-through


def backdrop_color(x, y):
    """winprobe's backdrop pattern at (x, y) of its client area."""
    return (x & 0xFF, y & 0xFF, 0x40 + ((x >> 8) & 3) * 16 + ((y >> 8) & 3) * 4)


class Canvas:
    """The frame's client area, with the few GDI drawing rules the paint routine relies on."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = {}

    def plot(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[(x, y)] = color

    def fill(self, left, top, right, bottom, color):
        """Every pixel of [left, right) x [top, bottom)."""
        for y in range(top, bottom):
            for x in range(left, right):
                self.plot(x, y, color)

    def rectangle(self, left, top, right, bottom, pen_width, pen, brush):
        """GDI Rectangle: the outline runs through left..right-1 and top..bottom-1; a pen of
        width w covers w pixels centred on it (w // 2 outside, the rest inside)."""
        self.fill(left, top, right, bottom, brush)
        out = pen_width // 2
        inner = pen_width - out
        r, b = right - 1, bottom - 1
        self.fill(left - out, top - out, r + inner, top + inner, pen)  # top
        self.fill(left - out, b - out, r + inner, b + inner, pen)  # bottom
        self.fill(left - out, top - out, left + inner, b + inner, pen)  # left
        self.fill(r - out, top - out, r + inner, b + inner, pen)  # right

    def line(self, x0, y0, x1, y1, color):
        """MoveToEx + LineTo for horizontal and vertical lines: the end point is not drawn."""
        if x0 == x1:
            step = 1 if y1 > y0 else -1
            for y in range(y0, y1, step):
                self.plot(x0, y, color)
        elif y0 == y1:
            step = 1 if x1 > x0 else -1
            for x in range(x0, x1, step):
                self.plot(x, y0, color)
        else:
            raise ValueError("only straight lines")

    def polygon_axis_aligned(self, points, color):
        """A filled polygon with a 1-pixel pen of the fill colour, all edges horizontal or
        vertical: outline and fill together cover every pixel whose centre lies inside or on
        the outline."""
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        for y in range(min(ys), max(ys) + 1):
            for x in range(min(xs), max(xs) + 1):
                if _inside_or_on(points, x, y):
                    self.plot(x, y, color)


def _inside_or_on(points, x, y):
    inside = False
    n = len(points)
    for i in range(n):
        (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
        if min(x0, x1) <= x <= max(x0, x1) and min(y0, y1) <= y <= max(y0, y1):
            if x0 == x1 or y0 == y1:
                return True  # on an edge
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            inside = not inside
    return inside


def paint_frame(w, h):
    """The frame's paint routine, step by step."""
    c = Canvas(w, h)
    # Red pen 10 wide, key-colour fill: the band over the outer edge, 6 pixels inwards.
    c.rectangle(1, 1, w, h, 10, RED, KEY)
    # The grip: an L of black over the bottom-right corner.
    c.polygon_axis_aligned(
        [(w - 15, h - 6), (w - 6, h - 6), (w - 6, h - 15), (w, h - 15), (w, h), (w - 15, h)], BLACK)
    # White light on its inner edges, grey shadow on its outer ones.
    c.line(w - 16, h - 6, w - 16, h, WHITE)
    c.line(w - 6, h - 16, w, h - 16, WHITE)
    c.line(w - 1, h - 16, w - 1, h - 1, GREY)
    c.line(w - 1, h - 1, w - 17, h - 1, GREY)
    return c


def main(argv):
    if len(argv) != 8:
        print(__doc__)
        return 2
    shot = Image.open(argv[1]).convert("RGB")
    fx, fy, w, h, bx, by = (int(a) for a in argv[2:])
    expected = paint_frame(w, h)
    names = {RED: "red band", BLACK: "black grip", WHITE: "white line", GREY: "grey line",
             KEY: "see-through inside"}
    counts = {}
    mismatches = []
    for y in range(h):
        for x in range(w):
            want = expected.pixels.get((x, y), KEY)
            kind = names[want]
            if want == KEY:
                want = backdrop_color(fx + x - bx, fy + y - by)
            got = shot.getpixel((fx + x, fy + y))
            total, bad = counts.get(kind, (0, 0))
            counts[kind] = (total + 1, bad + (got != want))
            if got != want and len(mismatches) < 12:
                mismatches.append(f"  ({x},{y}) {kind}: expected {want}, got {got}")
    for kind, (total, bad) in sorted(counts.items()):
        print(f"{kind}: {total - bad}/{total} pixels as expected")
    if mismatches:
        print("first mismatches (frame coordinates):")
        print("\n".join(mismatches))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
