#pragma once
// A push button with a glyph beside or above its caption (owner-drawn BUTTON).
#include "framework/Button.h"
#include "framework/Glyph.h"

namespace fw {

class BitBtn : public Button {
public:
    BitBtn(Container* parent, std::wstring name);
    Glyph& GetGlyph() { return glyph_; }
    // The glyph loaded for the old scale is loaded for the new one.
    void ScaleForDpi(int fromDpi, int toDpi) override;
    void SetLayout(GlyphLayout l) { layout_ = l; }
    LRESULT Notify(UINT msg, WPARAM wp, LPARAM lp) override;

protected:
    DWORD ButtonStyle() const override { return BS_OWNERDRAW; }

private:
    void DrawItem(const DRAWITEMSTRUCT& di);
    Glyph glyph_;
    GlyphLayout layout_ = GlyphLayout::Left;
};

}  // namespace fw
