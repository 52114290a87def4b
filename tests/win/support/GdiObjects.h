#pragma once
// Live objects in this process's GDI table (GdiCount.h), and the proof that the count counts.
#include <gtest/gtest.h>
#include <windows.h>

#include "GdiCount.h"

namespace capture_test {
using fw::GdiObjectCount;

// Sets `count` to the live GDI objects once the count has been seen to follow one brush made
// (+1) and freed (-1) in this process: a table read at a wrong place, or one that no longer
// changes, would let any leak pass. Fails where objects cannot be counted at all.
inline ::testing::AssertionResult CountingGdiObjects(int& count) {
    const int before = GdiObjectCount();
    if (before < 0) return ::testing::AssertionFailure() << "GDI objects cannot be counted in this process";
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    const int made = GdiObjectCount();
    ::DeleteObject(brush);
    count = GdiObjectCount();
    if (made != before + 1 || count != before)
        return ::testing::AssertionFailure() << "the count does not follow one brush: " << before << ", " << made
                                             << " after making it, " << count << " after freeing it";
    return ::testing::AssertionSuccess();
}

}  // namespace capture_test
