#include "framework/Canvas.h"

namespace fw {

namespace {

struct SharedFontEntry {
    FontSpec description;  // with the colour left out: it is not the font's
    int dpi;
    Font font;
};

Font MakeFont(const FontSpec& font, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(font.height, dpi, 96);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfCharSet = font.charset;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, font.name.c_str(), LF_FACESIZE);
    return Font(::CreateFontIndirectW(&lf));
}

}  // namespace

HFONT SharedFont(const FontSpec& font, int dpi) {
    static std::mutex lock;
    static std::vector<SharedFontEntry> fonts;
    FontSpec key = font;
    key.color = kWindowText;
    std::lock_guard<std::mutex> hold(lock);
    for (const SharedFontEntry& e : fonts)
        if (e.dpi == dpi && e.description == key) return e.font.Get();
    Font made = MakeFont(key, dpi);
    if (!made) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));  // out of GDI: never null
    fonts.push_back({key, dpi, std::move(made)});
    return fonts.back().font.Get();
}

Canvas::~Canvas() { Detach(); }

void Canvas::Attach(HDC dc) {
    Detach();
    dc_ = dc;
    saved_ = ::SaveDC(dc);
    // A new DC holds its own stock objects: select ours again at the next drawing call.
    penDirty_ = brushDirty_ = fontDirty_ = true;
}

void Canvas::Detach() {
    if (!dc_) return;
    // RestoreDC puts back the objects that were selected at Attach, so ours are deselected
    // before they are ever deleted.
    if (saved_) ::RestoreDC(dc_, saved_);
    dc_ = nullptr;
    saved_ = 0;
}

void Canvas::SetPenColor(Color c) {
    if (c != penColor_) {
        penColor_ = c;
        penDirty_ = true;
    }
}
void Canvas::SetPenWidth(int w) {
    if (w != penWidth_) {
        penWidth_ = w;
        penDirty_ = true;
    }
}
void Canvas::SetPenStyle(int s) {
    if (s != penStyle_) {
        penStyle_ = s;
        penDirty_ = true;
    }
}
void Canvas::SetPenMode(int m) {
    if (m != penMode_) {
        penMode_ = m;
        penDirty_ = true;
    }
}
void Canvas::SetBrushColor(Color c) {
    if (c != brushColor_ || brushStyle_ != BrushStyle::Solid) {
        brushColor_ = c;
        brushStyle_ = BrushStyle::Solid;
        brushDirty_ = true;
    }
}
void Canvas::SetBrushStyle(BrushStyle s) {
    if (s != brushStyle_) {
        brushStyle_ = s;
        brushDirty_ = true;
    }
}
void Canvas::SetFont(const FontSpec& f) {
    if (!(f == font_)) {
        font_ = f;
        fontDirty_ = true;
    }
}

void Canvas::RequirePen() {
    if (!penDirty_ && pen_) return;
    Pen fresh(::CreatePen(penStyle_, penWidth_, ToRgb(penColor_)));
    ::SelectObject(dc_, fresh.Get());  // deselects the old pen before it is deleted below
    pen_ = std::move(fresh);
    ::SetROP2(dc_, penMode_);
    penDirty_ = false;
}

void Canvas::RequireBrush() {
    if (!brushDirty_ && brush_) return;
    Brush fresh;
    if (brushStyle_ == BrushStyle::Clear) {
        LOGBRUSH lb{BS_HOLLOW, 0, 0};
        fresh.Reset(::CreateBrushIndirect(&lb));
        ::SetBkMode(dc_, TRANSPARENT);
    } else {
        fresh.Reset(::CreateSolidBrush(ToRgb(brushColor_)));
        ::SetBkMode(dc_, OPAQUE);
        ::SetBkColor(dc_, ToRgb(brushColor_));
    }
    ::SelectObject(dc_, fresh.Get());
    brush_ = std::move(fresh);
    brushDirty_ = false;
}

void Canvas::RequireFont() {
    if (!fontDirty_ && hfont_) return;
    hfont_ = SharedFont(font_);
    ::SelectObject(dc_, hfont_);
    ::SetTextColor(dc_, ToRgb(font_.color));
    fontDirty_ = false;
}

void Canvas::Rectangle(int l, int t, int r, int b) {
    RequirePen();
    RequireBrush();
    ::Rectangle(dc_, l, t, r, b);
}

void Canvas::Polygon(const std::vector<POINT>& pts) {
    RequirePen();
    RequireBrush();
    ::Polygon(dc_, pts.data(), int(pts.size()));
}

void Canvas::Polyline(const std::vector<POINT>& pts) {
    RequirePen();
    ::Polyline(dc_, pts.data(), int(pts.size()));
}

void Canvas::MoveTo(int x, int y) { ::MoveToEx(dc_, x, y, nullptr); }

void Canvas::LineTo(int x, int y) {
    RequirePen();
    ::LineTo(dc_, x, y);
}

void Canvas::FillRect(const RECT& r) {
    RequireBrush();
    ::FillRect(dc_, &r, brush_.Get());
}

void Canvas::TextOut(int x, int y, const std::wstring& text) {
    RequireFont();
    RequireBrush();
    ::TextOutW(dc_, x, y, text.c_str(), int(text.size()));
}

SIZE Canvas::TextExtent(const std::wstring& text) {
    RequireFont();
    SIZE sz{};
    ::GetTextExtentPoint32W(dc_, text.c_str(), int(text.size()), &sz);
    return sz;
}

void Canvas::CopyRect(const RECT& dest, HDC src, const RECT& s, DWORD rop) {
    int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    int sw = s.right - s.left, sh = s.bottom - s.top;
    if (dw == sw && dh == sh)
        ::BitBlt(dc_, dest.left, dest.top, dw, dh, src, s.left, s.top, rop);
    else
        ::StretchBlt(dc_, dest.left, dest.top, dw, dh, src, s.left, s.top, sw, sh, rop);
}

RECT Canvas::ClipRect() const {
    RECT r{};
    ::GetClipBox(dc_, &r);
    return r;
}

void DrawControlText(HDC dc, const std::wstring& text, const RECT& rect, UINT format, bool enabled, COLORREF color) {
    ::SetBkMode(dc, TRANSPARENT);
    RECT r = rect;
    if (enabled) {
        ::SetTextColor(dc, color);
        ::DrawTextW(dc, text.c_str(), -1, &r, format);
        return;
    }
    RECT shadow = rect;
    ::OffsetRect(&shadow, 1, 1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::DrawTextW(dc, text.c_str(), -1, &shadow, format);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
    ::DrawTextW(dc, text.c_str(), -1, &r, format);
}

}  // namespace fw
