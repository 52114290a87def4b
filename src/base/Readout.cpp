#include "base/Readout.h"

namespace base {

std::wstring FrameReadout(int left, int top, int width, int height) {
    // std::to_wstring writes plain decimal with a leading minus and no grouping, whatever the
    // locale, which is what the readout shows for frames partly off the screen.
    return L"x: " + std::to_wstring(left) + L", y: " + std::to_wstring(top) + L"  |  width: " +
           std::to_wstring(width - 12) + L", height: " + std::to_wstring(height - 12);
}

}  // namespace base
