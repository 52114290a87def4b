#pragma once
// Stand-ins for the screen that a grab copies from: one that refuses every copy and a palette
// display of known pixels.
#include <windows.h>

#include "capture/ScreenGrab.h"
#include "framework/Gdi.h"

namespace capture_test {

// Stands in for the screen from construction to destruction.
class ScreenStandIn : public capture::ScreenSource {
public:
    ScreenStandIn() { capture::screenStandIn = this; }
    ~ScreenStandIn() override { capture::screenStandIn = nullptr; }
    ScreenStandIn(const ScreenStandIn&) = delete;
    ScreenStandIn& operator=(const ScreenStandIn&) = delete;
};

// A screen that refuses every copy, as Windows does while the desktop is locked or another
// desktop shows: an enhanced-metafile DC, which takes drawing but gives no pixels.
class RefusingScreen : public ScreenStandIn {
public:
    RefusingScreen();
    ~RefusingScreen() override;
    HDC Dc() override { return dc_; }
    fw::PaletteHandle Palette() override { return {}; }

private:
    HDC dc_;
};

// A palette display of 8 bpp made of a DIB: its colour table plays the system palette (256
// different colours) and each pixel holds a known index, so a picture grabbed from it is of
// 8 bpp as on such a display.
class PaletteScreen : public ScreenStandIn {
public:
    static constexpr int kWidth = 64, kHeight = 48;
    static BYTE Index(int x, int y) { return BYTE(x * 3 + y * 5); }
    static PALETTEENTRY Entry(int i) { return PALETTEENTRY{BYTE(i), BYTE(i * 7), BYTE(255 - i), 0}; }

    PaletteScreen();
    ~PaletteScreen() override;
    HDC Dc() override { return dc_.Get(); }
    fw::PaletteHandle Palette() override;

private:
    PALETTEENTRY entries_[256];
    fw::BitmapHandle dib_;
    fw::MemoryDc dc_;
    HGDIOBJ old_ = nullptr;
};

}  // namespace capture_test
