#include "base/Geometry.h"

namespace base {

namespace {
constexpr int kBand = 6;  // width of the frame's red band
}

IntRect CaptureRect(int left, int top, int width, int height) {
    return IntRect{left + kBand, top + kBand, left + width - kBand, top + height - kBand};
}

}  // namespace base
