#include "capture/ClipboardCopy.h"

#include "framework/Clipboard.h"
#include "framework/Error.h"
#include "framework/Gdi.h"

namespace capture {

namespace {

// A device-dependent copy compatible with the screen, selected into no DC, as the clipboard
// wants it.
fw::BitmapHandle ScreenCompatibleCopy(fw::Bitmap& bitmap) {
    fw::WindowDc screen(nullptr);
    fw::BitmapHandle copy(::CreateCompatibleBitmap(screen.Get(), bitmap.Width(), bitmap.Height()));
    if (!copy) throw fw::OutOfResources();
    fw::MemoryDc dc(::CreateCompatibleDC(screen.Get()));
    if (!dc) throw fw::OutOfResources();
    fw::SelectGuard select(dc.Get(), copy.Get());
    ::BitBlt(dc.Get(), 0, 0, bitmap.Width(), bitmap.Height(), bitmap.Dc(), 0, 0, SRCCOPY);
    return copy;  // the guard deselects it first
}

}  // namespace

void CopyBitmapToClipboard(fw::Bitmap& bitmap, HWND owner) {
    // Everything that can fail for want of resources is made before the clipboard is opened:
    // it is held for as short a time as possible and stays as it was when a copy fails.
    fw::BitmapHandle copy;
    fw::PaletteHandle palette;
    if (!bitmap.Empty()) {
        copy = ScreenCompatibleCopy(bitmap);
        palette = fw::CopyPalette(bitmap.Palette());
    }
    fw::Clipboard clipboard(owner);
    clipboard.Clear();
    if (copy) clipboard.SetBitmap(std::move(copy));
    if (palette) clipboard.SetPalette(std::move(palette));
}

}  // namespace capture
