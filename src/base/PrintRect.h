#pragma once

#include "base/Geometry.h"

namespace base {

// The rectangle, in printer pixels, that a capture of the printed size is stretched into:
// from (100, 100) to 6.6 times the width and height, rounded. Right and bottom are
// coordinates, not sizes. Captures below 18 px are widened so the rectangle never inverts
// (see PrintRect.cpp).
IntRect PrintRectFor(int printedWidth, int printedHeight);

}  // namespace base
