#include "components/VrGradient.h"

#include <utility>

#include "base/Gradient.h"
#include "components/VrSysUtils.h"

namespace {
// The DrawGradient fill style of each direction.
int FillStyle(TVrGradDirection d) {
    switch (d) {
    case gdUpDown:
        return int(base::GradientFill::Rows);
    case gdUpDownHalf:
        return int(base::GradientFill::RowsBack);
    case gdLeftRight:
        return int(base::GradientFill::Columns);
    case gdLeftRightHalf:
        return int(base::GradientFill::ColumnsBack);
    case gdChord1:
        return int(base::GradientFill::DiagonalDown);
    case gdChord2:
        return int(base::GradientFill::DiagonalUp);
    }
    return int(base::GradientFill::None);
}

// The caption hit code added to SC_MOVE: the system's move loop as if the caption was dragged.
constexpr WPARAM kMoveByCaption = SC_MOVE | HTCAPTION;
}  // namespace

TVrCustomGradient::TVrCustomGradient(fw::Container* parent, std::wstring name)
    : TVrGraphicImageControl(parent, std::move(name)) {
    // Never transparent, so always opaque: the parent does not paint beneath it.
    SetOpaque(true);
    SetAccessibleRole(0);  // a background: nothing for assistive technology
    SetBounds(0, 0, 150, 150);
}

void TVrCustomGradient::SetStartColor(fw::Color c) {
    if (c == startColor_) return;
    startColor_ = c;
    RedrawControl();
}

void TVrCustomGradient::SetEndColor(fw::Color c) {
    if (c == endColor_) return;
    endColor_ = c;
    RedrawControl();
}

void TVrCustomGradient::SetColorWidth(int w) {
    if (w == colorWidth_ || w < 1) return;
    colorWidth_ = w;
    RedrawControl();
}

void TVrCustomGradient::SetDirection(TVrGradDirection d) {
    if (d == direction_) return;
    direction_ = d;
    RedrawControl();
}

void TVrCustomGradient::SetSwapColors(bool s) {
    if (s == swapColors_) return;
    swapColors_ = s;
    RedrawControl();
}

void TVrCustomGradient::Paint() {
    fw::Color start = startColor_, end = endColor_;
    if (swapColors_) std::swap(start, end);
    DrawGradient(ImageCanvas(), RECT{0, 0, Width(), Height()}, start, end, FillStyle(direction_), colorWidth_);
    TVrGraphicImageControl::Paint();
}

void TVrCustomGradient::MouseDown(fw::MouseButton button, fw::ShiftState shift, int x, int y) {
    TVrGraphicImageControl::MouseDown(button, shift, x, y);
    if (!formDrag_ || button != fw::MouseButton::Left) return;
    ::ReleaseCapture();
    fw::WinControl* form = OutermostWindowedOwner(*this);
    // Sent, so it reaches the form's window procedure at once, on this thread.
    if (form && form->Handle()) ::SendMessageW(form->Handle(), WM_SYSCOMMAND, kMoveByCaption, 0);
}
