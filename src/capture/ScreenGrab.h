#pragma once
// The one capture operation of the program: the screen area inside the capture frame's red
// band, copied into a bitmap. The simple capture, the countdown and the series all use it.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Gdi.h"

namespace capture {

// The screen as a grab reads it: the desktop window's DC in the program. Tests put a stand-in
// in its place (screenStandIn): a source that refuses to be copied, a palette display made of
// a DIB.
class ScreenSource {
public:
    virtual ~ScreenSource() = default;
    // What the pixels are copied from and the picture is made compatible with.
    virtual HDC Dc() = 0;
    // The palette a picture of this screen carries: on a palette display (RASTERCAPS has
    // RC_PALETTE) a new palette of the system palette's entries, otherwise none.
    virtual fw::PaletteHandle Palette() = 0;
};

// Null in the program: grabs read the real screen.
extern ScreenSource* screenStandIn;

// Copies the screen area inside a frame window at (left, top) of width x height into
// `bitmap`, which is made (width - 12) x (height - 12) and compatible with the screen: the
// frame's outer 6 px on every side are its band and are never in the picture. The area is
// taken as the screen shows it, the frame's see-through inside showing what lies below; what
// the frame itself draws inside its band (the countdown's digits) is in the picture too
// unless it has left the screen first (WaitWhileScreenShows). On a palette display the picture carries the display's palette, so
// its clipboard copy, its print and its file show the colours the screen showed. Throws
// fw::OutOfResources when the bitmap cannot be made and fw::Error "Cannot copy the screen
// area" when the system refuses the copy (a locked or switched desktop); the screen's DC is
// released either way.
void GrabScreen(fw::Bitmap& bitmap, int left, int top, int width, int height);

// The grab of every capture: into `spare`, which is then exchanged with `picture`, so the
// picture gets the new pixels without a copy and `spare` keeps the old bitmap for the next
// grab (of the same size it is used again as it is). When the grab fails, `picture` is left
// as it was.
void GrabScreenInto(fw::Bitmap& picture, fw::Bitmap& spare, int left, int top, int width, int height);

// One pixel at a point of the screen: 0x00RRGGBB.
struct ScreenPixel {
    int x, y;
    uint32_t color;
};

// Waits, `limitMs` at most, while the screen still shows every one of `pixels` (of what a
// window has just stopped drawing there): a repaint reaches the screen a little later than
// the window's own paint, through the compositor, or under Wine through the X server, which
// shows the window below only once that window's program has drawn it again. Messages are
// not handled meanwhile; the system's own work for the thread's windows goes on. Returns at
// once when the screen does not show them all (or there are none).
void WaitWhileScreenShows(const std::vector<ScreenPixel>& pixels, DWORD limitMs);

}  // namespace capture
