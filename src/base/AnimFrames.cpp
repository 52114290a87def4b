#include "base/AnimFrames.h"

#include <algorithm>

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

}  // namespace base
