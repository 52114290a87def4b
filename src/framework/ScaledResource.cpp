#include "framework/ScaledResource.h"

#include "base/PictureScale.h"
#include "framework/Gdi.h"

namespace fw {

ScaledResource FindScaledResource(HINSTANCE module, const wchar_t* name, const wchar_t* type, int dpi) {
    const int scale = base::PictureScale(dpi);
    if (scale != 100) {
        std::wstring scaled = base::ScaledName(name, scale);
        if (::FindResourceW(module, scaled.c_str(), type)) return {std::move(scaled), scale};
    }
    return {name, 100};
}

int LoadScaledBitmap(Bitmap& into, const wchar_t* name, int dpi) {
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    const ScaledResource found = FindScaledResource(module, name, RT_BITMAP, dpi);
    into.LoadFromResource(module, found.name.c_str());
    return found.scale;
}

int IconSizeForDpi(int dpi, bool small) {
    using MetricsForDpi = int(WINAPI*)(int, UINT);
    // Windows 10 has the metrics of any dpi; before it, windows have the screen's dpi.
    static const auto forDpi = reinterpret_cast<MetricsForDpi>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    const int metric = small ? SM_CXSMICON : SM_CXICON;
    if (forDpi) return forDpi(metric, UINT(dpi));
    WindowDc screen(nullptr);
    const int screenDpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
    return ::MulDiv(::GetSystemMetrics(metric), dpi, screenDpi > 0 ? screenDpi : 96);
}

HICON LoadIconForDpi(const wchar_t* name, int dpi, bool small) {
    const int size = IconSizeForDpi(dpi, small);
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void WindowIcons::Apply(HWND wnd, int dpi) {
    if (dpi != dpi_) {
        small_.Reset(LoadIconForDpi(MAKEINTRESOURCEW(1), dpi, true));
        big_.Reset(LoadIconForDpi(MAKEINTRESOURCEW(1), dpi, false));
        dpi_ = dpi;
    }
    if (small_) ::SendMessageW(wnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_.Get()));
    if (big_) ::SendMessageW(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_.Get()));
}

}  // namespace fw
