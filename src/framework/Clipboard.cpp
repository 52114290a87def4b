#include "framework/Clipboard.h"

#include "framework/Error.h"

namespace fw {

Clipboard::Clipboard(HWND owner) {
    for (int attempt = 1;; ++attempt) {
        if (::OpenClipboard(owner)) return;
        if (attempt == kOpenAttempts) throw Error(L"Cannot open clipboard");
        ::Sleep(kOpenRetryPause);
    }
}

Clipboard::~Clipboard() { ::CloseClipboard(); }

void Clipboard::Clear() {
    if (!::EmptyClipboard()) throw Error(L"Cannot open clipboard");
}

template <class Owner>
void Clipboard::HandOver(UINT format, Owner& owner) {
    if (!::SetClipboardData(format, owner.Get())) throw OutOfResources();
    (void)owner.Release();  // the system frees it when the clipboard is emptied next
}

void Clipboard::SetBitmap(BitmapHandle bitmap) { HandOver(CF_BITMAP, bitmap); }

void Clipboard::SetPalette(PaletteHandle palette) { HandOver(CF_PALETTE, palette); }

}  // namespace fw
