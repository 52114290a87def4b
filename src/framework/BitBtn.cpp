#include "framework/BitBtn.h"

namespace fw {

BitBtn::BitBtn(Container* parent, std::wstring name) : Button(parent, std::move(name)) {}

void BitBtn::ScaleForDpi(int fromDpi, int toDpi) {
    Button::ScaleForDpi(fromDpi, toDpi);
    glyph_.ChangeDpi(toDpi);
    Invalidate();
}

LRESULT BitBtn::Notify(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        return TRUE;
    }
    return Button::Notify(msg, wp, lp);
}

void BitBtn::DrawItem(const DRAWITEMSTRUCT& di) {
    HDC dc = di.hDC;
    RECT r = di.rcItem;
    bool pressed = di.itemState & ODS_SELECTED;
    bool focused = di.itemState & ODS_FOCUS;
    bool disabled = di.itemState & ODS_DISABLED;
    if (default_ || focused) {
        // The default button wears a dark outline.
        Brush frame(::CreateSolidBrush(::GetSysColor(COLOR_WINDOWFRAME)));
        ::FrameRect(dc, &r, frame.Get());
        ::InflateRect(&r, -1, -1);
    }
    ::DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    RECT content = r;
    ::InflateRect(&content, -2, -2);
    if (pressed) ::OffsetRect(&content, 1, 1);
    DrawGlyphAndCaption(dc, content, glyph_, layout_, text_, hfont_, !disabled, ToRgb(font_.color));
    if (focused) {
        RECT f = r;
        ::InflateRect(&f, -3, -3);
        ::DrawFocusRect(dc, &f);
    }
}

}  // namespace fw
