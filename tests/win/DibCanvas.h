#pragma once
// A 32-bpp top-down DIB section selected into a memory DC: draw into Dc(), read pixels back
// with Pixel(x, y) as COLORREF values (red in the low byte).
#include <windows.h>

#include <cstdint>

#include "framework/Gdi.h"

class DibCanvas {
public:
    DibCanvas(int width, int height, COLORREF fill = RGB(255, 255, 255)) : width_(width), height_(height) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;  // top-down: row 0 first
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bmp_.Reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<std::uint32_t*>(bits);
        dc_.Reset(::CreateCompatibleDC(nullptr));
        old_ = ::SelectObject(dc_.Get(), bmp_.Get());
        Fill(fill);
    }
    ~DibCanvas() { ::SelectObject(dc_.Get(), old_); }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC Dc() const { return dc_.Get(); }
    HBITMAP Bitmap() const { return bmp_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    COLORREF Pixel(int x, int y) const {
        ::GdiFlush();
        const std::uint32_t v = bits_[y * width_ + x];  // 0x00RRGGBB in memory order B, G, R
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

    void Fill(COLORREF color) {
        fw::Brush brush(::CreateSolidBrush(color));
        RECT all{0, 0, width_, height_};
        ::FillRect(dc_.Get(), &all, brush.Get());
    }

    // Copies the source DC's pixels from (x, y) on, e.g. a window's DC: what it shows.
    void CopyFrom(HDC src, int x = 0, int y = 0) { ::BitBlt(dc_.Get(), 0, 0, width_, height_, src, x, y, SRCCOPY); }

private:
    int width_, height_;
    fw::BitmapHandle bmp_;
    fw::MemoryDc dc_;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};
