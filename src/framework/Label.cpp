#include "framework/Label.h"

#include <oleacc.h>

#include "framework/Container.h"
#include "framework/Form.h"

namespace fw {

Label::Label(Container* parent, std::wstring name) : GraphicControl(parent, std::move(name)) {
    if (parent) color_ = parent->GetColor();
    accessibleRole_ = ROLE_SYSTEM_STATICTEXT;
}

void Label::SetAutoSize(bool a) {
    autoSize_ = a;
    AdjustSize();
}

void Label::SetTransparent(bool t) {
    if (t == transparent_) return;
    transparent_ = t;
    Invalidate();
}

UINT Label::DrawFlags() const { return DT_LEFT | DT_TOP | DT_EXPANDTABS | (showAccel_ ? 0 : DT_NOPREFIX); }

void Label::AdjustSize() {
    if (!autoSize_) return;
    // One memory DC, compatible with the screen, measures every label's text: asking the
    // system for a screen DC each time costs more than the measuring.
    static MemoryDc measuring(::CreateCompatibleDC(nullptr));
    HDC dc = measuring.Get();
    HFONT font = DpiFont();
    SelectGuard sel(dc, font);
    RECT r{0, 0, 0, 0};
    std::wstring text = text_.empty() ? std::wstring(L" ") : text_;
    ::DrawTextW(dc, text.c_str(), -1, &r, DrawFlags() | DT_CALCRECT);
    int w = text_.empty() ? 0 : r.right;
    Invalidate();
    SetBounds(Left(), Top(), w, r.bottom);
    Invalidate();
}

void Label::TextChanged() {
    AdjustSize();
    Invalidate();
}

void Label::FontChanged() {
    AdjustSize();
    Invalidate();
}

void Label::Paint() {
    HDC dc = canvas_.Handle();
    RECT r{0, 0, Width(), Height()};
    if (!transparent_) {
        Brush back(::CreateSolidBrush(ToRgb(color_)));
        ::FillRect(dc, &r, back.Get());
    }
    HFONT font = DpiFont();
    SelectGuard sel(dc, font);
    DrawControlText(dc, text_, r, DrawFlags(), enabled_, ToRgb(font_.color));
}

}  // namespace fw
