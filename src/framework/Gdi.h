#pragma once
// Owners for GDI and USER handles. Every handle has exactly one move-only owner, and every
// SelectObject is undone by a guard declared after the object it selects, so the object is
// deselected before its owner deletes it. And the one conversion between the rectangles of
// base/ and GDI's (both have exclusive right and bottom edges).
#include <windows.h>

#include <utility>

#include "base/Geometry.h"

namespace fw {

template <class H>
bool NotNull(H h) noexcept {
    return h != nullptr;
}

// Owns one handle; a value that IsSet refuses counts as no handle (nullptr) and is never closed.
template <class H, auto Close, auto IsSet = NotNull<H>>
class Unique {
public:
    Unique() = default;
    explicit Unique(H h) noexcept : h_(IsSet(h) ? h : nullptr) {}
    Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    Unique& operator=(Unique&& o) noexcept {
        if (this != &o) Reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { Reset(); }

    void Reset(H h = nullptr) noexcept {
        if (!IsSet(h)) h = nullptr;
        if (h_ && h_ != h) Close(h_);
        h_ = h;
    }
    [[nodiscard]] H Release() noexcept { return std::exchange(h_, nullptr); }
    H Get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != nullptr; }

private:
    H h_ = nullptr;
};

inline void DeleteGdiObject(HGDIOBJ h) noexcept { ::DeleteObject(h); }
inline void DeleteDcHandle(HDC h) noexcept { ::DeleteDC(h); }
inline void DestroyIconHandle(HICON h) noexcept { ::DestroyIcon(h); }
inline void DestroyCursorHandle(HCURSOR h) noexcept { ::DestroyCursor(h); }
inline void CloseKernelHandle(HANDLE h) noexcept { ::CloseHandle(h); }
inline void DestroyWindowHandle(HWND h) noexcept { ::DestroyWindow(h); }
// Kernel functions answer either nullptr or INVALID_HANDLE_VALUE (CreateFile) for no handle.
inline bool IsKernelHandle(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }

using Pen = Unique<HPEN, DeleteGdiObject>;
using Brush = Unique<HBRUSH, DeleteGdiObject>;
using Font = Unique<HFONT, DeleteGdiObject>;
using BitmapHandle = Unique<HBITMAP, DeleteGdiObject>;
using Region = Unique<HRGN, DeleteGdiObject>;
using PaletteHandle = Unique<HPALETTE, DeleteGdiObject>;
using MemoryDc = Unique<HDC, DeleteDcHandle>;
using IconHandle = Unique<HICON, DestroyIconHandle>;
using CursorHandle = Unique<HCURSOR, DestroyCursorHandle>;
// A window that is not one of our classes' (a tooltip, say): destroyed with its owner.
using WindowHandle = Unique<HWND, DestroyWindowHandle>;
using KernelHandle = Unique<HANDLE, CloseKernelHandle, IsKernelHandle>;

// Selects an object into a DC for the guard's lifetime.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(::SelectObject(dc, obj)) {}
    ~SelectGuard() {
        if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// SaveDC/RestoreDC pair: clip, origin and selections made inside are undone together.
class SavedDc {
public:
    explicit SavedDc(HDC dc) noexcept : dc_(dc), id_(::SaveDC(dc)) {}
    ~SavedDc() {
        if (id_) ::RestoreDC(dc_, id_);
    }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int id_;
};

// A palette selected and realized in a DC for the guard's lifetime; none for nullptr.
class PaletteSelection {
public:
    PaletteSelection(HDC dc, HPALETTE palette) : dc_(dc) {
        if (!palette) return;
        previous_ = ::SelectPalette(dc, palette, FALSE);
        ::RealizePalette(dc);
    }
    ~PaletteSelection() {
        if (previous_) ::SelectPalette(dc_, previous_, FALSE);
    }
    PaletteSelection(const PaletteSelection&) = delete;
    PaletteSelection& operator=(const PaletteSelection&) = delete;

private:
    HDC dc_;
    HPALETTE previous_ = nullptr;
};

// GetDC/ReleaseDC of a window (nullptr: the screen).
class WindowDc {
public:
    explicit WindowDc(HWND wnd) noexcept : wnd_(wnd), dc_(::GetDC(wnd)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(wnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const noexcept { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
};

// BeginPaint/EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND wnd) noexcept : wnd_(wnd) { dc_ = ::BeginPaint(wnd, &ps_); }
    ~PaintDc() { ::EndPaint(wnd_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const noexcept { return dc_; }
    const RECT& Area() const noexcept { return ps_.rcPaint; }

private:
    HWND wnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

inline RECT ToRect(const base::IntRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
inline base::IntRect ToIntRect(const RECT& r) { return base::IntRect{r.left, r.top, r.right, r.bottom}; }

}  // namespace fw
