#include "framework/HintWindow.h"

#include "base/Text.h"
#include "framework/Application.h"
#include "framework/Canvas.h"

namespace fw {

namespace {
// The room beside the text inside the tip's border, in pixels.
constexpr int kPadding = 8;

FontSpec HintFont() {
    FontSpec f;
    f.name = L"Tahoma";
    f.height = 11;
    f.color = kBlack;
    return f;
}
}  // namespace

void HintWindow::ShowAt(POINT screen, const std::wstring& text) {
    if (!hwnd_) {
        WindowParams p;
        p.className = L"FwHint";
        p.classStyle = CS_SAVEBITS;
        p.style = WS_POPUP | WS_BORDER;
        p.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
        p.x = p.y = 0;
        p.width = p.height = 1;
        p.parent = Application::Instance().Handle();
        CreateHandle(p);
    }
    text_ = text;
    // The window's text is the tip's whole text, as for any window that shows one.
    ::SetWindowTextW(hwnd_, text_.c_str());
    // The monitor under the point: a tip wider than it is wrapped into lines that fit.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT area = monitor.rcMonitor;
    WindowDc dc(hwnd_);
    HFONT font = SharedFont(HintFont());
    SelectGuard sel(dc.Get(), font);
    const auto width = [&](std::wstring_view part) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc.Get(), part.data(), int(part.size()), &size);
        return int(size.cx);
    };
    shown_.clear();
    for (const std::wstring& line : base::WrapToWidth(text_, width, (area.right - area.left) - kPadding)) {
        if (!shown_.empty()) shown_ += L'\n';
        shown_ += line;
    }
    RECT r{0, 0, 0, 0};
    ::DrawTextW(dc.Get(), shown_.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX);
    int w = r.right + kPadding, h = r.bottom + 4;
    // Keep the tip on the monitor: left of the point where it would run off its right edge,
    // above the pointer where it would run off the bottom, and never off the top-left corner.
    if (screen.x + w > area.right) screen.x = area.right - w;
    if (screen.y + h > area.bottom) screen.y = screen.y - h - 24;
    if (screen.x < area.left) screen.x = area.left;
    if (screen.y < area.top) screen.y = area.top;
    ::SetWindowPos(hwnd_, HWND_TOPMOST, screen.x, screen.y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void HintWindow::HideHint() {
    if (hwnd_) ::ShowWindow(hwnd_, SW_HIDE);
}

LRESULT HintWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PaintDc pdc(hwnd_);
        RECT r;
        ::GetClientRect(hwnd_, &r);
        Brush back(::CreateSolidBrush(ToRgb(Application::Instance().HintColor())));
        ::FillRect(pdc.Get(), &r, back.Get());
        HFONT font = SharedFont(HintFont());
        SelectGuard sel(pdc.Get(), font);
        ::SetBkMode(pdc.Get(), TRANSPARENT);
        ::SetTextColor(pdc.Get(), RGB(0, 0, 0));
        r.left += 3;
        r.top += 1;
        ::DrawTextW(pdc.Get(), shown_.c_str(), -1, &r, DT_NOPREFIX);
        return 0;
    }
    if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    return Default(msg, wp, lp);
}

}  // namespace fw
