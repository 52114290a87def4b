"""Prints the name of the pointer's current cursor, as the X server shows it.

    xcursor.py

Wine shows the system cursors of Windows as the named cursors of the X cursor theme
("left_ptr" for the arrow, "h_double_arrow" for the left-right arrow, ...), so the name says
which cursor a program has set. Read through XFixes with ctypes (no Python X bindings here).
Exit status 1 when the display or the extension cannot be used.
"""
import ctypes
import ctypes.util
import sys


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def main():
    try:
        x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")
    except OSError as error:
        print(f"no X libraries: {error}", file=sys.stderr)
        return 1
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        print("cannot open the display", file=sys.stderr)
        return 1
    image = xfixes.XFixesGetCursorImage(display)
    if not image:
        print("XFixes gives no cursor image", file=sys.stderr)
        return 1
    name = image.contents.name
    print(name.decode() if name else "(unnamed)")
    x11.XCloseDisplay(display)
    return 0


if __name__ == "__main__":
    sys.exit(main())
