// The bevel border on real GDI: every pixel of each shape, and the invalidation of setters.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "components/VrBorder.h"
#include "support/DibCanvas.h"
#include "support/VrTestForm.h"

namespace {

constexpr COLORREF kBack = RGB(255, 255, 255);
constexpr COLORREF kRedRgb = RGB(255, 0, 0);
constexpr COLORREF kMaroonRgb = RGB(128, 0, 0);
constexpr int W = 20, H = 16;

// The colour each pixel should have: the first colour where a first-colour line runs, else the
// second colour where a second-colour line runs, else the background.
using Expectation = std::function<COLORREF(int x, int y)>;

void ExpectPicture(TVrBorder& border, const Expectation& expected, const char* what) {
    DibCanvas c(W, H, kBack);
    HGDIOBJ pen0 = ::GetCurrentObject(c.Dc(), OBJ_PEN);
    PaintControl(border, c.Dc());
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) ASSERT_EQ(c.Pixel(x, y), expected(x, y)) << what << " at " << x << "," << y;
    EXPECT_EQ(::GetCurrentObject(c.Dc(), OBJ_PEN), pen0) << what;
}

struct Border {
    Border() : b(nullptr, L"SimpleBorder") {
        b.SetBounds(0, 0, W, H);
        b.SetShadowColor(fw::kMaroon);
        b.SetHighlightColor(fw::kRed);
    }
    TVrBorder b;
};

Expectation FramePicture(COLORREF first, COLORREF second) {
    return [=](int x, int y) {
        const bool firstLine = ((y == 0 || y == H - 2) && x <= W - 2) || ((x == 0 || x == W - 2) && y <= H - 2);
        const bool secondLine = ((y == 1 || y == H - 1) && x >= 1) || ((x == 1 || x == W - 1) && y >= 1);
        return firstLine ? first : secondLine ? second : kBack;
    };
}

TEST(VrBorder, RaisedFrameIsADoubleLineWithTheHighlightOutsideTopLeft) {
    Border t;
    EXPECT_EQ(t.b.Shape(), bsFrame);
    EXPECT_EQ(t.b.Style(), bsRaised);
    ExpectPicture(t.b, FramePicture(kRedRgb, kMaroonRgb), "raised frame");
}

TEST(VrBorder, LoweredStyleSwapsTheColoursOfEveryShape) {
    Border t;
    t.b.SetStyle(bsLowered);
    ExpectPicture(t.b, FramePicture(kMaroonRgb, kRedRgb), "lowered frame");
    t.b.SetShape(bsBox);
    ExpectPicture(
        t.b,
        [](int x, int y) {
            if (x == 0 || (y == 0 && x <= W - 2)) return kMaroonRgb;
            if (x == W - 1 || (y == H - 1 && x >= 1)) return kRedRgb;
            return kBack;
        },
        "lowered box");
}

TEST(VrBorder, BoxHasTheFirstColourTopLeftAndTheSecondBottomRight) {
    Border t;
    t.b.SetShape(bsBox);
    ExpectPicture(
        t.b,
        [](int x, int y) {
            // Polyline leaves out its last point: (0, H - 1) is first, (W - 1, 0) second.
            if (x == 0 || (y == 0 && x <= W - 2)) return kRedRgb;
            if (x == W - 1 || (y == H - 1 && x >= 1)) return kMaroonRgb;
            return kBack;
        },
        "box");
}

TEST(VrBorder, EachLineShapeDrawsTwoFullLinesAlongItsEdge) {
    struct Case {
        TVrBorderShape shape;
        const char* name;
        Expectation expected;
    } cases[] = {
        {bsTopLine, "top", [](int, int y) { return y == 0   ? kRedRgb
                                                   : y == 1 ? kMaroonRgb
                                                            : kBack; }},
        {bsBottomLine, "bottom", [](int, int y) { return y == H - 2   ? kRedRgb
                                                         : y == H - 1 ? kMaroonRgb
                                                                      : kBack; }},
        {bsLeftLine, "left", [](int x, int) { return x == 0   ? kRedRgb
                                                     : x == 1 ? kMaroonRgb
                                                              : kBack; }},
        {bsRightLine, "right", [](int x, int) { return x == W - 2   ? kRedRgb
                                                       : x == W - 1 ? kMaroonRgb
                                                                    : kBack; }},
        {bsSpacer, "spacer", [](int, int) { return kBack; }},
    };
    for (const Case& c : cases) {
        Border t;
        t.b.SetShape(c.shape);
        ExpectPicture(t.b, c.expected, c.name);
    }
}

TEST(VrBorder, SettersInvalidateTheBorderOnlyForANewValue) {
    VrTestForm form(120, 100);
    TVrBorder border(&form, L"VrBorder3");
    border.SetBounds(10, 20, 50, 40);
    form.Open();
    auto invalidated = [&](const std::function<void()>& change) {
        ::ValidateRect(form.Handle(), nullptr);
        change();
        RECT r{};
        const bool any = ::GetUpdateRect(form.Handle(), &r, FALSE) != FALSE;
        EXPECT_TRUE(!any || (r.left == 10 && r.top == 20 && r.right == 60 && r.bottom == 60));
        return any;
    };
    EXPECT_TRUE(invalidated([&] { border.SetShape(bsBox); }));
    EXPECT_TRUE(invalidated([&] { border.SetStyle(bsLowered); }));
    EXPECT_TRUE(invalidated([&] { border.SetShadowColor(fw::kGray); }));
    EXPECT_TRUE(invalidated([&] { border.SetHighlightColor(fw::kBlack); }));
    EXPECT_FALSE(invalidated([&] { border.SetShape(bsBox); }));
    EXPECT_FALSE(invalidated([&] { border.SetStyle(bsLowered); }));
    EXPECT_FALSE(invalidated([&] { border.SetShadowColor(fw::kGray); }));
    EXPECT_FALSE(invalidated([&] { border.SetHighlightColor(fw::kBlack); }));
}

}  // namespace
