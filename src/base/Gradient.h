#pragma once

#include <cstdint>
#include <vector>

#include "base/Geometry.h"

namespace base {

// Colours here are plain RGB values, 0x00BBGGRR (red in the low byte); the caller resolves
// system colours before planning.

// The blend at position p over span: per channel start + ((end - start) * p) / span, the
// division truncating toward zero, each channel kept to its low 8 bits. A span of 0 or less
// has nothing to blend over and gives start.
uint32_t BlendColor(uint32_t start, uint32_t end, int p, int span);

// One drawing step: a solid band filled with `color` (line false), or, for the diagonal
// styles, a line from (x1, y1) to (x2, y2), end point excluded, drawn with a pen as wide as
// the band width (line true).
struct GradientStep {
    bool line = false;
    IntRect rect;  // the band (styles 1, 2, 5, 6, and the whole rectangle for a zero span)
    int x1 = 0;    // the line (styles 3, 4), in canvas coordinates from (0, 0)
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    uint32_t color = 0;
};

// The fill styles; the values are the codes of DrawGradient's fill style, 0 to 6.
enum class GradientFill {
    None = 0,
    Rows = 1,          // start -> end, top to bottom
    Columns = 2,       // left to right
    DiagonalDown = 3,  // lines over width + height, from the top edge
    DiagonalUp = 4,    // from the bottom edge
    RowsBack = 5,      // start -> end -> start, top to bottom
    ColumnsBack = 6,   // left to right
};

// The steps that paint a gradient over r, in drawing order. Bands may stick out past r (the
// image clips them). bandWidth below 1 is taken as 1; None, or a value that is no style,
// draws nothing.
std::vector<GradientStep> PlanGradient(IntRect r, uint32_t start, uint32_t end, GradientFill fill, int bandWidth);

}  // namespace base
