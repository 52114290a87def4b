#pragma once

namespace base {

// A rectangle in the GDI sense: right and bottom are exclusive, so Width() and Height() are
// plain differences and an empty rectangle has right == left or bottom == top.
struct IntRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const IntRect&) const = default;
};

// The frame's red band: the capture rectangle starts this far inside the frame's window.
inline constexpr int kBandWidth = 6;
// The black grip over the frame's bottom-right corner: an L of this length on both sides.
inline constexpr int kGripLength = 15;
// The smallest frame, either way: a 3 x 3 capture inside the band.
inline constexpr int kSmallestFrame = 15;

// The part of the screen that a capture takes: the frame's window less its red band, which is
// 6 px wide on every side. A frame at its minimum of 15 x 15 gives 3 x 3.
IntRect CaptureRect(int left, int top, int width, int height);

}  // namespace base
