#include "base/AnimFrames.h"

#include <algorithm>
#include <cstdint>

namespace base {

IntRect FrameRect(int index, int cols, int frameW, int frameH) {
    cols = std::max(cols, 1);
    index = std::max(index, 0);
    const int left = (index % cols) * frameW;
    const int top = (index / cols) * frameH;
    return IntRect{left, top, left + frameW, top + frameH};
}

IntRect DestRect(bool stretch, int clientW, int clientH, int frameW, int frameH) {
    if (stretch) return IntRect{0, 0, clientW, clientH};
    // C++ division truncates toward zero, which is the centring rule for negative leftovers.
    const int left = (clientW - frameW) / 2;
    const int top = (clientH - frameH) / 2;
    return IntRect{left, top, left + frameW, top + frameH};
}

void FrameSize(int sheetW, int sheetH, int cols, int rows, int& fw, int& fh) {
    fw = 1;
    fh = 1;
    if (sheetW <= 0 || sheetH <= 0) return;
    fw = std::max(sheetW / std::max(cols, 1), 1);
    fh = std::max(sheetH / std::max(rows, 1), 1);
}

namespace {

// n * numerator / denominator of positive numbers, the halves rounded up.
int ScaledRounded(int n, int numerator, int denominator) {
    return static_cast<int>((int64_t{n} * numerator + denominator / 2) / denominator);
}

}  // namespace

IntRect FitPicture(int width, int height, const IntRect& box) {
    const int boxWidth = box.Width(), boxHeight = box.Height();
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return IntRect{box.left, box.top, box.left, box.top};
    int w = width, h = height;
    if (w > boxWidth || h > boxHeight) {
        if (int64_t{boxWidth} * height <= int64_t{boxHeight} * width) {
            w = boxWidth;
            h = std::max(1, ScaledRounded(height, boxWidth, width));
        } else {
            h = boxHeight;
            w = std::max(1, ScaledRounded(width, boxHeight, height));
        }
    }
    const int left = box.left + (boxWidth - w) / 2, top = box.top + (boxHeight - h) / 2;
    return IntRect{left, top, left + w, top + h};
}

}  // namespace base
