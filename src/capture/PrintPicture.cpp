#include "capture/PrintPicture.h"

#include "framework/Gdi.h"
#include "framework/Printer.h"

namespace capture {

int StretchModeFor(int deviceBits, int bitmapBits) {
    return (deviceBits <= 8 && deviceBits < bitmapBits) ? HALFTONE : COLORONCOLOR;
}

void DrawStretchedBitmap(HDC dc, fw::Bitmap& bitmap, const base::IntRect& rect) {
    const int deviceBits = ::GetDeviceCaps(dc, BITSPIXEL) * ::GetDeviceCaps(dc, PLANES);
    // The bitmap's own DC holds its palette already; the target gets a copy of its own,
    // declared before the saved state so that it is deselected before it is deleted.
    fw::PaletteHandle palette = fw::CopyPalette(bitmap.Palette());
    fw::SavedDc saved(dc);  // stretch mode, brush origin and palette come back with it
    const int mode = StretchModeFor(deviceBits, bitmap.BitsPerPixel());
    ::SetStretchBltMode(dc, mode);
    if (mode == HALFTONE) ::SetBrushOrgEx(dc, 0, 0, nullptr);  // HALFTONE needs it set after
    if (palette) {
        ::SelectPalette(dc, palette.Get(), FALSE);
        ::RealizePalette(dc);
    }
    ::StretchBlt(dc, rect.left, rect.top, rect.Width(), rect.Height(), bitmap.Dc(), 0, 0, bitmap.Width(),
                 bitmap.Height(), SRCCOPY);
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
