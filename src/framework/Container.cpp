#include "framework/Container.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/Form.h"
#include "framework/Hints.h"
#include "framework/PointerTracking.h"

namespace fw {

Container::Container(Container* parent, std::wstring name) : WinControl(parent, std::move(name)) {
    ownAccessibleObject_ = true;
}

Container::~Container() {
    // Children are members of the form that outlive this call only as objects; they must not
    // reach back into a container that is going away.
    for (Control* c : controls_) c->parent_ = nullptr;
    DestroyHandle();
}

void Container::Remove(Control* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    if (mouseControl_ == c) mouseControl_ = nullptr;
    if (captureControl_ == c) captureControl_ = nullptr;
}

Control* Container::FindControl(const std::wstring& name) const {
    for (Control* c : controls_) {
        if (c->Name() == name) return c;
        if (auto* sub = dynamic_cast<Container*>(c))
            if (Control* found = sub->FindControl(name)) return found;
    }
    return nullptr;
}

WindowParams Container::Params() {
    WindowParams p;
    p.className = L"FwContainer";
    p.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0) | (enabled_ ? 0 : WS_DISABLED);
    p.exStyle = WS_EX_CONTROLPARENT;
    POINT s = parent_ ? parent_->ScrollOffset() : POINT{0, 0};
    p.x = Left() - s.x;
    p.y = Top() - s.y;
    p.width = Width();
    p.height = Height();
    p.parent = parent_ ? parent_->Handle() : nullptr;
    p.caption = text_;
    return p;
}

void Container::CreateWnd() {
    if (hwnd_) return;
    if (parent_ && !parent_->Handle()) return;
    CreateHandle(Params());
}

void Container::HandleCreated() {
    ApplyFont();
    ApplyZOrder();
    if (MakesChildWindowsNow()) CreateChildWindows();
    Realign();
}

void Container::ScaleForDpi(int fromDpi, int toDpi) {
    WinControl::ScaleForDpi(fromDpi, toDpi);
    for (Control* c : controls_) c->ScaleForDpi(fromDpi, toDpi);
    Realign();
}

void Container::PropagateShowingChanged() {
    ShowingChanged();
    for (Control* c : controls_) c->PropagateShowingChanged();
}

void Container::CreateChildWindows() {
    for (Control* c : controls_) {
        auto* w = dynamic_cast<WinControl*>(c);
        if (w && !w->Handle()) w->CreateWnd();
    }
}

GraphicControl* Container::GraphicAt(POINT pt) const {
    pt.x += scroll_.x;
    pt.y += scroll_.y;
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        auto* g = dynamic_cast<GraphicControl*>(*it);
        if (g && g->Visible() && ::PtInRect(&g->bounds_, pt)) return g;
    }
    return nullptr;
}

void Container::PaintControls(HDC dc, const GraphicControl* from) {
    RECT clip{};
    ::GetClipBox(dc, &clip);
    bool started = from == nullptr;
    for (Control* c : controls_) {
        auto* g = dynamic_cast<GraphicControl*>(c);
        if (!g) continue;
        if (!started) {
            if (g != from) continue;
            started = true;
        }
        if (!g->Visible()) continue;
        RECT r = g->bounds_;
        ::OffsetRect(&r, -scroll_.x, -scroll_.y);
        RECT hit;
        if (!::IntersectRect(&hit, &r, &clip)) continue;
        SavedDc saved(dc);
        ::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        POINT org;
        ::GetViewportOrgEx(dc, &org);
        ::SetViewportOrgEx(dc, org.x + r.left, org.y + r.top, nullptr);
        g->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void Container::Realign() {
    if (!hwnd_ && !dynamic_cast<Form*>(this)) return;
    RECT area = AlignArea();
    for (Control* c : controls_) {
        if (!c->Visible()) continue;
        switch (c->GetAlign()) {
        case Align::Top:
            c->SetBounds(area.left, area.top, area.right - area.left, c->Height());
            area.top += c->Height();
            break;
        case Align::Bottom:
            c->SetBounds(area.left, area.bottom - c->Height(), area.right - area.left, c->Height());
            area.bottom -= c->Height();
            break;
        case Align::Left:
            c->SetBounds(area.left, area.top, c->Width(), area.bottom - area.top);
            area.left += c->Width();
            break;
        case Align::Right:
            c->SetBounds(area.right - c->Width(), area.top, c->Width(), area.bottom - area.top);
            area.right -= c->Width();
            break;
        default:
            break;
        }
    }
    for (Control* c : controls_)
        if (c->Visible() && c->GetAlign() == Align::Client)
            c->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
}

void Container::ChildBoundsChanged(Control* child, bool sizeChanged) {
    if (sizeChanged || child->GetAlign() != Align::None) Realign();
}

RECT Container::AlignArea() const {
    RECT area{0, 0, Width(), Height()};
    if (hwnd_) ::GetClientRect(hwnd_, &area);
    return area;
}

void Container::BoundsChanged() {
    WinControl::BoundsChanged();
    Realign();
}

void Container::PaintBackground(HDC dc, const RECT& client) {
    Brush b(::CreateSolidBrush(ToRgb(color_)));
    ::FillRect(dc, &client, b.Get());
}

HCURSOR Container::CursorAt(POINT pt) const {
    if (GraphicControl* g = GraphicAt(pt); g && g->Cursor()) return g->Cursor();
    return cursor_;
}

void Container::TrackLeave() {
    // Through the application, whose way of watching suits the system it runs on. Asked on
    // every move, which costs little.
    PointerTracking::Instance().Track(hwnd_);
}

LRESULT Container::OnMouse(UINT msg, WPARAM wp, LPARAM lp) {
    POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ShiftState shift = ShiftFromMouse(wp);
    GraphicControl* target = captureControl_ ? captureControl_ : GraphicAt(pt);
    if (msg == WM_MOUSEMOVE) {
        TrackLeave();
        GraphicControl* under = GraphicAt(pt);
        if (under != mouseControl_) {
            if (mouseControl_) mouseControl_->MouseLeave();
            mouseControl_ = under;
            if (mouseControl_) mouseControl_->MouseEnter();
        }
        Hints::Instance().MouseMove(under ? static_cast<Control*>(under) : this);
    }
    MouseButton button = MouseButton::Left;
    if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK || msg == WM_RBUTTONUP) button = MouseButton::Right;
    if (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONDBLCLK || msg == WM_MBUTTONUP) button = MouseButton::Middle;
    // A quick second press of any button comes as a double-click (the forms' class asks for
    // them) and is a press like the first.
    bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_LBUTTONDBLCLK ||
                msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
    bool up = msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
    if (target && target->Enabled()) {
        int x = pt.x + scroll_.x - target->Left(), y = pt.y + scroll_.y - target->Top();
        if (down) {
            Hints::Instance().Cancel();
            captureControl_ = target;
            ::SetCapture(hwnd_);
            target->MouseDown(button, shift, x, y);
        } else if (up) {
            bool inside = GraphicAt(pt) == target;
            captureControl_ = nullptr;
            if (::GetCapture() == hwnd_) ::ReleaseCapture();
            target->MouseUp(button, shift, x, y);
            if (inside && button == MouseButton::Left) target->Click();
        } else {
            target->MouseMove(shift, x, y);
        }
        return 0;
    }
    if (target) return 0;  // a disabled windowless control swallows the mouse
    if (down) {
        Hints::Instance().Cancel();
        ClientMouseDown(button, shift, pt.x, pt.y);
    } else if (up) {
        ClientMouseUp(button, shift, pt.x, pt.y);
    } else {
        ClientMouseMove(shift, pt.x, pt.y);
    }
    return 0;
}

void Container::PaintClient(HDC dc) {
    RECT client;
    ::GetClientRect(hwnd_, &client);
    PaintBackground(dc, client);
    PaintSelf(dc);
    PaintControls(dc);
}

std::vector<uint32_t> Container::PaintedPixels(const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (!hwnd_ || width <= 0 || height <= 0) return {};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    BitmapHandle dib(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dib || !bits || !dc) throw OutOfResources();
    SelectGuard select(dc.Get(), dib.Get());
    ::SetViewportOrgEx(dc.Get(), -area.left, -area.top, nullptr);
    PaintClient(dc.Get());
    ::GdiFlush();
    const auto* first = static_cast<const uint32_t*>(bits);
    return std::vector<uint32_t>(first, first + size_t(width) * size_t(height));
}

void Container::OnPaint() {
    PaintDc pdc(hwnd_);
    PaintClient(pdc.Get());
}

WinControl* Container::NotifySender(UINT msg, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        return lp ? WinControl::FromHandle(reinterpret_cast<HWND>(lp)) : nullptr;  // 0: a menu or accelerator
    case WM_NOTIFY:
        return WinControl::FromHandle(reinterpret_cast<NMHDR*>(lp)->hwndFrom);
    case WM_DRAWITEM:
        return WinControl::FromHandle(reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem);
    default:
        return nullptr;
    }
}

HBRUSH Container::OnCtlColor(HDC dc, HWND child) {
    WinControl* c = WinControl::FromHandle(child);
    return c ? c->CtlColor(dc) : nullptr;
}

void Container::OnCaptureChanged(HWND taker) {
    // A system move loop (or anything else) took the mouse: the press that a windowless
    // control took is over, even though its button-up never arrives here.
    if (taker != hwnd_) captureControl_ = nullptr;
}

void Container::OnMouseLeave() {
    if (mouseControl_) {
        mouseControl_->MouseLeave();
        mouseControl_ = nullptr;
    }
    ClientMouseLeave();
}

bool Container::OnSetCursor(HWND under, UINT hitTest) {
    // The program-wide cursor and the controls' own cursors are for client areas: title
    // bars, borders and scroll bars keep the system's.
    if (hitTest != HTCLIENT) return false;
    HCURSOR cursor = Application::Instance().ScreenCursor();
    if (!cursor && under == hwnd_) {
        POINT pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(hwnd_, &pt);
        cursor = CursorAt(pt);
    } else if (!cursor) {
        WinControl* child = WinControl::FromHandle(under);
        if (child && child != this) cursor = child->Cursor();
    }
    if (!cursor) return false;
    ::SetCursor(cursor);
    return true;
}

void Container::OnSize() {
    Realign();
    Resized();
}

LRESULT Container::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;  // painted with the rest in WM_PAINT, without flicker
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_PRINTCLIENT:
        PaintClient(reinterpret_cast<HDC>(wp));  // the same routine as the screen's paint
        return 0;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
        if (WinControl* c = NotifySender(msg, lp)) return c->Notify(msg, wp, lp);
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (HBRUSH b = OnCtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
            return reinterpret_cast<LRESULT>(b);
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
        return OnMouse(msg, wp, lp);
    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lp));
        break;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wp), LOWORD(lp))) return TRUE;
        break;
    case WM_SIZE:
        OnSize();
        break;
    case WM_GETOBJECT:
        if (const LRESULT object = AnswerGetObject(*this, wp, lp)) return object;
        break;
    case kAccessibleActionMessage:
        RunAccessibleAction(*this, wp);
        return 0;
    default:
        break;
    }
    return Default(msg, wp, lp);
}

}  // namespace fw
