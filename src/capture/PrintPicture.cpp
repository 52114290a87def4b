#include "capture/PrintPicture.h"

#include <cstdint>
#include <vector>

#include "framework/Error.h"
#include "framework/Gdi.h"
#include "framework/Printer.h"

namespace capture {

namespace {

[[noreturn]] void ThrowPrintingFailed() { throw fw::Error(L"Printing failed"); }

// A picture as a device-independent bitmap: 32 bits per pixel, rows from the top.
struct Dib {
    BITMAPINFO info{};
    std::vector<uint32_t> pixels;
};

BITMAPINFO Dib32Info(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return info;
}

Dib ReadDib(fw::Bitmap& bitmap) {
    Dib dib;
    dib.info = Dib32Info(bitmap.Width(), bitmap.Height());
    dib.pixels.resize(size_t(bitmap.Width()) * size_t(bitmap.Height()));
    // GetDIBits wants the bitmap selected into no DC, and its palette, if it has one, in the
    // DC it is read with; the bitmap selects itself again when its DC is next used.
    bitmap.Deselect();
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc) throw fw::OutOfResources();
    fw::PaletteSelection palette(dc.Get(), bitmap.Palette());
    if (::GetDIBits(dc.Get(), bitmap.Handle(), 0, UINT(bitmap.Height()), dib.pixels.data(), &dib.info,
                    DIB_RGB_COLORS) != bitmap.Height())
        throw fw::OutOfResources();
    return dib;
}

// For a device that takes a DIB only at its own size: the picture stretched to the rectangle
// here, in the same stretch mode, then handed over with SetDIBitsToDevice.
void DrawPrestretched(HDC dc, const Dib& dib, const base::IntRect& rect, int mode) {
    const int width = rect.Width(), height = rect.Height();
    Dib stretched;
    stretched.info = Dib32Info(width, height);
    void* bits = nullptr;
    fw::BitmapHandle target(::CreateDIBSection(nullptr, &stretched.info, DIB_RGB_COLORS, &bits, nullptr, 0));
    fw::MemoryDc targetDc(::CreateCompatibleDC(nullptr));
    if (!target || !bits || !targetDc) throw fw::OutOfResources();
    {
        fw::SelectGuard select(targetDc.Get(), target.Get());
        ::SetStretchBltMode(targetDc.Get(), mode);
        ::SetBrushOrgEx(targetDc.Get(), 0, 0, nullptr);
        const int w = dib.info.bmiHeader.biWidth, h = -dib.info.bmiHeader.biHeight;
        if (::StretchDIBits(targetDc.Get(), 0, 0, width, height, 0, 0, w, h, dib.pixels.data(), &dib.info,
                            DIB_RGB_COLORS, SRCCOPY) == 0)
            throw fw::OutOfResources();
        ::GdiFlush();
    }
    const int lines = ::SetDIBitsToDevice(dc, rect.left, rect.top, DWORD(width), DWORD(height), 0, 0, 0, UINT(height),
                                          bits, &stretched.info, DIB_RGB_COLORS);
    if (lines == 0) ThrowPrintingFailed();
}

}  // namespace

int StretchModeFor(int deviceBits, int bitmapBits) {
    return (deviceBits <= 8 && deviceBits < bitmapBits) ? HALFTONE : COLORONCOLOR;
}

void DrawStretchedBitmap(HDC dc, fw::Bitmap& bitmap, const base::IntRect& rect, int rasterCaps) {
    if (bitmap.Empty() || rect.Width() <= 0 || rect.Height() <= 0) return;
    if (!(rasterCaps & (RC_STRETCHDIB | RC_DIBTODEV))) ThrowPrintingFailed();
    const int deviceBits = ::GetDeviceCaps(dc, BITSPIXEL) * ::GetDeviceCaps(dc, PLANES);
    const int mode = StretchModeFor(deviceBits, bitmap.BitsPerPixel());
    const Dib dib = ReadDib(bitmap);
    fw::SavedDc saved(dc);  // the stretch mode and the brush origin come back with it
    ::SetStretchBltMode(dc, mode);
    if (mode == HALFTONE) ::SetBrushOrgEx(dc, 0, 0, nullptr);  // HALFTONE needs it set after
    if (!(rasterCaps & RC_STRETCHDIB)) {
        DrawPrestretched(dc, dib, rect, mode);
        return;
    }
    const int lines = ::StretchDIBits(dc, rect.left, rect.top, rect.Width(), rect.Height(), 0, 0, bitmap.Width(),
                                      bitmap.Height(), dib.pixels.data(), &dib.info, DIB_RGB_COLORS, SRCCOPY);
    if (lines == 0 || lines == int(GDI_ERROR)) ThrowPrintingFailed();
}

void DrawStretchedBitmap(HDC dc, fw::Bitmap& bitmap, const base::IntRect& rect) {
    DrawStretchedBitmap(dc, bitmap, rect, ::GetDeviceCaps(dc, RASTERCAPS));
}

void PrintBitmap(fw::Bitmap& bitmap, const base::IntRect& rect) {
    fw::Printer& printer = fw::Printer::Instance();
    printer.SetTitle(kPrintTitle);
    printer.BeginDoc();
    try {
        DrawStretchedBitmap(printer.Handle(), bitmap, rect);
    } catch (...) {
        printer.Abort();  // a job that cannot be finished must not stay open
        throw;
    }
    printer.EndDoc();
}

}  // namespace capture
