"""Checks captured pictures against the backdrop pattern of winprobe.

A capture of the backdrop holds, at its pixel (x, y), the backdrop's colour at (OX + x, OY + y),
where OX, OY is the capture's top-left corner in the backdrop's own coordinates. The pattern
is unique over 1024 x 1024 pixels, so a picture that is shifted, cut, scaled or mirrored shows.

    capture_pixels.py file PICTURE W H OX OY [ROWS]
        a picture file (any format PIL reads) of W x H pixels holding the capture; with ROWS,
        only its first ROWS rows lay on a screen, and the rows below are black
    capture_pixels.py files W H OX OY PICTURE...
        the same for several files (all are checked)
    capture_pixels.py screen SHOT.png SX SY W H OX OY
        the W x H pixels of a screenshot from SX, SY show the capture from its top-left
    capture_pixels.py find SHOT.png AX AY AW AH W H OX OY
        the capture's top-left pixel shows at the top-left corner of the area AX, AY, AW x AH
        of a screenshot (within NEAR pixels: a panel's border and margin), and W x H pixels
        of the capture from there
    capture_pixels.py print PAGE.png LEFT TOP RIGHT BOTTOM CW CH OX OY
        a printed page rendered at the printer's resolution: the capture of CW x CH pixels
        fills exactly [LEFT, RIGHT) x [TOP, BOTTOM), every source pixel where it lands, the
        rest of the page white
    capture_pixels.py header PICTURE.bmp W H BPP
        the file's headers are those of a W x H bitmap of BPP bits per pixel, uncompressed,
        bottom row first, nothing after the rows
    capture_pixels.py countdown SECONDS X Y W H GLYPHS
        watches the area in screenshots, one after another, for at most SECONDS or until its
        red pixels are gone after having been there; prints the texts of the glyphs seen, in
        order ("none" for no red pixels; red pixels of no glyph are told on stderr); GLYPHS
        is the output of ctlprobe glyph ("= TEXT", then rows, "#" red), compared up to a shift

Prints what it compared and the first mismatches; exit status 1 on any mismatch.
"""
import os
import struct
import sys

from PIL import Image, ImageChops

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from frame_pixels import backdrop_color  # noqa: E402  (the one definition of the pattern)

RED = (255, 0, 0)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
def report(what, total, mismatches, limit=10):
    print(f"{what}: {total - len(mismatches)}/{total} pixels as expected")
    for line in mismatches[:limit]:
        print("  " + line)
    return 1 if mismatches else 0


def locate(image, color):
    """Where a colour shows in an image (the first place), for telling where a picture went."""
    width, height = image.size
    data = image.load()
    for y in range(height):
        for x in range(width):
            if data[x, y] == color:
                return x, y
    return None


def check_file(path, w, h, ox, oy, shown=None):
    image = Image.open(path)
    print(f"{path}: {image.format} {image.size[0]} x {image.size[1]}, mode {image.mode}")
    image = image.convert("RGB")
    if image.size != (w, h):
        print(f"  size: expected {w} x {h}")
        return 1
    data = image.load()
    mismatches = []
    for y in range(h):
        for x in range(w):
            want = backdrop_color(ox + x, oy + y) if shown is None or y < shown else BLACK
            if data[x, y] != want:
                mismatches.append(f"({x},{y}): expected {want}, got {data[x, y]}")
    if mismatches:
        where = locate(image, backdrop_color(ox, oy))
        print(f"  the capture's top-left colour is at {where} of the picture" if where else
              "  the capture's top-left colour is nowhere in the picture")
    return report("picture", w * h, mismatches)


def check_screen(path, sx, sy, w, h, ox, oy):
    shot = Image.open(path).convert("RGB")
    data = shot.load()
    mismatches = []
    for y in range(h):
        for x in range(w):
            want = backdrop_color(ox + x, oy + y)
            if data[sx + x, sy + y] != want:
                mismatches.append(f"({sx + x},{sy + y}): expected {want}, got {data[sx + x, sy + y]}")
    if mismatches:
        where = locate(shot, backdrop_color(ox, oy))
        print(f"  the capture's top-left colour shows at {where} of the screen, expected ({sx},{sy})" if where
              else "  the capture's top-left colour shows nowhere on the screen")
    return report(f"screen area {sx},{sy} {w} x {h}", w * h, mismatches)


# How far into the area its top-left corner may lie (border and margin of a preview's panel).
NEAR = 6


def find_on_screen(path, ax, ay, aw, ah, w, h, ox, oy):
    """The capture's top-left pixel somewhere in the area, and W x H pixels of it from there."""
    shot = Image.open(path).convert("RGB")
    area = shot.crop((ax, ay, ax + aw, ay + ah))
    where = locate(area, backdrop_color(ox, oy))
    if not where:
        anywhere = locate(shot, backdrop_color(ox, oy))
        print(f"the capture's top-left colour is not in the area {ax},{ay} {aw} x {ah}" +
              (f"; it shows at {anywhere} of the screen" if anywhere else ", nor anywhere on the screen"))
        return 1
    sx, sy = ax + where[0], ay + where[1]
    print(f"the capture's top-left corner shows at ({sx},{sy}), {where[0]},{where[1]} into the area")
    if where[0] > NEAR or where[1] > NEAR:
        print(f"  not at the area's top-left corner (within {NEAR} pixels)")
        return 1
    if sx + w > ax + aw or sy + h > ay + ah:
        print(f"  too near the area's end for {w} x {h} pixels of the capture")
        return 1
    return check_screen(path, sx, sy, w, h, ox, oy)


def check_print(path, left, top, right, bottom, cw, ch, ox, oy):
    page = Image.open(path).convert("RGB")
    data = page.load()
    print(f"page {page.size[0]} x {page.size[1]} pixels")
    # The picture's extent: every pixel that is not white. The backdrop pattern is nowhere
    # white (its blue is at most 0x7C), so the extent is the picture's.
    box = ImageChops.invert(page).getbbox()
    if not box:
        print("  the page is blank")
        return 1
    print(f"picture from ({box[0]},{box[1]}) to ({box[2]},{box[3]}), expected ({left},{top}) to ({right},{bottom})")
    # A renderer may smear the last row or column into the next pixel.
    status = 1 if any(abs(a - b) > 1 for a, b in zip(box, (left, top, right, bottom))) else 0
    # Every source pixel at the middle of the area it is stretched over.
    mismatches = []
    sx_scale = (right - left) / cw
    sy_scale = (bottom - top) / ch
    for y in range(ch):
        py = int(top + (y + 0.5) * sy_scale)
        for x in range(cw):
            px = int(left + (x + 0.5) * sx_scale)
            want = backdrop_color(ox + x, oy + y)
            got = data[px, py]
            if got != want:
                mismatches.append(f"source ({x},{y}) at ({px},{py}): expected {want}, got {got}")
    return report("source pixels on the page", cw * ch, mismatches) or status


def check_header(path, w, h, bpp):
    """The file is a Windows bitmap as the program writes it: the 14-byte file header, the
    40-byte information header, no colour table above 8 bits per pixel, uncompressed rows."""
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 54:
        print(f"{path}: {len(data)} bytes, too short for a bitmap file")
        return 1
    fields = dict(zip(
        ("bfType", "bfSize", "bfReserved1", "bfReserved2", "bfOffBits", "biSize", "biWidth", "biHeight",
         "biPlanes", "biBitCount", "biCompression", "biSizeImage", "biXPelsPerMeter", "biYPelsPerMeter",
         "biClrUsed", "biClrImportant"),
        struct.unpack("<2sIHHIIiiHHIIiiII", data[:54])))
    stride = (w * bpp + 31) // 32 * 4
    expected = {"bfType": b"BM", "bfSize": 54 + stride * h, "bfReserved1": 0, "bfReserved2": 0, "bfOffBits": 54,
                "biSize": 40, "biWidth": w, "biHeight": h, "biPlanes": 1, "biBitCount": bpp, "biCompression": 0,
                "biSizeImage": stride * h, "biClrUsed": 0}
    wrong = [f"{k}: expected {v!r}, got {fields[k]!r}" for k, v in expected.items() if fields[k] != v]
    if len(data) != 54 + stride * h:
        wrong.append(f"file size: expected {54 + stride * h}, got {len(data)}")
    print(f"{path}: " + ", ".join(f"{k}={fields[k]!r}" for k in ("bfSize", "bfOffBits", "biWidth", "biHeight",
                                                                 "biBitCount", "biSizeImage")))
    for line in wrong:
        print("  " + line)
    return 1 if wrong else 0


def red_mask(rows):
    points = {(x, y) for y, row in enumerate(rows) for x, c in enumerate(row) if c}
    if not points:
        return points
    mx = min(x for x, _ in points)
    my = min(y for _, y in points)
    return {(x - mx, y - my) for x, y in points}


def show(mask):
    if not mask:
        return ["  (no red pixels)"]
    w = max(x for x, _ in mask) + 1
    h = max(y for _, y in mask) + 1
    return ["  " + "".join("#" if (x, y) in mask else "." for x in range(w)) for y in range(h)]


def watch_countdown(seconds, x0, y0, w, h, glyph_file):
    """Screenshots of an area, one after another, each told apart by which glyph its red
    pixels are; prints the labels in the order seen (a label again only after another one)."""
    import subprocess
    import time
    from io import BytesIO

    glyphs = []
    with open(glyph_file) as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("= "):
                glyphs.append((line[2:], []))
            elif glyphs and line:
                glyphs[-1][1].append([c == "#" for c in line])
    glyphs = [(label, red_mask(rows)) for label, rows in glyphs]
    seen = []
    end = time.monotonic() + seconds
    start = time.monotonic()
    while time.monotonic() < end:
        png = subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x0}+{y0}", "png:-"],
                             capture_output=True, check=True).stdout
        shot = Image.open(BytesIO(png)).convert("RGB")
        data = shot.load()
        mask = red_mask([[data[x, y] == RED for x in range(shot.size[0])] for y in range(shot.size[1])])
        label = "none" if not mask else next((lb for lb, g in glyphs if g == mask), "other")
        if label == "other":
            # A screenshot taken while the label repaints; a digit drawn wrongly for good
            # never matches its glyph, so its label is missing from the sequence instead.
            print(f"  at {time.monotonic() - start:.1f} s red pixels that are none of the glyphs:", file=sys.stderr)
            print("\n".join(show(mask)), file=sys.stderr)
        elif not seen or seen[-1][0] != label:
            seen.append((label, time.monotonic() - start))
        if label == "none" and len(seen) > 1:
            break
    print(" ".join(label for label, _ in seen))
    print("  " + ", ".join(f"{label} at {t:.1f} s" for label, t in seen), file=sys.stderr)
    return 0


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    command, args = argv[1], argv[2:]
    try:
        if command == "file" and len(args) in (5, 6):
            return check_file(args[0], *(int(a) for a in args[1:]))
        if command == "screen" and len(args) == 7:
            return check_screen(args[0], *(int(a) for a in args[1:]))
        if command == "find" and len(args) == 9:
            return find_on_screen(args[0], *(int(a) for a in args[1:]))
        if command == "files" and len(args) >= 5:
            w, h, ox, oy = (int(a) for a in args[:4])
            return max(check_file(path, w, h, ox, oy) for path in args[4:])
        if command == "print" and len(args) == 9:
            return check_print(args[0], *(int(a) for a in args[1:]))
        if command == "header" and len(args) == 4:
            return check_header(args[0], *(int(a) for a in args[1:]))
        if command == "countdown" and len(args) == 6:
            return watch_countdown(float(args[0]), *(int(a) for a in args[1:5]), args[5])
    except (OSError, ValueError) as error:
        print(f"cannot check: {error}")
        return 1
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
