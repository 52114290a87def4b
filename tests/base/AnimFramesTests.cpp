// Where the animation finds a frame in its sheet and where it draws it.
#include <gtest/gtest.h>

#include "base/AnimFrames.h"

namespace base {
namespace {

TEST(FrameSize, PanelSheetOfSixFrames) {
    int fw = 0, fh = 0;
    FrameSize(384, 64, 6, 1, fw, fh);
    EXPECT_EQ(fw, 64);
    EXPECT_EQ(fh, 64);
}

TEST(FrameSize, LeftoverPixelsAreDropped) {
    int fw = 0, fh = 0;
    FrameSize(100, 50, 3, 4, fw, fh);
    EXPECT_EQ(fw, 33);
    EXPECT_EQ(fh, 12);
}

TEST(FrameSize, EmptySheetAndBadCountsGiveValidFrames) {
    int fw = 0, fh = 0;
    FrameSize(0, 64, 6, 1, fw, fh);
    EXPECT_EQ(fw, 1);
    EXPECT_EQ(fh, 1);
    FrameSize(384, 64, 0, -2, fw, fh);  // counts below 1 taken as 1: the whole sheet
    EXPECT_EQ(fw, 384);
    EXPECT_EQ(fh, 64);
    FrameSize(4, 64, 6, 1, fw, fh);  // more columns than pixels
    EXPECT_EQ(fw, 1);
}

TEST(FrameRect, RowByRowThenDown) {
    EXPECT_EQ(FrameRect(0, 6, 64, 64), (IntRect{0, 0, 64, 64}));
    EXPECT_EQ(FrameRect(5, 6, 64, 64), (IntRect{320, 0, 384, 64}));
    EXPECT_EQ(FrameRect(4, 3, 10, 20), (IntRect{10, 20, 20, 40}));  // second row, second column
}

TEST(DestRect, CentredWithOddLeftoverToTheRight) {
    // The panel's 65 x 65 control shows a 64 x 64 frame at (0, 0).
    EXPECT_EQ(DestRect(false, 65, 65, 64, 64), (IntRect{0, 0, 64, 64}));
    EXPECT_EQ(DestRect(false, 100, 70, 64, 64), (IntRect{18, 3, 82, 67}));
}

TEST(DestRect, LargerFrameIsCutOnAllSides) {
    // (51 - 64) / 2 truncates toward zero to -6, so 6 px are cut on the left, 7 on the right.
    EXPECT_EQ(DestRect(false, 51, 50, 64, 64), (IntRect{-6, -7, 58, 57}));
}

TEST(DestRect, StretchTakesTheClientArea) { EXPECT_EQ(DestRect(true, 65, 40, 64, 64), (IntRect{0, 0, 65, 40})); }

}  // namespace
}  // namespace base
