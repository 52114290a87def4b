#pragma once
// Button glyphs: a strip of equal faces side by side (normal, then greyed), whose key colour
// (olive here, the colour of the strip's bottom-left pixel) is left out when drawn.
#include <windows.h>

#include <string>

#include "framework/Bitmap.h"

namespace fw {

enum class GlyphLayout { Left, Top, Right };

class Glyph {
public:
    // The strip drawn for the scale of a window of `dpi` (framework/ScaledResource.h).
    void Load(const wchar_t* resourceName, int numGlyphs, int dpi);
    // A strip of the caller's: it stays as it is at every scale.
    void Assign(const Bitmap& strip, int numGlyphs);
    // A loaded strip is loaded again as drawn for the scale of a window of `dpi`.
    void ChangeDpi(int dpi);
    bool Empty() const { return strip_.Empty(); }
    int FaceWidth() const { return numGlyphs_ ? strip_.Width() / numGlyphs_ : 0; }
    int FaceHeight() const { return strip_.Height(); }
    // Draws face 0 (enabled) or the greyed face (disabled; face 0 when there is none).
    void Draw(HDC dc, int x, int y, bool enabled);

private:
    Bitmap strip_;
    std::wstring resource_;  // the strip's resource name, when loaded
    int numGlyphs_ = 1;
};

// Lays out a glyph and a caption inside a button rectangle and draws both.
void DrawGlyphAndCaption(HDC dc, const RECT& area, Glyph& glyph, GlyphLayout layout, const std::wstring& caption,
                         HFONT font, bool enabled, COLORREF textColor);

}  // namespace fw
