"""Checks every pixel of the capture frame in a screenshot.

    frame_pixels.py SHOT.png X Y W H BACKDROP_X BACKDROP_Y

X, Y, W, H: the frame window's screen rectangle. The expected picture is the one the Windows
tests check the frame's paint against (tests/win/support/FramePicture.h), as winprobe prints it
(`winprobe framepicture W H`, run here with $WINE and $WINPROBE of the test environment). Where
the frame is see-through, the screenshot must show the backdrop of winprobe (its top-left at
BACKDROP_X, BACKDROP_Y) instead.

Prints a summary per kind of pixel and the first mismatches; exit status 1 on any mismatch.
"""
import os
import subprocess
import sys

from PIL import Image

SEE_THROUGH = "."  # the letter of the key colour in winprobe's picture


def backdrop_color(x, y):
    """winprobe's backdrop pattern at (x, y) of its client area."""
    return (x & 0xFF, y & 0xFF, 0x40 + ((x >> 8) & 3) * 16 + ((y >> 8) & 3) * 4)


def frame_picture(w, h):
    """The expected picture from winprobe: {letter: (colour, name)} and the rows of letters."""
    out = subprocess.run([os.environ["WINE"], os.environ["WINPROBE"], "framepicture", str(w), str(h)],
                         check=True, capture_output=True, text=True, timeout=60).stdout.splitlines()
    parts = {}
    for line in out[:-h]:
        letter, r, g, b, name = line.split(" ", 4)
        parts[letter] = ((int(r), int(g), int(b)), name)
    rows = out[-h:]
    if len(rows) != h or any(len(row) != w for row in rows) or SEE_THROUGH not in parts:
        raise ValueError(f"winprobe framepicture {w} {h} printed no {w} x {h} picture")
    return parts, rows


def main(argv):
    if len(argv) != 8:
        print(__doc__)
        return 2
    shot = Image.open(argv[1]).convert("RGB")
    fx, fy, w, h, bx, by = (int(a) for a in argv[2:])
    parts, rows = frame_picture(w, h)
    counts = {}
    mismatches = []
    for y in range(h):
        for x in range(w):
            letter = rows[y][x]
            want, kind = parts[letter]
            if letter == SEE_THROUGH:
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
