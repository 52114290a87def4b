#include "support/Pixels.h"

#include <algorithm>

namespace capture_test {

uint32_t PatternPixel(int x, int y) {
    const uint32_t r = uint32_t(x * 37 + y * 11) & 255, g = uint32_t(x * 5 + y * 53 + 17) & 255,
                   b = uint32_t(x * 13 + y * 7 + 91) & 255;
    return r << 16 | g << 8 | b;
}

std::vector<uint32_t> PatternArea(int x0, int y0, int w, int h) {
    std::vector<uint32_t> out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.push_back(PatternPixel(x0 + x, y0 + y));
    return out;
}

void PaintPattern(HDC dc, int x0, int y0, int w, int h) {
    std::vector<uint32_t> pixels = PatternArea(x0, y0, w, h);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    ::SetDIBitsToDevice(dc, 0, 0, DWORD(w), DWORD(h), 0, 0, 0, UINT(h), pixels.data(), &info, DIB_RGB_COLORS);
}

void FillWithPattern(fw::Bitmap& bitmap, int w, int h, int x0, int y0) {
    bitmap.SetSize(w, h);
    PaintPattern(bitmap.Dc(), x0, y0, w, h);
}

void* AdoptDib(fw::Bitmap& into, int width, int height, int bits, const std::vector<RGBQUAD>& table,
               const std::vector<PALETTEENTRY>& palette) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header = {sizeof(BITMAPINFOHEADER), width, height, 1, WORD(bits), BI_RGB};
    std::copy_n(table.begin(), std::min<size_t>(table.size(), 256), info.colors);
    void* pixels = nullptr;
    HBITMAP dib =
        ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, nullptr, 0);
    fw::PaletteHandle logical;
    if (!palette.empty()) logical = fw::MakePalette(palette.data(), int(palette.size()));
    into.Adopt(dib, logical.Release());
    return pixels;
}

std::vector<uint32_t> PixelsOf(HBITMAP bitmap, int w, int h) {
    std::vector<uint32_t> out(size_t(w) * size_t(h));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, UINT(h), out.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != h) out.clear();
    for (uint32_t& p : out) p &= 0x00FFFFFF;
    return out;
}

std::vector<uint32_t> PixelsOf(fw::Bitmap& bitmap) {
    bitmap.ReleaseDc();
    return PixelsOf(bitmap.Handle(), bitmap.Width(), bitmap.Height());
}

std::vector<uint32_t> ScreenPixels(int left, int top, int width, int height) {
    fw::Bitmap copy;
    copy.SetSize(width, height);
    fw::WindowDc screen(::GetDesktopWindow());
    ::BitBlt(copy.Dc(), 0, 0, width, height, screen.Get(), left, top, SRCCOPY);
    return PixelsOf(copy);
}

std::string PixelDifferences(const std::vector<uint32_t>& got, const std::vector<uint32_t>& expected, int width) {
    if (got == expected) return "";
    if (got.size() != expected.size() || width <= 0)
        return "sizes differ: " + std::to_string(got.size()) + " and " + std::to_string(expected.size()) + " pixels";
    int count = 0, left = width, top = 1 << 30, right = -1, bottom = -1;
    for (size_t i = 0; i < got.size(); ++i) {
        if (got[i] == expected[i]) continue;
        const int x = int(i % size_t(width)), y = int(i / size_t(width));
        ++count;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    return std::to_string(count) + " pixels differ, within " + std::to_string(left) + "," + std::to_string(top) +
           " to " + std::to_string(right) + "," + std::to_string(bottom);
}

PatternWindow::PatternWindow(int left, int top, int width, int height, Layer layer) : width_(width), height_(height) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CaptureTestPattern";
    ::RegisterClassW(&wc);  // fails harmlessly when it exists
    const DWORD exStyle = WS_EX_TOOLWINDOW | (layer == Layer::Topmost ? WS_EX_TOPMOST : 0);
    hwnd_ = ::CreateWindowExW(exStyle, wc.lpszClassName, L"", WS_POPUP, left, top, width, height, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd_);
}

PatternWindow::~PatternWindow() { ::DestroyWindow(hwnd_); }

LRESULT CALLBACK PatternWindow::Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<PatternWindow*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (msg == WM_PAINT && self) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(wnd, &ps);
        PaintPattern(dc, 0, 0, self->width_, self->height_);
        ::EndPaint(wnd, &ps);
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return ::DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace capture_test
