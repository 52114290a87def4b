#include "framework/Bitmap.h"

#include "framework/Error.h"

#include <cstring>
#include <utility>
#include <vector>

namespace fw {

PaletteHandle MakePalette(const PALETTEENTRY* entries, int count) {
    // LOGPALETTE declares one entry; the others follow it.
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + size_t(count) * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(buffer.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = WORD(count);
    if (count > 0) std::memcpy(logical->palPalEntry, entries, size_t(count) * sizeof(PALETTEENTRY));
    PaletteHandle palette(::CreatePalette(logical));
    if (!palette) throw OutOfResources();
    return palette;
}

PaletteHandle CopyPalette(HPALETTE palette) {
    if (!palette) return {};
    WORD count = 0;
    if (!::GetObjectW(palette, sizeof count, &count)) throw OutOfResources();
    std::vector<PALETTEENTRY> entries(count);
    if (count) ::GetPaletteEntries(palette, 0, count, entries.data());
    return MakePalette(entries.data(), count);
}

Bitmap::~Bitmap() { ReleaseDc(); }

void Bitmap::ReleaseDc() {
    Deselect();
    dc_.Reset();
}

void Bitmap::Deselect() {
    // The canvas first: its RestoreDC would select the bitmap again.
    canvas_.Detach();
    if (dc_ && dcOriginal_) ::SelectObject(dc_.Get(), dcOriginal_);
    dcOriginal_ = nullptr;
}

HDC Bitmap::Dc() {
    if (!dc_) {
        dc_.Reset(::CreateCompatibleDC(nullptr));
        if (!dc_) throw OutOfResources();
        if (palette_) ::SelectPalette(dc_.Get(), palette_.Get(), FALSE);
    }
    if (bmp_ && !dcOriginal_) dcOriginal_ = ::SelectObject(dc_.Get(), bmp_.Get());
    return dc_.Get();
}

Canvas& Bitmap::GetCanvas() {
    // Attached only for those who draw through it: a grab or a save wants the DC alone.
    HDC dc = Dc();
    if (!canvas_.Attached()) canvas_.Attach(dc);
    return canvas_;
}

void Bitmap::Clear() {
    ReleaseDc();
    bmp_.Reset();
    palette_.Reset();
    width_ = height_ = 0;
    Changed();
}

void Bitmap::SetSize(int width, int height, HDC compatibleWith) {
    if (width == width_ && height == height_ && bmp_) return;
    ReleaseDc();
    bmp_.Reset();
    width_ = height_ = 0;
    if (width > 0 && height > 0) {
        HBITMAP h = nullptr;
        if (compatibleWith) {
            h = ::CreateCompatibleBitmap(compatibleWith, width, height);
        } else {
            WindowDc screen(nullptr);
            h = ::CreateCompatibleBitmap(screen.Get(), width, height);
        }
        if (!h) throw OutOfResources();
        bmp_.Reset(h);
        width_ = width;
        height_ = height;
    }
    Changed();
}

void Bitmap::Swap(Bitmap& other) {
    if (&other == this) return;
    // Each memory DC goes along with the bitmap selected into it: no DC is made or freed.
    // The canvases stay (they keep their pen, fill and font) and take their new DC when next
    // used.
    canvas_.Detach();
    other.canvas_.Detach();
    std::swap(dc_, other.dc_);
    std::swap(dcOriginal_, other.dcOriginal_);
    std::swap(bmp_, other.bmp_);
    std::swap(palette_, other.palette_);
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    Changed();
    other.Changed();
}

void Bitmap::Adopt(BitmapHandle bmp, PaletteHandle palette) {
    ReleaseDc();
    bmp_ = std::move(bmp);
    palette_ = std::move(palette);
    BITMAP info{};
    if (bmp_ && ::GetObjectW(bmp_.Get(), sizeof info, &info)) {
        width_ = info.bmWidth;
        height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    } else {
        width_ = height_ = 0;
    }
    Changed();
}

void Bitmap::Assign(const Bitmap& other) {
    if (&other == this) return;
    if (other.Empty()) {
        Clear();
        return;
    }
    WindowDc screen(nullptr);
    BitmapHandle copy(::CreateCompatibleBitmap(screen.Get(), other.width_, other.height_));
    if (!copy) throw OutOfResources();
    {
        MemoryDc dst(::CreateCompatibleDC(nullptr));
        SelectGuard selDst(dst.Get(), copy.Get());
        // The source may be selected into its own DC already; use that one when it is.
        auto& src = const_cast<Bitmap&>(other);
        ::BitBlt(dst.Get(), 0, 0, other.width_, other.height_, src.Dc(), 0, 0, SRCCOPY);
    }
    PaletteHandle palette = CopyPalette(other.palette_.Get());
    Adopt(std::move(copy), std::move(palette));
}

void Bitmap::SetPalette(PaletteHandle palette) {
    if (!palette && !palette_) return;
    // The DC lets go of the old palette before its owner deletes it.
    if (dc_)
        ::SelectPalette(dc_.Get(), palette ? palette.Get() : static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)),
                        FALSE);
    palette_ = std::move(palette);
    Changed();
}

void Bitmap::LoadFromResource(HINSTANCE instance, const wchar_t* name) {
    HBITMAP h = static_cast<HBITMAP>(::LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!h) throw Error(L"Resource not found");
    Adopt(h);
}

int Bitmap::BitsPerPixel() const {
    BITMAP info{};
    if (!bmp_ || !::GetObjectW(bmp_.Get(), sizeof info, &info)) return 0;
    return info.bmBitsPixel * info.bmPlanes;
}

}  // namespace fw
