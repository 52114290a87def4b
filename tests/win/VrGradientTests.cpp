// The gradient control and DrawGradient on real GDI, pixels read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "components/VrGradient.h"
#include "components/VrSysUtils.h"
#include "framework/Container.h"
#include "support/DibCanvas.h"
#include "support/VrTestForm.h"

namespace {

// Counts the redraws that setters start.
class CountingGradient : public TVrGradient {
public:
    using TVrGradient::TVrGradient;
    void RedrawControl() override {
        ++redraws;
        TVrGradient::RedrawControl();
    }
    int redraws = 0;
};

int Red(COLORREF c) { return GetRValue(c); }

std::unique_ptr<DibCanvas> Render(TVrGradient& g) {
    auto c = std::make_unique<DibCanvas>(g.Width(), g.Height(), RGB(1, 2, 3));
    PaintControl(g, c->Dc());
    return c;
}

TEST(VrGradient, HeaderBlendsRedToBlackInOnePixelRows) {
    TVrGradient g(nullptr, L"VrGradient1");
    g.SetBounds(0, 0, 562, 53);
    g.SetStartColor(fw::kRed);
    auto c = Render(g);
    // Row y: 255 - 255 * y / 53, the fraction dropped; the end colour itself is never drawn.
    const int kRed[53] = {255, 251, 246, 241, 236, 231, 227, 222, 217, 212,  //
                          207, 203, 198, 193, 188, 183, 179, 174, 169, 164,  //
                          159, 154, 150, 145, 140, 135, 130, 126, 121, 116,  //
                          111, 106, 102, 97,  92,  87,  82,  77,  73,  68,   //
                          63,  58,  53,  49,  44,  39,  34,  29,  25,  20,   //
                          15,  10,  5};
    for (int y = 0; y < 53; ++y) {
        ASSERT_EQ(c->Pixel(0, y), RGB(kRed[y], 0, 0)) << "row " << y;
        ASSERT_EQ(c->Pixel(300, y), RGB(kRed[y], 0, 0)) << "row " << y;
        ASSERT_EQ(c->Pixel(561, y), RGB(kRed[y], 0, 0)) << "row " << y;
    }
}

TEST(VrGradient, HalfStyleReachesTheEndColourInTheMiddleRowAndReturns) {
    TVrGradient g(nullptr, L"g");
    g.SetBounds(0, 0, 10, 53);
    g.SetStartColor(fw::kRed);
    g.SetDirection(gdUpDownHalf);
    auto c = Render(g);
    // Half of 53 is 26: rows 0 to 26 go from red to black over 26 steps, rows 27 to 52 the
    // same way back.
    const int kRed[53] = {255, 246, 236, 226, 216, 206, 197, 187, 177, 167,  //
                          157, 148, 138, 128, 118, 108, 99,  89,  79,  69,   //
                          59,  50,  40,  30,  20,  10,  0,                   //
                          10,  20,  30,  40,  50,  59,  69,  79,  89,  99,   //
                          108, 118, 128, 138, 148, 157, 167, 177, 187, 197,  //
                          206, 216, 226, 236, 246, 255};
    for (int y = 0; y < 53; ++y) ASSERT_EQ(c->Pixel(5, y), RGB(kRed[y], 0, 0)) << "row " << y;
}

TEST(VrGradient, ColumnsMoveRightInBandsOfColorWidth) {
    TVrGradient g(nullptr, L"g");
    g.SetBounds(0, 0, 22, 6);
    g.SetStartColor(fw::kWhite);
    g.SetEndColor(fw::kBlack);
    g.SetDirection(gdLeftRight);
    g.SetColorWidth(4);
    auto c = Render(g);
    // Bands at x = 0, 4, ..., 20, each 255 - 255 * x / 22; the last one is cut at the edge.
    const int kGrey[22] = {255, 255, 255, 255, 209, 209, 209, 209, 163, 163, 163,
                           163, 116, 116, 116, 116, 70,  70,  70,  70,  24,  24};
    for (int x = 0; x < 22; ++x) ASSERT_EQ(c->Pixel(x, 3), RGB(kGrey[x], kGrey[x], kGrey[x])) << "column " << x;
}

TEST(VrGradient, SwapColorsDrawsAsIfTheColoursWereExchanged) {
    for (TVrGradDirection d : {gdUpDown, gdLeftRightHalf, gdChord1, gdChord2}) {
        TVrGradient swapped(nullptr, L"a"), exchanged(nullptr, L"b");
        for (TVrGradient* g : {&swapped, &exchanged}) {
            g->SetBounds(0, 0, 40, 30);
            g->SetDirection(d);
        }
        swapped.SetStartColor(fw::kBlue);
        swapped.SetEndColor(fw::kLime);
        swapped.SetSwapColors(true);
        exchanged.SetStartColor(fw::kLime);
        exchanged.SetEndColor(fw::kBlue);
        auto a = Render(swapped);
        auto b = Render(exchanged);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) ASSERT_EQ(a->Pixel(x, y), b->Pixel(x, y)) << "direction " << d;
        if (d != gdChord1 && d != gdChord2) {
            EXPECT_EQ(a->Pixel(0, 0), RGB(0, 255, 0)) << "direction " << d;
        }
    }
}

TEST(VrGradient, DiagonalsRunBetweenOppositeCornersWithAWidePen) {
    TVrGradient g(nullptr, L"g");
    g.SetBounds(0, 0, 30, 20);
    g.SetStartColor(fw::kWhite);
    g.SetEndColor(fw::kBlack);
    g.SetColorWidth(3);
    g.SetDirection(gdChord1);  // start at the top-left, end at the bottom-right
    auto c = Render(g);
    EXPECT_EQ(c->Pixel(0, 0), RGB(255, 255, 255));
    EXPECT_LT(Red(c->Pixel(29, 19)), 30);
    EXPECT_EQ(g.ImageCanvas().PenWidth(), 3);  // kept after the call
    // Darker to the right along every row and further down every column.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x + 1 < 30; ++x) ASSERT_GE(Red(c->Pixel(x, y)), Red(c->Pixel(x + 1, y))) << x << "," << y;
    for (int x = 0; x < 30; ++x)
        for (int y = 0; y + 1 < 20; ++y) ASSERT_GE(Red(c->Pixel(x, y)), Red(c->Pixel(x, y + 1))) << x << "," << y;

    g.SetDirection(gdChord2);  // start at the bottom-left, end at the top-right
    auto d = Render(g);
    EXPECT_EQ(Red(d->Pixel(0, 19)), 240);  // the first line, d = 3 of 50, is 3 px wide
    EXPECT_LT(Red(d->Pixel(29, 0)), 30);
    // Darker to the right along every row, lighter further down every column.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x + 1 < 30; ++x) ASSERT_GE(Red(d->Pixel(x, y)), Red(d->Pixel(x + 1, y))) << x << "," << y;
    for (int x = 0; x < 30; ++x)
        for (int y = 0; y + 1 < 20; ++y) ASSERT_LE(Red(d->Pixel(x, y)), Red(d->Pixel(x, y + 1))) << x << "," << y;
}

TEST(VrGradient, SettersRedrawOnlyForANewValue) {
    CountingGradient g(nullptr, L"g");
    g.SetStartColor(fw::kLime);  // the defaults
    g.SetEndColor(fw::kBlack);
    g.SetDirection(gdUpDown);
    g.SetSwapColors(false);
    g.SetColorWidth(1);
    EXPECT_EQ(g.redraws, 0);
    g.SetColorWidth(0);
    g.SetColorWidth(-3);
    EXPECT_EQ(g.ColorWidth(), 1);
    EXPECT_EQ(g.redraws, 0);
    g.SetStartColor(fw::kRed);
    g.SetEndColor(fw::kBlue);
    g.SetDirection(gdChord2);
    g.SetSwapColors(true);
    g.SetColorWidth(5);
    EXPECT_EQ(g.redraws, 5);
    g.SetFormDrag(true);  // stored only
    EXPECT_EQ(g.redraws, 5);
}

TEST(VrGradient, PaintLeavesTheDcAsItWasAndFreesItsObjects) {
    DibCanvas c(50, 50);
    HGDIOBJ pen0 = ::GetCurrentObject(c.Dc(), OBJ_PEN);
    HGDIOBJ brush0 = ::GetCurrentObject(c.Dc(), OBJ_BRUSH);
    HGDIOBJ imagePen = nullptr, imageBrush = nullptr, imageBmp = nullptr;
    {
        TVrGradient g(nullptr, L"g");
        g.SetBounds(0, 0, 50, 50);
        g.SetDirection(gdChord1);
        PaintControl(g, c.Dc());
        g.SetDirection(gdUpDown);
        PaintControl(g, c.Dc());
        imagePen = ::GetCurrentObject(g.ImageCanvas().Handle(), OBJ_PEN);
        imageBrush = ::GetCurrentObject(g.ImageCanvas().Handle(), OBJ_BRUSH);
        imageBmp = g.ImageBitmap().Handle();
        EXPECT_EQ(::GetObjectType(imagePen), DWORD(OBJ_PEN));
        EXPECT_EQ(::GetObjectType(imageBrush), DWORD(OBJ_BRUSH));
    }
    EXPECT_EQ(::GetCurrentObject(c.Dc(), OBJ_PEN), pen0);
    EXPECT_EQ(::GetCurrentObject(c.Dc(), OBJ_BRUSH), brush0);
    EXPECT_EQ(::GetObjectType(imagePen), 0u);
    EXPECT_EQ(::GetObjectType(imageBrush), 0u);
    EXPECT_EQ(::GetObjectType(imageBmp), 0u);
}

TEST(VrGradient, FormDragReleasesTheCaptureAndStartsTheFormsMoveLoop) {
    VrTestForm form(200, 120);
    fw::Container panel(&form, L"Panel");
    panel.SetBounds(10, 10, 150, 80);
    TVrGradient g(&panel, L"g");
    g.SetBounds(5, 5, 100, 50);
    form.Open();
    const LPARAM inside = MAKELPARAM(20, 20);

    // Without FormDrag a press is an ordinary press: the panel holds the capture for it.
    ::SendMessageW(panel.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_EQ(::GetCapture(), panel.Handle());
    EXPECT_TRUE(form.sysCommands.empty());
    ::SendMessageW(panel.Handle(), WM_LBUTTONUP, 0, inside);

    g.SetFormDrag(true);
    ::SendMessageW(panel.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_EQ(::GetCapture(), nullptr);
    ASSERT_EQ(form.sysCommands.size(), 1u);
    EXPECT_EQ(form.sysCommands[0], WPARAM(0xF012));

    // Only the left button drags.
    ::SendMessageW(panel.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, inside);
    EXPECT_EQ(form.sysCommands.size(), 1u);
    ::SendMessageW(panel.Handle(), WM_RBUTTONUP, 0, inside);
}

TEST(VrSysUtils, OutermostWindowedOwnerIsTheForm) {
    VrTestForm form(100, 100);
    fw::Container outer(&form, L"Outer");
    fw::Container inner(&outer, L"Inner");
    TVrGradient onInner(&inner, L"a");
    TVrGradient onForm(&form, L"b");
    TVrGradient alone(nullptr, L"c");
    EXPECT_EQ(OutermostWindowedOwner(onInner), static_cast<fw::WinControl*>(&form));
    EXPECT_EQ(OutermostWindowedOwner(onForm), static_cast<fw::WinControl*>(&form));
    EXPECT_EQ(OutermostWindowedOwner(alone), nullptr);
}

TEST(VrSysUtils, DrawGradientStyleZeroDrawsNothing) {
    DibCanvas c(8, 8, RGB(9, 9, 9));
    fw::Canvas canvas;
    canvas.Attach(c.Dc());
    DrawGradient(canvas, RECT{0, 0, 8, 8}, fw::kRed, fw::kBlue, 0, 1);
    DrawGradient(canvas, RECT{2, 2, 6, 4}, fw::kRed, fw::kBlue, 1, 1);  // offset rectangle
    canvas.Detach();
    EXPECT_EQ(c.Pixel(0, 0), RGB(9, 9, 9));
    EXPECT_EQ(c.Pixel(1, 2), RGB(9, 9, 9));
    EXPECT_EQ(c.Pixel(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(c.Pixel(5, 3), RGB(128, 0, 127));  // half-way: 255 + (0 - 255) / 2 = 128
    EXPECT_EQ(c.Pixel(6, 3), RGB(9, 9, 9));
}

}  // namespace
