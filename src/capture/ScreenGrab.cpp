#include "capture/ScreenGrab.h"

#include <algorithm>
#include <memory>
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

// Whether the screen shows every one of the pixels (within `bounds`, which holds them all).
bool ScreenShowsAll(ScreenSource& screen, const std::vector<ScreenPixel>& pixels, const RECT& bounds) {
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    fw::BitmapHandle dib(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    fw::MemoryDc dc(::CreateCompatibleDC(screen.Dc()));
    if (!dib || !bits || !dc) return false;  // nothing to wait with: the grab goes ahead
    fw::SelectGuard select(dc.Get(), dib.Get());
    if (!::BitBlt(dc.Get(), 0, 0, width, height, screen.Dc(), bounds.left, bounds.top, SRCCOPY)) return false;
    ::GdiFlush();
    const auto* row = static_cast<const uint32_t*>(bits);
    return std::all_of(pixels.begin(), pixels.end(), [&](const ScreenPixel& p) {
        return (row[size_t(p.y - bounds.top) * size_t(width) + size_t(p.x - bounds.left)] & 0xFFFFFF) == p.color;
    });
}

}  // namespace

void WaitWhileScreenShows(const std::vector<ScreenPixel>& pixels, DWORD limitMs) {
    if (pixels.empty()) return;
    RECT bounds{pixels[0].x, pixels[0].y, pixels[0].x + 1, pixels[0].y + 1};
    for (const ScreenPixel& p : pixels) {
        bounds.left = std::min<LONG>(bounds.left, p.x);
        bounds.top = std::min<LONG>(bounds.top, p.y);
        bounds.right = std::max<LONG>(bounds.right, p.x + 1);
        bounds.bottom = std::max<LONG>(bounds.bottom, p.y + 1);
    }
    std::unique_ptr<DesktopScreen> desktop;
    ScreenSource* screen = screenStandIn;
    if (!screen) screen = (desktop = std::make_unique<DesktopScreen>()).get();
    const DWORD start = ::GetTickCount();
    while (ScreenShowsAll(*screen, pixels, bounds)) {
        const DWORD gone = ::GetTickCount() - start;
        if (gone >= limitMs) return;
        // A wait for input lets the system do its work for this thread's windows (under Wine,
        // the X server's requests to draw them again) without handling any message here.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(limitMs - gone, 10), QS_ALLINPUT);
    }
}

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
