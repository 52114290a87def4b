#include <gtest/gtest.h>

#include "base/PrintRect.h"

namespace base {
namespace {

TEST(PrintRect, ScalesBySixPointSix) { EXPECT_EQ(PrintRectFor(200, 100), (IntRect{100, 100, 1320, 660})); }

TEST(PrintRect, RoundsToNearestNotDown) {
    // 666.6 and 336.6: truncation would give 666 and 336.
    const IntRect r = PrintRectFor(101, 51);
    EXPECT_EQ(r.right, 667);
    EXPECT_EQ(r.bottom, 337);
    // 6.6 * 3 = 19.8 and 6.6 * 4 = 26.4 round in different directions; seen through 103, 104.
    EXPECT_EQ(PrintRectFor(103, 104).right, 680);   // 679.8
    EXPECT_EQ(PrintRectFor(103, 104).bottom, 686);  // 686.4
}

TEST(PrintRect, PlainRuleHoldsFromEighteenUp) {
    EXPECT_EQ(PrintRectFor(18, 18).right, 119);  // 118.8
    EXPECT_EQ(PrintRectFor(324, 180), (IntRect{100, 100, 2138, 1188}));
}

TEST(PrintRect, TinyCapturesNeverInvert) {
    for (int n : {17, 15, 3, 1}) {
        const IntRect r = PrintRectFor(n, n);
        EXPECT_EQ(r.right, 100 + n) << n;
        EXPECT_EQ(r.bottom, 100 + n) << n;
    }
}

TEST(PrintRect, ZeroOrNegativeStillPrintsOnePixel) { EXPECT_EQ(PrintRectFor(0, -5), (IntRect{100, 100, 101, 101})); }

}  // namespace
}  // namespace base
