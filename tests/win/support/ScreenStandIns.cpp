#include "support/ScreenStandIns.h"

#include "framework/Bitmap.h"

namespace capture_test {

RefusingScreen::RefusingScreen() : dc_(::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr)) {}

RefusingScreen::~RefusingScreen() { ::DeleteEnhMetaFile(::CloseEnhMetaFile(dc_)); }

PaletteScreen::PaletteScreen() {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 8, BI_RGB};
    for (int i = 0; i < 256; ++i) {
        entries_[i] = Entry(i);
        info.colors[i] = RGBQUAD{entries_[i].peBlue, entries_[i].peGreen, entries_[i].peRed, 0};
    }
    void* bits = nullptr;
    dib_.Reset(::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) static_cast<BYTE*>(bits)[y * kWidth + x] = Index(x, y);
    dc_.Reset(::CreateCompatibleDC(nullptr));
    old_ = ::SelectObject(dc_.Get(), dib_.Get());
}

PaletteScreen::~PaletteScreen() { ::SelectObject(dc_.Get(), old_); }

fw::PaletteHandle PaletteScreen::Palette() { return fw::MakePalette(entries_, 256); }

}  // namespace capture_test
