#pragma once
// A windowless control that draws a two-colour bevel: a box, a double frame or a double line
// along one edge. It paints straight on its own canvas.
#include "components/VrControls.h"

enum TVrBorderStyle { bsLowered, bsRaised };
enum TVrBorderShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };

class TVrBorder : public TVrGraphicControl {
public:
    TVrBorder(fw::Container* parent, std::wstring name);

    // Each setter invalidates the control when the value changes.
    TVrBorderShape Shape() const { return shape_; }
    void SetShape(TVrBorderShape s);
    TVrBorderStyle Style() const { return style_; }
    void SetStyle(TVrBorderStyle s);
    void SetShadowColor(fw::Color c);
    void SetHighlightColor(fw::Color c);

    void Paint() override;

private:
    // Left and top edges in `first`, right and bottom in `second`; Polyline leaves out its
    // last point, so (l, b) takes the first colour and (r, t) the second.
    void BevelRect(int l, int t, int r, int b, fw::Color first, fw::Color second);
    void BevelLine(fw::Color color, int x1, int y1, int x2, int y2);

    TVrBorderStyle style_ = bsRaised;
    TVrBorderShape shape_ = bsFrame;
    fw::Color shadowColor_ = fw::kGreen;
    fw::Color highlightColor_ = fw::kLime;
};
