#include "framework/HintWindow.h"

#include "framework/Application.h"
#include "framework/Canvas.h"

namespace fw {

namespace {
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
    WindowDc dc(hwnd_);
    HFONT font = SharedFont(HintFont());
    SelectGuard sel(dc.Get(), font);
    RECT r{0, 0, 400, 0};
    ::DrawTextW(dc.Get(), text_.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX);
    int w = r.right + 8, h = r.bottom + 4;
    // Keep the tip on the screen.
    int sw = ::GetSystemMetrics(SM_CXSCREEN), sh = ::GetSystemMetrics(SM_CYSCREEN);
    if (screen.x + w > sw) screen.x = sw - w;
    if (screen.y + h > sh) screen.y = screen.y - h - 24;
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
        ::DrawTextW(pdc.Get(), text_.c_str(), -1, &r, DT_NOPREFIX);
        return 0;
    }
    if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    return Default(msg, wp, lp);
}

}  // namespace fw
