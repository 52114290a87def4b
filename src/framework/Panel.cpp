#include "framework/Panel.h"

#include "framework/Form.h"

namespace fw {

namespace {
void Frame3D(HDC dc, RECT& r, COLORREF topLeft, COLORREF bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        Pen tl(::CreatePen(PS_SOLID, 1, topLeft)), br(::CreatePen(PS_SOLID, 1, bottomRight));
        {
            SelectGuard sel(dc, tl.Get());
            ::MoveToEx(dc, r.left, r.bottom - 1, nullptr);
            ::LineTo(dc, r.left, r.top);
            ::LineTo(dc, r.right - 1, r.top);
        }
        {
            SelectGuard sel(dc, br.Get());
            ::MoveToEx(dc, r.right - 1, r.top, nullptr);
            ::LineTo(dc, r.right - 1, r.bottom - 1);
            ::LineTo(dc, r.left - 1, r.bottom - 1);
        }
        ::InflateRect(&r, -1, -1);
    }
}
}  // namespace

Panel::Panel(Container* parent, std::wstring name) : Container(parent, std::move(name)) {
    if (parent) color_ = parent->GetColor();
}

int Panel::BorderWidth() const {
    return (singleBorder_ ? 1 : 0) + (bevelOuter_ != Bevel::None ? bevelWidth_ : 0) +
           (bevelInner_ != Bevel::None ? bevelWidth_ : 0);
}

RECT Panel::AlignArea() const {
    RECT r{0, 0, Width(), Height()};
    ::InflateRect(&r, -BorderWidth(), -BorderWidth());
    return r;
}

void Panel::PaintSelf(HDC dc) {
    RECT r{0, 0, Width(), Height()};
    COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), dark = ::GetSysColor(COLOR_BTNSHADOW);
    if (singleBorder_) Frame3D(dc, r, RGB(0, 0, 0), RGB(0, 0, 0), 1);
    if (bevelOuter_ != Bevel::None)
        Frame3D(dc, r, bevelOuter_ == Bevel::Raised ? light : dark, bevelOuter_ == Bevel::Raised ? dark : light,
                bevelWidth_);
    if (bevelInner_ != Bevel::None)
        Frame3D(dc, r, bevelInner_ == Bevel::Raised ? light : dark, bevelInner_ == Bevel::Raised ? dark : light,
                bevelWidth_);
    if (!text_.empty()) {
        HFONT font = DpiFont();
        SelectGuard sel(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ToRgb(font_.color));
        ::DrawTextW(dc, text_.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void Panel::ClientMouseUp(MouseButton button, ShiftState, int x, int y) {
    if (button == MouseButton::Left && x >= 0 && y >= 0 && x < Width() && y < Height()) Click();
}

}  // namespace fw
