// The capture frame's pure rules: the readout text, the cursor zones and the capture rectangle.
#include <gtest/gtest.h>

#include "base/CursorZone.h"
#include "base/Geometry.h"
#include "base/Readout.h"

namespace base {
namespace {

TEST(FrameReadout, ShowsFramePositionAndCaptureSize) {
    EXPECT_EQ(FrameReadout(704, 100, 336, 192), L"x: 704, y: 100  |  width: 324, height: 180");
}

TEST(FrameReadout, NegativePositionsAndMinimumSize) {
    // A frame dragged off the top-left of the screen, at its minimum size of 15 x 15.
    EXPECT_EQ(FrameReadout(-20, -3, 15, 15), L"x: -20, y: -3  |  width: 3, height: 3");
}

// What a screen reader says of the frame: the readout's numbers, in words.
TEST(FrameValue, TheReadoutsNumbers) {
    EXPECT_EQ(FrameValue(704, 100, 336, 192), L"x 704, y 100, 324 by 180");
    EXPECT_EQ(FrameValue(-20, -3, 15, 15), L"x -20, y -3, 3 by 3");
}

// The frame of the examples below is 336 x 192.
constexpr int kW = 336;
constexpr int kH = 192;

TEST(CursorZone, ExactCtrlMovesFromAnywhereEvenOnTheGrip) {
    EXPECT_EQ(ChooseZone(true, kW - 1, kH - 1, kW, kH), CursorZone::Move);
    EXPECT_EQ(ChooseZone(true, 0, 0, kW, kH), CursorZone::Move);
}

TEST(CursorZone, LeftAndTopBandsGiveNothingWithoutCtrl) {
    EXPECT_EQ(ChooseZone(false, 2, 100, kW, kH), CursorZone::None);
    EXPECT_EQ(ChooseZone(false, 100, 2, kW, kH), CursorZone::None);
}

TEST(CursorZone, EdgeBandsAreSixPixelsWide) {
    EXPECT_EQ(ChooseZone(false, kW - 6, 50, kW, kH), CursorZone::RightEdge);
    EXPECT_EQ(ChooseZone(false, kW - 7, 50, kW, kH), CursorZone::None);
    EXPECT_EQ(ChooseZone(false, 50, kH - 6, kW, kH), CursorZone::Bottom);
    EXPECT_EQ(ChooseZone(false, 50, kH - 7, kW, kH), CursorZone::None);
}

TEST(CursorZone, CornerTakesTheLastSixteenPixelsOfBothBands) {
    // On the bottom band, 16 px from the right: already the corner; 17 px: still the bottom.
    EXPECT_EQ(ChooseZone(false, kW - 16, kH - 1, kW, kH), CursorZone::BottomRight);
    EXPECT_EQ(ChooseZone(false, kW - 17, kH - 1, kW, kH), CursorZone::Bottom);
    // On the right band, likewise upwards.
    EXPECT_EQ(ChooseZone(false, kW - 1, kH - 16, kW, kH), CursorZone::BottomRight);
    EXPECT_EQ(ChooseZone(false, kW - 1, kH - 17, kW, kH), CursorZone::RightEdge);
}

TEST(CursorZone, CommandsStartTheRightSystemLoop) {
    EXPECT_EQ(ZoneCommand(CursorZone::Move), 0xF012u);
    EXPECT_EQ(ZoneCommand(CursorZone::RightEdge), 0xF002u);
    EXPECT_EQ(ZoneCommand(CursorZone::BottomRight), 0xF008u);
    EXPECT_EQ(ZoneCommand(CursorZone::Bottom), 0xF006u);
    EXPECT_EQ(ZoneCommand(CursorZone::None), 0u);
}

TEST(CaptureRect, InsideTheSixPixelBand) {
    const IntRect r = CaptureRect(704, 100, 336, 192);
    EXPECT_EQ(r, (IntRect{710, 106, 1034, 286}));
    EXPECT_EQ(r.Width(), 324);
    EXPECT_EQ(r.Height(), 180);
}

TEST(CaptureRect, MinimumFrameGivesThreeByThree) {
    const IntRect r = CaptureRect(0, 0, 15, 15);
    EXPECT_EQ(r.Width(), 3);
    EXPECT_EQ(r.Height(), 3);
    EXPECT_EQ(r.left, 6);
}

// The frame placed from the keyboard: arrows move it, SHIFT sizes it from the right and
// bottom edges, CTRL steps by 10; it never gets smaller than 15 x 15.
TEST(FrameAfterArrow, MovesSizesAndStopsAtTheSmallestFrame) {
    const IntRect frame{704, 100, 1040, 292};  // 336 x 192
    EXPECT_EQ(FrameAfterArrow(frame, -1, 0, false, false), (IntRect{703, 100, 1039, 292}));
    EXPECT_EQ(FrameAfterArrow(frame, 0, 1, false, true), (IntRect{704, 110, 1040, 302}));
    EXPECT_EQ(FrameAfterArrow(frame, 1, 0, true, false), (IntRect{704, 100, 1041, 292}));
    EXPECT_EQ(FrameAfterArrow(frame, 0, -1, true, true), (IntRect{704, 100, 1040, 282}));
    EXPECT_EQ(FrameAfterArrow(IntRect{0, 0, 20, 15}, -1, -1, true, true), (IntRect{0, 0, 15, 15}));
}

}  // namespace
}  // namespace base
