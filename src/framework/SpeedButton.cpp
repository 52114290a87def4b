#include "framework/SpeedButton.h"

#include "framework/Form.h"

namespace fw {

SpeedButton::SpeedButton(Container* parent, std::wstring name) : GraphicControl(parent, std::move(name)) {
    opaque_ = true;
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
    // A click on a toggle flips it before the click handler runs.
    if (inside && groupIndex_ != 0) {
        if (!down_)
            down_ = true;
        else if (allowAllUp_)
            down_ = false;
    }
    Repaint();
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
