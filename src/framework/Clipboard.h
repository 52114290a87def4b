#pragma once
// The clipboard, held open for the lifetime of one object: opened by the constructor, closed
// by the destructor on every path. Handing data over passes its ownership to the system.
#include <windows.h>

#include "framework/Gdi.h"

namespace fw {

class Clipboard {
public:
    // Opens the clipboard for `owner` (a window of this thread; it becomes the clipboard's
    // owner at Clear). Another program may hold the clipboard for a moment, so the opening is
    // tried a few times over about 50 ms before it fails with Error("Cannot open clipboard").
    explicit Clipboard(HWND owner);
    ~Clipboard();
    Clipboard(const Clipboard&) = delete;
    Clipboard& operator=(const Clipboard&) = delete;

    // Empties the clipboard and makes the owner window its owner.
    void Clear();
    // Hands a bitmap (CF_BITMAP) or a palette (CF_PALETTE) over; the clipboard owns it from
    // then on. A bitmap must be selected into no DC. On failure the handle stays with the
    // caller's owner and OutOfResources is raised.
    void SetBitmap(BitmapHandle bitmap);
    void SetPalette(PaletteHandle palette);

    static constexpr int kOpenAttempts = 6;
    static constexpr DWORD kOpenRetryPause = 10;  // ms between attempts

private:
    template <class Owner>
    void HandOver(UINT format, Owner& owner);
};

}  // namespace fw
