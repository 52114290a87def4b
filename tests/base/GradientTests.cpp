// The gradient's blend arithmetic and the bands and lines it plans.
#include <gtest/gtest.h>

#include "base/Gradient.h"

namespace base {
namespace {

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kLime = 0x00FF00;

uint32_t Red(uint32_t c) { return c & 0xFF; }

TEST(BlendColor, TruncatesTowardZeroPerChannel) {
    // Red falling: 255 + (-255 * 1) / 53 = 255 - 4 (-4.8 truncated toward zero, not -5).
    EXPECT_EQ(BlendColor(kRed, kBlack, 1, 53), 251u);
    // Rising channels truncate down: 0 + (255 * 1) / 53 = 4.
    EXPECT_EQ(BlendColor(kBlack, kLime, 1, 53), 4u << 8);
    EXPECT_EQ(BlendColor(kRed, kLime, 0, 10), kRed);
    EXPECT_EQ(BlendColor(kRed, kLime, 10, 10), kLime);
}

TEST(BlendColor, ChannelsStayApart) {
    // Blue 0x40 -> 0xC0, green 0x80 -> 0x00, red 0x10 -> 0x30, half way.
    EXPECT_EQ(BlendColor(0x408010, 0xC00030, 1, 2), 0x804020u);
}

TEST(BlendColor, ZeroSpanGivesStart) { EXPECT_EQ(BlendColor(0x123456, 0xFFFFFF, 5, 0), 0x123456u); }

TEST(PlanGradient, HeaderPanelRedToBlackTopDown) {
    const IntRect r{0, 0, 562, 53};
    const auto steps = PlanGradient(r, kRed, kBlack, GradientFill::Rows, 1);
    ASSERT_EQ(steps.size(), 53u);
    EXPECT_EQ(steps[0].color, kRed);
    EXPECT_EQ(steps[1].color, 251u);
    EXPECT_EQ(steps[52].color, 5u);  // the end colour itself never comes
    EXPECT_FALSE(steps[52].line);
    EXPECT_EQ(steps[52].rect, (IntRect{0, 52, 562, 53}));
    for (const auto& s : steps) EXPECT_EQ(s.color & 0xFFFF00, 0u);  // green and blue stay 0
}

TEST(PlanGradient, WideBandsStartFromTheRectanglesCorner) {
    const IntRect r{10, 20, 40, 30};  // 30 x 10, bands 4 wide: 0, 4, 8, last sticks out
    const auto rows = PlanGradient(r, kRed, kBlack, GradientFill::Rows, 4);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].rect, (IntRect{10, 28, 40, 32}));
    EXPECT_EQ(Red(rows[2].color), 255u - (255u * 8) / 10);
    const auto cols = PlanGradient(r, kRed, kBlack, GradientFill::Columns, 4);
    ASSERT_EQ(cols.size(), 8u);
    EXPECT_EQ(cols[1].rect, (IntRect{14, 20, 18, 30}));
}

TEST(PlanGradient, HalfStyleMeetsTheEndColourInTheMiddle) {
    const auto steps = PlanGradient(IntRect{0, 0, 10, 53}, kRed, kBlack, GradientFill::RowsBack, 1);
    ASSERT_EQ(steps.size(), 53u);
    EXPECT_EQ(steps[0].color, kRed);
    EXPECT_EQ(Red(steps[25].color), 255u - (255u * 25) / 26);
    EXPECT_EQ(steps[26].color, kBlack);
    EXPECT_EQ(steps[27].color, steps[25].color);  // the way back mirrors the way out
    EXPECT_EQ(steps[52].color, kRed);
    EXPECT_EQ(steps[52].rect, (IntRect{0, 52, 10, 53}));
}

TEST(PlanGradient, HalfStyleClampsTheFirstBandPastTheMiddle) {
    // Height 53, band 4: half 26, the way out ends at 24, the way back begins at 28 > 26.
    // Unclamped, red would be 255 - 274 = -19, kept to 8 bits 237: a bright band in the dark.
    const auto steps = PlanGradient(IntRect{0, 0, 10, 53}, kRed, kBlack, GradientFill::RowsBack, 4);
    ASSERT_EQ(steps.size(), 7u + 8u);  // out: 0..24; back: 28, 24, ..., 0
    EXPECT_EQ(steps[7].rect.top, 28);
    EXPECT_EQ(steps[7].color, kBlack);
    EXPECT_EQ(steps[8].color, steps[6].color);  // 24 again on the way back
    EXPECT_EQ(steps.back().color, kRed);
}

TEST(PlanGradient, ClampedBandsStayBetweenTheColours) {
    // Red 200 -> 40 with band 4: unclamped, the band at 28 would reach 200 - 172 = 28 < 40.
    for (GradientFill style : {GradientFill::RowsBack, GradientFill::ColumnsBack}) {
        for (const auto& s : PlanGradient(IntRect{0, 0, 53, 53}, 200, 40, style, 4)) {
            EXPECT_GE(Red(s.color), 40u) << int(style);
            EXPECT_LE(Red(s.color), 200u) << int(style);
        }
    }
}

TEST(PlanGradient, HalfStyleVerticalMovesRight) {
    const auto steps = PlanGradient(IntRect{0, 0, 4, 7}, kRed, kBlack, GradientFill::ColumnsBack, 1);
    ASSERT_EQ(steps.size(), 5u);  // half 2: out 0, 1; back 2, 1, 0
    EXPECT_EQ(steps[2].color, kBlack);
    EXPECT_EQ(steps[4].rect, (IntRect{4, 0, 5, 7}));
}

TEST(PlanGradient, DiagonalsUseCanvasCoordinates) {
    const IntRect r{5, 5, 8, 7};  // W 3, H 2, D 5; the lines ignore r's origin
    const auto down = PlanGradient(r, kRed, kBlack, GradientFill::DiagonalDown, 2);
    ASSERT_EQ(down.size(), 3u);  // d = 0, 2, 4
    EXPECT_TRUE(down[1].line);
    EXPECT_EQ(down[1].x1, 2);
    EXPECT_EQ(down[1].y1, 0);
    EXPECT_EQ(down[1].x2, -1);
    EXPECT_EQ(down[1].y2, 2);
    EXPECT_EQ(Red(down[2].color), 255u - (255u * 4) / 5);

    const auto up = PlanGradient(r, kRed, kBlack, GradientFill::DiagonalUp, 1);
    ASSERT_EQ(up.size(), 6u);  // d = 0 .. 5 inclusive: the end colour is reached
    EXPECT_EQ(up[5].x1, 0);
    EXPECT_EQ(up[5].y1, 2 - 5);
    EXPECT_EQ(up[5].x2, 5);
    EXPECT_EQ(up[5].y2, 2);
    EXPECT_EQ(up[5].color, kBlack);
}

TEST(PlanGradient, ZeroSpanFillsWithStartColour) {
    const IntRect thin{0, 0, 20, 1};  // style 5 under 2 px high: half is 0
    const auto steps = PlanGradient(thin, kRed, kBlack, GradientFill::RowsBack, 1);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].rect, thin);
    EXPECT_EQ(steps[0].color, kRed);
    EXPECT_EQ(PlanGradient(IntRect{}, kRed, kBlack, GradientFill::DiagonalDown, 1).size(), 1u);
}

TEST(PlanGradient, StyleZeroOrUnknownDrawsNothingAndBadWidthIsOne) {
    EXPECT_TRUE(PlanGradient(IntRect{0, 0, 10, 10}, kRed, kBlack, GradientFill::None, 1).empty());
    EXPECT_TRUE(PlanGradient(IntRect{0, 0, 10, 10}, kRed, kBlack, static_cast<GradientFill>(7), 1).empty());
    EXPECT_EQ(PlanGradient(IntRect{0, 0, 10, 10}, kRed, kBlack, GradientFill::Rows, 0).size(), 10u);
    EXPECT_EQ(PlanGradient(IntRect{0, 0, 10, 10}, kRed, kBlack, GradientFill::Columns, -3).size(), 10u);
}

}  // namespace
}  // namespace base
