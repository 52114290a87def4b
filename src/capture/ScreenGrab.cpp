#include "capture/ScreenGrab.h"

#include <vector>

#include "base/Geometry.h"
#include "framework/Error.h"

namespace capture {

ScreenSource* screenStandIn = nullptr;

namespace {

// The desktop window's DC: the whole screen. The owner releases it on every path.
class DesktopScreen : public ScreenSource {
public:
    DesktopScreen() : dc_(::GetDesktopWindow()) {
        if (!dc_.Get()) throw fw::OutOfResources();
    }
    HDC Dc() override { return dc_.Get(); }
    fw::PaletteHandle Palette() override {
        // A true-colour display (the common case) costs one question.
        if (!(::GetDeviceCaps(dc_.Get(), RASTERCAPS) & RC_PALETTE)) return {};
        const int size = ::GetDeviceCaps(dc_.Get(), SIZEPALETTE);
        std::vector<PALETTEENTRY> entries(size_t(size > 0 ? size : 0));
        const UINT count = entries.empty() ? 0 : ::GetSystemPaletteEntries(dc_.Get(), 0, UINT(size), entries.data());
        if (count == 0) return {};
        // The picture's indices are those of the system palette: the entries as they stand,
        // without flags, so that realizing the palette maps each index onto itself.
        for (PALETTEENTRY& entry : entries) entry.peFlags = 0;
        return fw::MakePalette(entries.data(), int(count));
    }

private:
    fw::WindowDc dc_;
};

void GrabFrom(ScreenSource& screen, fw::Bitmap& bitmap, const base::IntRect& area) {
    bitmap.SetSize(area.Width(), area.Height(), screen.Dc());
    if (bitmap.Empty()) return;  // a frame below 13 px has nothing inside its band
    bitmap.SetPalette(screen.Palette());
    // Whatever lies outside the screen comes back as the screen copy yields it: the area is
    // neither clipped nor filled. A refused copy would leave the bitmap's earlier pixels (with
    // a spare, an earlier picture) in place of a new one: it is an error.
    if (!::BitBlt(bitmap.Dc(), 0, 0, area.Width(), area.Height(), screen.Dc(), area.left, area.top, SRCCOPY))
        throw fw::Error(L"Cannot copy the screen area");
}

}  // namespace

void GrabScreen(fw::Bitmap& bitmap, int left, int top, int width, int height) {
    const base::IntRect area = base::CaptureRect(left, top, width, height);
    if (screenStandIn) {
        GrabFrom(*screenStandIn, bitmap, area);
        return;
    }
    DesktopScreen screen;
    GrabFrom(screen, bitmap, area);
}

void GrabScreenInto(fw::Bitmap& picture, fw::Bitmap& spare, int left, int top, int width, int height) {
    GrabScreen(spare, left, top, width, height);
    picture.Swap(spare);
}

}  // namespace capture
