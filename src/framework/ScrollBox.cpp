#include "framework/ScrollBox.h"

#include <algorithm>

namespace fw {

ScrollBox::ScrollBox(Container* parent, std::wstring name) : Container(parent, std::move(name)) {}

WindowParams ScrollBox::Params() {
    WindowParams p = Container::Params();
    p.className = L"FwScrollBox";
    return p;
}

void ScrollBox::HandleCreated() {
    Container::HandleCreated();
    UpdateScrollRange();
}

void ScrollBox::ChildBoundsChanged(Control* child, bool sizeChanged) {
    Container::ChildBoundsChanged(child, sizeChanged);
    UpdateScrollRange();
}

void ScrollBox::UpdateScrollRange() {
    if (!hwnd_) return;
    int extentX = 0, extentY = 0;
    for (Control* c : controls_) {
        if (!c->Visible()) continue;
        extentX = std::max(extentX, c->Left() + c->Width());
        extentY = std::max(extentY, c->Top() + c->Height());
    }
    // Two passes: a bar that appears takes room from the other direction.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client;
        ::GetClientRect(hwnd_, &client);
        SCROLLINFO h{sizeof h, SIF_RANGE | SIF_PAGE, 0, extentX > client.right ? extentX - 1 : 0, UINT(client.right)};
        SCROLLINFO v{sizeof v, SIF_RANGE | SIF_PAGE, 0, extentY > client.bottom ? extentY - 1 : 0, UINT(client.bottom)};
        ::SetScrollInfo(hwnd_, SB_HORZ, &h, TRUE);
        ::SetScrollInfo(hwnd_, SB_VERT, &v, TRUE);
    }
    RECT client;
    ::GetClientRect(hwnd_, &client);
    int maxX = std::max(0, extentX - int(client.right)), maxY = std::max(0, extentY - int(client.bottom));
    ScrollTo(std::min(int(scroll_.x), maxX), std::min(int(scroll_.y), maxY));
}

bool ScrollBox::HorzScrollVisible() const { return hwnd_ && (::GetWindowLongW(hwnd_, GWL_STYLE) & WS_HSCROLL); }

bool ScrollBox::VertScrollVisible() const { return hwnd_ && (::GetWindowLongW(hwnd_, GWL_STYLE) & WS_VSCROLL); }

void ScrollBox::ScrollTo(int x, int y) {
    if (x == scroll_.x && y == scroll_.y) return;
    scroll_ = POINT{x, y};
    ::SetScrollPos(hwnd_, SB_HORZ, x, TRUE);
    ::SetScrollPos(hwnd_, SB_VERT, y, TRUE);
    for (Control* c : controls_)
        if (auto* w = dynamic_cast<WinControl*>(c); w && w->Handle())
            ::SetWindowPos(w->Handle(), nullptr, c->Left() - x, c->Top() - y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void ScrollBox::OnScroll(int bar, WPARAM wp) {
    SCROLLINFO si{sizeof si, SIF_ALL};
    ::GetScrollInfo(hwnd_, bar, &si);
    int pos = si.nPos;
    switch (LOWORD(wp)) {
    case SB_LINEUP:
        pos -= 8;
        break;
    case SB_LINEDOWN:
        pos += 8;
        break;
    case SB_PAGEUP:
        pos -= int(si.nPage);
        break;
    case SB_PAGEDOWN:
        pos += int(si.nPage);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        pos = si.nTrackPos;
        break;
    case SB_TOP:
        pos = si.nMin;
        break;
    case SB_BOTTOM:
        pos = si.nMax;
        break;
    default:
        return;
    }
    int maxPos = std::max(0, si.nMax - int(si.nPage) + 1);
    pos = std::clamp(pos, 0, maxPos);
    if (bar == SB_HORZ)
        ScrollTo(pos, scroll_.y);
    else
        ScrollTo(scroll_.x, pos);
}

LRESULT ScrollBox::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_HSCROLL) {
        OnScroll(SB_HORZ, wp);
        return 0;
    }
    if (msg == WM_VSCROLL) {
        OnScroll(SB_VERT, wp);
        return 0;
    }
    LRESULT r = Container::OnMessage(msg, wp, lp);
    if (msg == WM_SIZE) UpdateScrollRange();
    return r;
}

}  // namespace fw
