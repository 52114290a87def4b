#pragma once
// Helper routines of the Vr component library.
#include <windows.h>

#include "framework/Canvas.h"
#include "framework/Color.h"

namespace fw {
class Control;
class WinControl;
}  // namespace fw

// The red, green and blue bytes of a colour; a system colour (negative) is resolved first.
void SplitColor(fw::Color color, BYTE& red, BYTE& green, BYTE& blue);

// True when all four edges are equal.
bool SameRect(const RECT& a, const RECT& b);

// The outermost windowed control reached by walking up from the control's owner while each
// owner is windowed: the form for a control placed on a form; nullptr when the first owner
// is not windowed (or there is none).
fw::WinControl* OutermostWindowedOwner(const fw::Control& component);

// Fills the rectangle with a blend from start to end in bands of bandWidth pixels. Fill
// styles: 0 nothing, 1 rows top to bottom, 2 columns left to right, 3 and 4 diagonal lines
// (pen width bandWidth, canvas coordinates from (0, 0)), 5 rows start -> end -> start,
// 6 columns likewise. The canvas keeps the last colours and, for 3 and 4, a solid pen of
// width bandWidth.
void DrawGradient(fw::Canvas& canvas, const RECT& rect, fw::Color start, fw::Color end, int fillStyle, int bandWidth);
