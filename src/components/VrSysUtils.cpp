#include "components/VrSysUtils.h"

#include "base/Gradient.h"
#include "framework/Control.h"
#include "framework/Container.h"
#include "framework/Gdi.h"

namespace {
std::uint32_t PlainRgb(fw::Color color) {
    BYTE r, g, b;
    SplitColor(color, r, g, b);
    return RGB(r, g, b);
}
}  // namespace

void SplitColor(fw::Color color, BYTE& red, BYTE& green, BYTE& blue) {
    const COLORREF rgb = fw::ToRgb(color);
    red = GetRValue(rgb);
    green = GetGValue(rgb);
    blue = GetBValue(rgb);
}

bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

fw::WinControl* OutermostWindowedOwner(const fw::Control& component) {
    // Controls belong to the container they are placed on; walking the parents is walking
    // the owners.
    fw::WinControl* last = nullptr;
    for (fw::Container* owner = component.Parent(); owner && owner->IsWindowed(); owner = owner->Parent()) last = owner;
    return last;
}

void DrawGradient(fw::Canvas& canvas, const RECT& rect, fw::Color start, fw::Color end, int fillStyle, int bandWidth) {
    const base::IntRect r = fw::ToIntRect(rect);
    const auto steps =
        base::PlanGradient(r, PlainRgb(start), PlainRgb(end), static_cast<base::GradientFill>(fillStyle), bandWidth);
    for (const base::GradientStep& step : steps) {
        if (step.line) {
            canvas.SetPenStyle(PS_SOLID);
            canvas.SetPenWidth(bandWidth < 1 ? 1 : bandWidth);
            canvas.SetPenColor(fw::Color(step.color));
            canvas.MoveTo(step.x1, step.y1);
            canvas.LineTo(step.x2, step.y2);
        } else {
            canvas.SetBrushColor(fw::Color(step.color));
            canvas.FillRect(RECT{step.rect.left, step.rect.top, step.rect.right, step.rect.bottom});
        }
    }
}
