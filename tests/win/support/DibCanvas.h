#pragma once
// A 32-bpp top-down DIB section selected into a memory DC: draw into Dc(), read pixels back
// with Pixel(x, y) as COLORREF values (red in the low byte) or all of them with Pixels().
#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/Gdi.h"

class DibCanvas {
public:
    DibCanvas(int width, int height, COLORREF fill = RGB(255, 255, 255));
    ~DibCanvas();
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC Dc() const { return dc_.Get(); }
    HBITMAP Bitmap() const { return bmp_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    COLORREF Pixel(int x, int y) const;
    // Every pixel as 0x00RRGGBB, rows top first: the form of capture_test::PixelsOf.
    std::vector<uint32_t> Pixels() const;

    void Fill(COLORREF color);
    // Copies the source DC's pixels from (x, y) on, e.g. a window's DC: what it shows.
    void CopyFrom(HDC src, int x = 0, int y = 0);

private:
    int width_, height_;
    fw::BitmapHandle bmp_;
    fw::MemoryDc dc_;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};
