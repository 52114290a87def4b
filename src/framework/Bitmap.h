#pragma once
// A bitmap with its own memory DC and canvas: device-dependent (compatible with the screen)
// unless made from a DIB. Copies are explicit (Assign); the handle has one owner.
#include <windows.h>

#include <functional>

#include "framework/Canvas.h"
#include "framework/Gdi.h"

namespace fw {

// A new logical palette with these entries. Throws OutOfResources when the system cannot make
// it.
PaletteHandle MakePalette(const PALETTEENTRY* entries, int count);

// A new palette with the same entries: a palette is in use in one kind of DC at a time and has
// one owner, so each bitmap, the clipboard and the printer get their own. An empty owner for
// no palette. Throws OutOfResources when the system cannot make it.
PaletteHandle CopyPalette(HPALETTE palette);

class Bitmap {
public:
    Bitmap() = default;
    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return !bmp_ || width_ <= 0 || height_ <= 0; }

    // A new bitmap of this size compatible with the screen (or with `compatibleWith`), content
    // undefined; 0 x 0 empties it. The same size keeps the bitmap there is. Throws
    // OutOfResources when the system cannot make it.
    void SetSize(int width, int height, HDC compatibleWith = nullptr);
    // Deep copy of another bitmap's pixels, size and palette.
    void Assign(const Bitmap& other);
    // Exchanges pixels, size and palette with another bitmap, without copying; both report
    // the change. A picture is handed over this way where a copy would only be thrown away.
    void Swap(Bitmap& other);
    // Takes ownership of a bitmap handle (DDB or DIB section).
    void Adopt(HBITMAP bmp, HPALETTE palette = nullptr) { Adopt(BitmapHandle(bmp), PaletteHandle(palette)); }
    void Adopt(BitmapHandle bmp, PaletteHandle palette);
    // Gives the bitmap a palette (or none), selected into its DC from then on; the pixels stay.
    void SetPalette(PaletteHandle palette);
    void LoadFromResource(HINSTANCE instance, const wchar_t* name);
    void Clear();

    HBITMAP Handle() const { return bmp_.Get(); }
    HPALETTE Palette() const { return palette_.Get(); }
    int BitsPerPixel() const;
    // Memory DC with the bitmap selected; made on first use and kept.
    HDC Dc();
    Canvas& GetCanvas();
    // Deselects the bitmap from its DC and frees the DC, e.g. before the clipboard takes it.
    void ReleaseDc();
    // Deselects the bitmap from its DC, as GetDIBits and image lists want it, and keeps the DC
    // for the next use of Dc(), which selects the bitmap again.
    void Deselect();

    std::function<void()> onChange;

private:
    void Changed() {
        if (onChange) onChange();
    }
    BitmapHandle bmp_;
    PaletteHandle palette_;
    MemoryDc dc_;
    HGDIOBJ dcOriginal_ = nullptr;  // what the DC held before the bitmap; null while deselected
    Canvas canvas_;
    int width_ = 0, height_ = 0;
};

}  // namespace fw
