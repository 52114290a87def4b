#include "components/VrBorder.h"

TVrBorder::TVrBorder(fw::Container* parent, std::wstring name) : TVrGraphicControl(parent, std::move(name)) {
    SetBounds(0, 0, 50, 50);
    SetAccessibleRole(0);  // a decoration: nothing for assistive technology
}

void TVrBorder::SetShape(TVrBorderShape s) {
    if (s == shape_) return;
    shape_ = s;
    Invalidate();
}

void TVrBorder::SetStyle(TVrBorderStyle s) {
    if (s == style_) return;
    style_ = s;
    Invalidate();
}

void TVrBorder::SetShadowColor(fw::Color c) {
    if (c == shadowColor_) return;
    shadowColor_ = c;
    Invalidate();
}

void TVrBorder::SetHighlightColor(fw::Color c) {
    if (c == highlightColor_) return;
    highlightColor_ = c;
    Invalidate();
}

void TVrBorder::BevelRect(int l, int t, int r, int b, fw::Color first, fw::Color second) {
    canvas_.SetPenColor(first);
    canvas_.Polyline({{l, b}, {l, t}, {r, t}});
    canvas_.SetPenColor(second);
    canvas_.Polyline({{r, t}, {r, b}, {l, b}});
}

void TVrBorder::BevelLine(fw::Color color, int x1, int y1, int x2, int y2) {
    canvas_.SetPenColor(color);
    canvas_.MoveTo(x1, y1);
    canvas_.LineTo(x2, y2);
}

void TVrBorder::Paint() {
    const int w = Width(), h = Height();
    canvas_.SetPenWidth(1);
    const fw::Color first = style_ == bsLowered ? shadowColor_ : highlightColor_;
    const fw::Color second = style_ == bsLowered ? highlightColor_ : shadowColor_;
    switch (shape_) {
    case bsBox:
        BevelRect(0, 0, w - 1, h - 1, first, second);
        break;
    case bsFrame:
        BevelRect(1, 1, w - 1, h - 1, second, second);
        BevelRect(0, 0, w - 2, h - 2, first, first);
        break;
    case bsTopLine:
        BevelLine(first, 0, 0, w, 0);
        BevelLine(second, 0, 1, w, 1);
        break;
    case bsBottomLine:
        BevelLine(first, 0, h - 2, w, h - 2);
        BevelLine(second, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        BevelLine(first, 0, 0, 0, h);
        BevelLine(second, 1, 0, 1, h);
        break;
    case bsRightLine:
        BevelLine(first, w - 2, 0, w - 2, h);
        BevelLine(second, w - 1, 0, w - 1, h);
        break;
    case bsSpacer:
        break;
    }
}
