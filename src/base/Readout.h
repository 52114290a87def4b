#pragma once

#include <string>

namespace base {

// The frame readout of the status bar: the frame's own left and top, then the size of the
// capture rectangle (the frame's size less its 6 px band on both sides).
// 704, 100, 336, 192 -> L"x: 704, y: 100  |  width: 324, height: 180".
std::wstring FrameReadout(int left, int top, int width, int height);

// The area the frame captures, as assistive technology reads it: the same numbers as the
// readout, the frame's left and top and the capture rectangle's size.
// 704, 100, 336, 192 -> L"x 704, y 100, 324 by 180".
std::wstring FrameValue(int left, int top, int width, int height);

}  // namespace base
