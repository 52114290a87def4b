#pragma once
// A drawing surface over a device context that keeps its pen, fill and font from one use to
// the next: a form's canvas is attached to each paint's DC and remembers its settings between
// paints. GDI objects are made when a drawing call needs them and deselected at Detach.
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "framework/Color.h"
#include "framework/Gdi.h"

namespace fw {

struct FontSpec {
    std::wstring name = L"Tahoma";
    int height = 11;  // character height in pixels at 96 DPI
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Color color = kWindowText;
    BYTE charset = DEFAULT_CHARSET;
    bool operator==(const FontSpec&) const = default;
};

// The HFONT for a font description at the given DPI. Fonts are made once and shared by every
// control and canvas that asks for the same one; they live as long as the program (which
// uses a handful), so callers never delete them.
HFONT SharedFont(const FontSpec& font, int dpi = 96);

// A control's text with DrawText's `format` in `rect` of `dc` (its font selected, the background
// left as it is): in `color` when enabled, else greyed as a disabled control's, a light copy one
// pixel down and right under a shadow-coloured one.
void DrawControlText(HDC dc, const std::wstring& text, const RECT& rect, UINT format, bool enabled, COLORREF color);

enum class BrushStyle { Solid, Clear };

class Canvas {
public:
    Canvas() = default;
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void Attach(HDC dc);
    void Detach();
    HDC Handle() const { return dc_; }
    bool Attached() const { return dc_ != nullptr; }

    void SetPenColor(Color c);
    void SetPenWidth(int w);
    void SetPenStyle(int style);  // PS_SOLID, PS_DOT ...
    void SetPenMode(int rop2);    // R2_COPYPEN, R2_XORPEN ...
    int PenWidth() const { return penWidth_; }
    void SetBrushColor(Color c);
    void SetBrushStyle(BrushStyle s);
    void SetFont(const FontSpec& f);
    const FontSpec& GetFont() const { return font_; }

    void Rectangle(int l, int t, int r, int b);
    void Polygon(const std::vector<POINT>& pts);
    void Polyline(const std::vector<POINT>& pts);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void FillRect(const RECT& r);  // with the brush
    void TextOut(int x, int y, const std::wstring& text);
    SIZE TextExtent(const std::wstring& text);
    // Copies a rectangle of another DC onto this canvas (BitBlt or StretchBlt).
    void CopyRect(const RECT& dest, HDC src, const RECT& srcRect, DWORD rop = SRCCOPY);
    RECT ClipRect() const;

    // Serialises painting of one canvas between threads.
    void Lock() { lock_.lock(); }
    void Unlock() { lock_.unlock(); }

private:
    void RequirePen();
    void RequireBrush();
    void RequireFont();

    HDC dc_ = nullptr;
    int saved_ = 0;
    Color penColor_ = kBlack;
    int penWidth_ = 1;
    int penStyle_ = PS_SOLID;
    int penMode_ = R2_COPYPEN;
    Color brushColor_ = kWhite;
    BrushStyle brushStyle_ = BrushStyle::Solid;
    FontSpec font_;
    Pen pen_;
    Brush brush_;
    HFONT hfont_ = nullptr;
    bool penDirty_ = true, brushDirty_ = true, fontDirty_ = true;
    std::recursive_mutex lock_;
};

// A DC attached to a canvas for the guard's lifetime: the canvas lets it go on every path.
class CanvasAttach {
public:
    CanvasAttach(Canvas& canvas, HDC dc) : canvas_(canvas) { canvas_.Attach(dc); }
    ~CanvasAttach() { canvas_.Detach(); }
    CanvasAttach(const CanvasAttach&) = delete;
    CanvasAttach& operator=(const CanvasAttach&) = delete;

private:
    Canvas& canvas_;
};

}  // namespace fw
