#include "capture/ScreenGrab.h"

#include "base/Geometry.h"
#include "framework/Error.h"
#include "framework/Gdi.h"

namespace capture {

void GrabScreen(fw::Bitmap& bitmap, int left, int top, int width, int height) {
    const base::IntRect area = base::CaptureRect(left, top, width, height);
    // The desktop window's DC is the whole screen; the owner releases it on every path.
    HWND desktop = ::GetDesktopWindow();
    fw::WindowDc screen(desktop);
    if (!screen.Get()) throw fw::OutOfResources(L"Out of system resources");

    bitmap.SetSize(area.Width(), area.Height());
    if (bitmap.Empty()) return;  // a frame below 13 px has nothing inside its band
    // Whatever lies outside the screen comes back as the screen copy yields it: the area is
    // neither clipped nor filled, and a refused copy leaves the pixels as they were.
    ::BitBlt(bitmap.Dc(), 0, 0, area.Width(), area.Height(), screen.Get(), area.left, area.top, SRCCOPY);
}

void GrabScreenInto(fw::Bitmap& picture, fw::Bitmap& spare, int left, int top, int width, int height) {
    GrabScreen(spare, left, top, width, height);
    picture.Swap(spare);
}

}  // namespace capture
