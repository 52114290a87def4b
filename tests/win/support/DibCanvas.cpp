#include "support/DibCanvas.h"

DibCanvas::DibCanvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};  // top-down: row 0 first
    void* bits = nullptr;
    bmp_.Reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<std::uint32_t*>(bits);
    dc_.Reset(::CreateCompatibleDC(nullptr));
    old_ = ::SelectObject(dc_.Get(), bmp_.Get());
    Fill(fill);
}

DibCanvas::~DibCanvas() { ::SelectObject(dc_.Get(), old_); }

COLORREF DibCanvas::Pixel(int x, int y) const {
    ::GdiFlush();
    const std::uint32_t v = bits_[size_t(y) * size_t(width_) + size_t(x)];  // 0x00RRGGBB: B, G, R in memory
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

std::vector<uint32_t> DibCanvas::Pixels() const {
    ::GdiFlush();
    std::vector<uint32_t> out(bits_, bits_ + size_t(width_) * size_t(height_));
    for (uint32_t& p : out) p &= 0x00FFFFFF;
    return out;
}

void DibCanvas::Fill(COLORREF color) {
    fw::Brush brush(::CreateSolidBrush(color));
    RECT all{0, 0, width_, height_};
    ::FillRect(dc_.Get(), &all, brush.Get());
}

void DibCanvas::CopyFrom(HDC src, int x, int y) { ::BitBlt(dc_.Get(), 0, 0, width_, height_, src, x, y, SRCCOPY); }
