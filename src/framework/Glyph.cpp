#include "framework/Glyph.h"

#include "framework/ScaledResource.h"

namespace fw {

void Glyph::Load(const wchar_t* resourceName, int numGlyphs, int dpi) {
    LoadScaledBitmap(strip_, resourceName, dpi);
    resource_ = resourceName;
    numGlyphs_ = numGlyphs < 1 ? 1 : numGlyphs;
}

void Glyph::Assign(const Bitmap& strip, int numGlyphs) {
    strip_.Assign(strip);
    resource_.clear();
    numGlyphs_ = numGlyphs < 1 ? 1 : numGlyphs;
}

void Glyph::ChangeDpi(int dpi) {
    if (!resource_.empty()) LoadScaledBitmap(strip_, resource_.c_str(), dpi);
}

void Glyph::Draw(HDC dc, int x, int y, bool enabled) {
    if (Empty()) return;
    int w = FaceWidth(), h = FaceHeight();
    int face = (!enabled && numGlyphs_ > 1) ? 1 : 0;
    HDC src = strip_.Dc();
    COLORREF key = ::GetPixel(src, 0, h - 1);
    ::GdiTransparentBlt(dc, x, y, w, h, src, face * w, 0, w, h, key);
}

void DrawGlyphAndCaption(HDC dc, const RECT& area, Glyph& glyph, GlyphLayout layout, const std::wstring& caption,
                         HFONT font, bool enabled, COLORREF textColor) {
    SelectGuard sel(dc, font);
    RECT textRect{0, 0, 0, 0};
    if (!caption.empty()) ::DrawTextW(dc, caption.c_str(), -1, &textRect, DT_CALCRECT | DT_SINGLELINE);
    int tw = textRect.right, th = textRect.bottom;
    int gw = glyph.FaceWidth(), gh = glyph.FaceHeight();
    int spacing = (gw && tw) ? 4 : 0;
    int aw = area.right - area.left, ah = area.bottom - area.top;
    int gx, gy, tx, ty;
    if (layout == GlyphLayout::Top) {
        int total = gh + spacing + th;
        gx = area.left + (aw - gw) / 2;
        gy = area.top + (ah - total) / 2;
        tx = area.left + (aw - tw) / 2;
        ty = gy + gh + spacing;
    } else {
        int total = gw + spacing + tw;
        int x0 = area.left + (aw - total) / 2;
        gy = area.top + (ah - gh) / 2;
        ty = area.top + (ah - th) / 2;
        if (layout == GlyphLayout::Left) {
            gx = x0;
            tx = x0 + gw + spacing;
        } else {
            tx = x0;
            gx = x0 + tw + spacing;
        }
    }
    glyph.Draw(dc, gx, gy, enabled);
    if (caption.empty()) return;
    DrawControlText(dc, caption, RECT{tx, ty, tx + tw, ty + th}, DT_SINGLELINE, enabled, textColor);
}

}  // namespace fw
