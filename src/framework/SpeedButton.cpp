#include "framework/SpeedButton.h"

#include <oleacc.h>

#include "framework/Form.h"

namespace fw {

SpeedButton::SpeedButton(Container* parent, std::wstring name) : GraphicControl(parent, std::move(name)) {
    opaque_ = true;
    SetAccessibleRole(ROLE_SYSTEM_PUSHBUTTON, L"Press");
}

void SpeedButton::ScaleForDpi(int fromDpi, int toDpi) {
    GraphicControl::ScaleForDpi(fromDpi, toDpi);
    glyph_.ChangeDpi(toDpi);
    Invalidate();
}

void SpeedButton::SetDown(bool d) {
    if (d == down_) return;
    down_ = d;
    Invalidate();
    TellAccessibility(EVENT_OBJECT_STATECHANGE);
}

void SpeedButton::MouseDown(MouseButton button, ShiftState, int, int) {
    if (button != MouseButton::Left) return;
    pressing_ = true;
    Repaint();
}

void SpeedButton::MouseUp(MouseButton button, ShiftState, int x, int y) {
    if (button != MouseButton::Left || !pressing_) return;
    pressing_ = false;
    bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    if (inside) Flip();
    Repaint();
}

void SpeedButton::Flip() {
    if (groupIndex_ == 0) return;
    if (!down_)
        SetDown(true);
    else if (allowAllUp_)
        SetDown(false);
}

long SpeedButton::AccessibleState() const {
    return GraphicControl::AccessibleState() | (down_ ? STATE_SYSTEM_PRESSED : 0);
}

void SpeedButton::DoAccessibleAction() {
    Flip();
    Repaint();
    Click();
}

void SpeedButton::Paint() {
    HDC dc = canvas_.Handle();
    RECT r{0, 0, Width(), Height()};
    Brush face(::CreateSolidBrush(ToRgb(kBtnFace)));
    ::FillRect(dc, &r, face.Get());
    bool sunken = down_ || pressing_;
    ::DrawEdge(dc, &r, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    RECT content = r;
    ::InflateRect(&content, -2, -2);
    if (sunken) ::OffsetRect(&content, 1, 1);
    HFONT font = DpiFont();
    DrawGlyphAndCaption(dc, content, glyph_, layout_, text_, font, enabled_, ToRgb(font_.color));
}

}  // namespace fw
