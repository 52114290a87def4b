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

// The picture's place in the save dialog's preview pane (100 x 100 at 10,20) and in the
// preview window.
TEST(FitPicture, ScalesDownWithItsProportionsCentredNeverEnlarged) {
    const IntRect box{10, 20, 110, 120};
    EXPECT_EQ(FitPicture(200, 100, box), (IntRect{10, 45, 110, 95}));            // wide: width sets the scale
    EXPECT_EQ(FitPicture(50, 400, box), (IntRect{53, 20, 66, 120}));             // tall: 12.5 rounds to 13
    EXPECT_EQ(FitPicture(3, 3, box), (IntRect{58, 68, 61, 71}));                 // small: not enlarged, centred
    EXPECT_EQ(FitPicture(1000, 1, box), (IntRect{10, 69, 110, 70}));             // never thinner than a pixel
    EXPECT_EQ(FitPicture(0, 0, box), (IntRect{10, 20, 10, 20}));                 // nothing to show
    EXPECT_EQ(FitPicture(30, 20, IntRect{5, 5, 5, 50}), (IntRect{5, 5, 5, 5}));  // no room
    // Sizes as large as a bitmap's header allows neither overflow nor round the wrong way.
    EXPECT_EQ(FitPicture(2000000000, 1000000000, box), (IntRect{10, 45, 110, 95}));
}

}  // namespace
}  // namespace base
