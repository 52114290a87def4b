#include "base/Gradient.h"

#include <algorithm>

namespace base {

namespace {
int Channel(uint32_t color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

GradientStep Band(IntRect rect, uint32_t color) {
    GradientStep step;
    step.rect = rect;
    step.color = color;
    return step;
}

GradientStep Line(int x1, int y1, int x2, int y2, uint32_t color) {
    GradientStep step;
    step.line = true;
    step.x1 = x1;
    step.y1 = y1;
    step.x2 = x2;
    step.y2 = y2;
    step.color = color;
    return step;
}

// Bands of bandWidth across the span, moved on by bandWidth each step; `vertical` bands are
// columns moving right, otherwise rows moving down. The first band starts at r's corner.
IntRect NthBand(IntRect r, bool vertical, int bandWidth, int n) {
    const int offset = n * bandWidth;
    if (vertical) return IntRect{r.left + offset, r.top, r.left + offset + bandWidth, r.bottom};
    return IntRect{r.left, r.top + offset, r.right, r.top + offset + bandWidth};
}

// Rows and Columns: start at the first band, nearly the end colour at the last (the end colour
// itself would come at p = span, which the loop never reaches).
void PlanOneWay(std::vector<GradientStep>& steps, IntRect r, uint32_t start, uint32_t end, bool vertical,
                int bandWidth) {
    const int span = vertical ? r.Width() : r.Height();
    int n = 0;
    for (int p = 0; p < span; p += bandWidth)
        steps.push_back(Band(NthBand(r, vertical, bandWidth, n++), BlendColor(start, end, p, span)));
}

// RowsBack and ColumnsBack: out from start to end over half the span, then back to start. When
// the band width does not divide the half, the way back begins at a position past the half;
// that position is held at the half, so the band shows the end colour instead of a factor
// above 1 whose channels would leave the range between the two colours.
void PlanThereAndBack(std::vector<GradientStep>& steps, IntRect r, uint32_t start, uint32_t end, bool vertical,
                      int bandWidth) {
    const int half = (vertical ? r.Width() : r.Height()) / 2;
    int n = 0;
    int p = 0;
    for (; p < half; p += bandWidth)
        steps.push_back(Band(NthBand(r, vertical, bandWidth, n++), BlendColor(start, end, p, half)));
    for (; p >= 0; p -= bandWidth) {
        const uint32_t color = BlendColor(start, end, std::min(p, half), half);
        steps.push_back(Band(NthBand(r, vertical, bandWidth, n++), color));
    }
}

// The diagonals: lines of pen width bandWidth over the span width + height. They use canvas
// coordinates from (0, 0), not r's origin, and run one pixel past the left edge so the end
// point that LineTo leaves out lies outside the picture.
void PlanDiagonal(std::vector<GradientStep>& steps, IntRect r, uint32_t start, uint32_t end, bool fromBottom,
                  int bandWidth) {
    const int h = r.Height();
    const int span = r.Width() + h;
    for (int d = 0; d <= span; d += bandWidth) {
        const uint32_t color = BlendColor(start, end, d, span);
        steps.push_back(fromBottom ? Line(0, h - d, d, h, color) : Line(d, 0, -1, d, color));
    }
}

// How a fill style plans its steps, and over what span it blends.
struct FillPlan {
    void (*plan)(std::vector<GradientStep>&, IntRect, uint32_t, uint32_t, bool, int);
    bool flag;  // vertical bands, or lines from the bottom edge
    int span;
};

FillPlan PlanOf(GradientFill fill, IntRect r) {
    switch (fill) {
    case GradientFill::Rows:
        return {PlanOneWay, false, r.Height()};
    case GradientFill::Columns:
        return {PlanOneWay, true, r.Width()};
    case GradientFill::DiagonalDown:
        return {PlanDiagonal, false, r.Width() + r.Height()};
    case GradientFill::DiagonalUp:
        return {PlanDiagonal, true, r.Width() + r.Height()};
    case GradientFill::RowsBack:
        return {PlanThereAndBack, false, r.Height() / 2};
    case GradientFill::ColumnsBack:
        return {PlanThereAndBack, true, r.Width() / 2};
    case GradientFill::None:
        break;
    }
    return {nullptr, false, 0};
}
}  // namespace

uint32_t BlendColor(uint32_t start, uint32_t end, int p, int span) {
    if (span <= 0) return start & 0xFFFFFF;
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int from = Channel(start, shift);
        const int to = Channel(end, shift);
        // 64-bit only so a huge p cannot overflow; for any real control the 32-bit result is
        // the same. The division truncates toward zero, as the blend rule wants.
        const int64_t value = from + (int64_t{to - from} * p) / span;
        result |= (static_cast<uint32_t>(value) & 0xFF) << shift;
    }
    return result;
}

std::vector<GradientStep> PlanGradient(IntRect r, uint32_t start, uint32_t end, GradientFill fill, int bandWidth) {
    std::vector<GradientStep> steps;
    const FillPlan plan = PlanOf(fill, r);
    if (!plan.plan) return steps;  // nothing is drawn
    // Nothing to blend over (an empty control, or RowsBack under 2 px high): the start colour
    // fills the rectangle, rather than dividing by zero.
    if (plan.span <= 0)
        steps.push_back(Band(r, start));
    else
        plan.plan(steps, r, start, end, plan.flag, std::max(bandWidth, 1));
    return steps;
}

}  // namespace base
