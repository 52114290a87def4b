#include "base/PrintRect.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace base {

namespace {
constexpr int kOrigin = 100;

// round(6.6 * n) for n >= 0. 6.6 n = 33 n / 5 never ends in exactly .5, so adding half the
// divisor and truncating is the nearest integer without any rule for halves.
int64_t ScaledEdge(int64_t n) { return (33 * n * 2 + 5) / 10; }

// One far edge. The plain rule puts the edge at or before the origin for sizes below 16 px,
// which would print an inverted or empty picture. We keep at least one printer pixel per
// captured pixel: edge = max(round(6.6 n), 100 + n). From 18 px up 6.6 n > 100 + n, so the
// plain rule holds unchanged for every size a real frame gives (the smallest capture is 3 px).
// A size of 0 or less is taken as 1, so even an empty capture prints one printer pixel.
int FarEdge(int size) {
    const int64_t n = std::max(size, 1);
    const int64_t edge = std::max(ScaledEdge(n), kOrigin + n);
    return static_cast<int>(std::min<int64_t>(edge, INT_MAX));
}
}  // namespace

IntRect PrintRectFor(int printedWidth, int printedHeight) {
    return IntRect{kOrigin, kOrigin, FarEdge(printedWidth), FarEdge(printedHeight)};
}

}  // namespace base
