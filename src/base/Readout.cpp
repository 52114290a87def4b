#include "base/Readout.h"

#include "base/Geometry.h"

namespace base {

std::wstring FrameReadout(int left, int top, int width, int height) {
    // std::to_wstring writes plain decimal with a leading minus and no grouping, whatever the
    // locale, which is what the readout shows for frames partly off the screen.
    const IntRect area = CaptureRect(left, top, width, height);
    return L"x: " + std::to_wstring(left) + L", y: " + std::to_wstring(top) + L"  |  width: " +
           std::to_wstring(area.Width()) + L", height: " + std::to_wstring(area.Height());
}

std::wstring FrameValue(int left, int top, int width, int height) {
    const IntRect area = CaptureRect(left, top, width, height);
    return L"x " + std::to_wstring(left) + L", y " + std::to_wstring(top) + L", " + std::to_wstring(area.Width()) +
           L" by " + std::to_wstring(area.Height());
}

}  // namespace base
