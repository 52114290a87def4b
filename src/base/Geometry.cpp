#include "base/Geometry.h"

namespace base {

IntRect CaptureRect(int left, int top, int width, int height) {
    return IntRect{left + kBandWidth, top + kBandWidth, left + width - kBandWidth, top + height - kBandWidth};
}

}  // namespace base
