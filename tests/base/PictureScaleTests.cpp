// Which drawn picture a window of a given dpi shows, and the sizes the layout expects of it.
#include <gtest/gtest.h>

#include "base/PictureScale.h"

namespace base {
namespace {

TEST(PictureScale, TheNearestDrawnScaleTheSmallerWhenHalfway) {
    EXPECT_EQ(PictureScale(96), 100);
    EXPECT_EQ(PictureScale(120), 125);
    EXPECT_EQ(PictureScale(144), 150);
    EXPECT_EQ(PictureScale(192), 200);
    EXPECT_EQ(PictureScale(108), 100);  // 112.5 %: halfway between 100 and 125
    EXPECT_EQ(PictureScale(109), 125);
    EXPECT_EQ(PictureScale(132), 125);  // 137.5 %
    EXPECT_EQ(PictureScale(168), 150);  // 175 %
    EXPECT_EQ(PictureScale(169), 200);
    EXPECT_EQ(PictureScale(72), 100);  // below the smallest and beyond the largest: the ends
    EXPECT_EQ(PictureScale(288), 200);
}

TEST(PictureScale, LengthsRoundAsTheLayoutAndNamesCarryTheScale) {
    // The layout scales its units with MulDiv (halves away from zero); a picture drawn for a
    // scale has the size its control gets: the logo 169 x 41, the animation's control 65.
    EXPECT_EQ(ScaledLength(169, 150), 254);
    EXPECT_EQ(ScaledLength(41, 150), 62);
    EXPECT_EQ(ScaledLength(41, 125), 51);
    EXPECT_EQ(ScaledLength(65, 150), 98);
    EXPECT_EQ(ScaledLength(16, 125), 20);
    EXPECT_EQ(ScaledLength(64, 200), 128);
    EXPECT_EQ(ScaledLength(-3, 150), -5);
    EXPECT_EQ(ScaledName(L"LOGO", 100), L"LOGO");
    EXPECT_EQ(ScaledName(L"GLYPH_CAPTURE", 150), L"GLYPH_CAPTURE_150");
}

}  // namespace
}  // namespace base
