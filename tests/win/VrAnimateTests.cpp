// The frame-sheet animation with the program's own sheet (ANIMSHEET, 384 x 64, six frames of
// 64 x 64): where each frame lands in pixels, the transparent copy, the steps and the timer.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "components/VrAnimate.h"
#include "components/VrBorder.h"
#include "components/VrGradient.h"
#include "framework/Panel.h"
#include "framework/Application.h"
#include "framework/HandOver.h"
#include "support/DibCanvas.h"
#include "support/Pump.h"
#include "support/VrTestForm.h"

namespace {

constexpr COLORREF kBackRgb = RGB(0, 0, 255);        // the control's Color in these tests
constexpr COLORREF kSheetBack = RGB(212, 208, 200);  // the backdrop of the sheet's frames

void LoadSheet(fw::Bitmap& into) { into.LoadFromResource(::GetModuleHandleW(nullptr), L"ANIMSHEET"); }

// The sheet's pixels, for comparison.
std::unique_ptr<DibCanvas> SheetPixels() {
    fw::Bitmap sheet;
    LoadSheet(sheet);
    auto c = std::make_unique<DibCanvas>(sheet.Width(), sheet.Height());
    c->CopyFrom(sheet.Dc());
    return c;
}

// A control of the given size playing the sheet as six columns, on blue.
std::unique_ptr<TVrAnimate> MakeAnimate(fw::Container* parent, int w, int h) {
    auto a = std::make_unique<TVrAnimate>(parent, L"VrAnimate1");
    a->SetBounds(parent ? 4 : 0, parent ? 4 : 0, w, h);
    a->SetColor(fw::kBlue);
    LoadSheet(a->Bitmap());
    a->SetFrameCols(6);
    return a;
}

std::unique_ptr<DibCanvas> Render(TVrAnimate& a) {
    auto c = std::make_unique<DibCanvas>(a.Width(), a.Height(), RGB(1, 2, 3));
    PaintControl(a, c->Dc());
    return c;
}

// Every pixel of the canvas: the frame's pixel (sheet at sx + x - dx, sy + y - dy) inside the
// destination rectangle, the control's colour outside.
void ExpectFrame(const DibCanvas& c, const DibCanvas& sheet, int sx, int sy, RECT dest, int fw, int fh) {
    for (int y = 0; y < c.Height(); ++y) {
        for (int x = 0; x < c.Width(); ++x) {
            const bool inFrame = x >= dest.left && x < dest.right && y >= dest.top && y < dest.bottom;
            const int fx = x - dest.left, fy = y - dest.top;
            const COLORREF want =
                inFrame && fx >= 0 && fy >= 0 && fx < fw && fy < fh ? sheet.Pixel(sx + fx, sy + fy) : kBackRgb;
            ASSERT_EQ(c.Pixel(x, y), want) << "at " << x << "," << y;
        }
    }
}

TEST(VrAnimate, EachFrameLandsAtTheOriginOfThe65PixelControl) {
    auto sheet = SheetPixels();
    auto a = MakeAnimate(nullptr, 65, 65);
    EXPECT_EQ(a->FrameWidth(), 64);
    EXPECT_EQ(a->FrameHeight(), 64);
    EXPECT_EQ(a->FrameCount(), 6);
    for (int frame = 0; frame < 6; ++frame) {
        ASSERT_EQ(a->CurrentFrame(), frame);
        auto c = Render(*a);
        // (65 - 64) / 2 = 0: the rightmost column and the bottom row show Color.
        ExpectFrame(*c, *sheet, frame * 64, 0, RECT{0, 0, 64, 64}, 64, 64);
        a->AdvanceFrame();
    }
    EXPECT_EQ(a->CurrentFrame(), 0);  // looped
}

TEST(VrAnimate, FramesAreCentredAndCutWhenLargerThanTheControl) {
    auto sheet = SheetPixels();
    auto wide = MakeAnimate(nullptr, 101, 80);
    ExpectFrame(*Render(*wide), *sheet, 0, 0, RECT{18, 8, 82, 72}, 64, 64);

    auto small = MakeAnimate(nullptr, 50, 50);  // (50 - 64) / 2 = -7 on both sides
    small->AdvanceFrame();
    ExpectFrame(*Render(*small), *sheet, 64, 0, RECT{-7, -7, 57, 57}, 64, 64);
}

TEST(VrAnimate, RowsAndColumnsNumberFramesRowByRow) {
    auto sheet = SheetPixels();
    auto a = MakeAnimate(nullptr, 128, 32);
    a->SetFrameRows(2);
    a->SetFrameCols(3);  // frames of 128 x 32
    EXPECT_EQ(a->FrameWidth(), 128);
    EXPECT_EQ(a->FrameHeight(), 32);
    for (int i = 0; i < 4; ++i) a->AdvanceFrame();
    ExpectFrame(*Render(*a), *sheet, 128, 32, RECT{0, 0, 128, 32}, 128, 32);  // column 1, row 1
}

TEST(VrAnimate, StretchScalesTheFrameOverTheWholeControl) {
    auto sheet = SheetPixels();
    auto a = MakeAnimate(nullptr, 128, 128);
    a->SetStretch(true);
    a->AdvanceFrame();
    auto c = Render(*a);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) ASSERT_EQ(c->Pixel(x, y), sheet->Pixel(64 + x / 2, y / 2)) << x << "," << y;
}

TEST(VrAnimate, RowsAndColumnsBelowOneAreTakenAsOne) {
    auto a = MakeAnimate(nullptr, 65, 65);
    a->SetFrameCols(0);
    a->SetFrameRows(-5);
    EXPECT_EQ(a->FrameCols(), 1);
    EXPECT_EQ(a->FrameRows(), 1);
    EXPECT_EQ(a->FrameWidth(), 384);
    EXPECT_EQ(a->FrameHeight(), 64);
    EXPECT_EQ(a->FrameCount(), 1);
}

TEST(VrAnimate, AnEmptySheetShowsOnlyColor) {
    TVrAnimate a(nullptr, L"a");
    a.SetColor(fw::kBlue);
    EXPECT_EQ(a.FrameWidth(), 1);
    EXPECT_EQ(a.FrameHeight(), 1);
    auto c = Render(a);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) ASSERT_EQ(c->Pixel(x, y), kBackRgb);
}

TEST(VrAnimate, ANewSheetStopsAndRewinds) {
    auto a = MakeAnimate(nullptr, 65, 65);
    a->SetInterval(100000);  // no tick comes during the test
    a->SetActive(true);
    EXPECT_TRUE(a->AnimTimer().Enabled());
    a->AdvanceFrame();
    a->AdvanceFrame();
    fw::Bitmap other;
    LoadSheet(other);
    a->SetBitmap(other);
    EXPECT_FALSE(a->Active());
    EXPECT_FALSE(a->AnimTimer().Enabled());
    EXPECT_EQ(a->CurrentFrame(), 0);
    EXPECT_EQ(a->FrameWidth(), 64);

    // Loading into the sheet directly does the same.
    a->SetActive(true);
    a->AdvanceFrame();
    LoadSheet(a->Bitmap());
    EXPECT_FALSE(a->Active());
    EXPECT_EQ(a->CurrentFrame(), 0);
}

TEST(VrAnimate, WithoutLoopTheStepAfterTheLastFrameStopsAndNotifiesOnce) {
    auto a = MakeAnimate(nullptr, 65, 65);
    a->SetLoop(false);
    a->SetInterval(100000);
    a->SetActive(true);
    int notified = 0;
    a->SetOnNotify([&](TVrAnimate& sender) {
        EXPECT_EQ(&sender, a.get());
        ++notified;
    });
    for (int i = 0; i < 5; ++i) a->AdvanceFrame();
    EXPECT_EQ(a->CurrentFrame(), 5);
    EXPECT_EQ(notified, 0);
    a->AdvanceFrame();
    EXPECT_EQ(notified, 1);
    EXPECT_FALSE(a->Active());
    EXPECT_EQ(a->CurrentFrame(), 5);  // the last frame stays
}

TEST(VrAnimate, AutoSizeTakesTheFrameSize) {
    auto a = MakeAnimate(nullptr, 30, 20);
    a->SetAutoSize(true);
    EXPECT_EQ(a->Width(), 64);
    EXPECT_EQ(a->Height(), 64);
    EXPECT_EQ(a->ImageBitmap().Width(), 64);
}

TEST(VrAnimate, TransparentCopyLeavesOutThePixelsOfColor) {
    auto sheet = SheetPixels();
    VrTestForm form(120, 100, fw::kLime);
    auto a = MakeAnimate(&form, 64, 64);
    a->SetColor(fw::Color(kSheetBack));
    a->SetTransparent(true);
    form.Open();
    a->AdvanceFrame();
    a->AdvanceFrame();
    DibCanvas c(120, 100);
    form.Grab(c);
    int leftOut = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const COLORREF s = sheet->Pixel(128 + x, y);
            const COLORREF want = s == kSheetBack ? RGB(0, 255, 0) : s;
            leftOut += s == kSheetBack;
            ASSERT_EQ(c.Pixel(4 + x, 4 + y), want) << x << "," << y;
        }
    }
    EXPECT_GT(leftOut, 1000);
    EXPECT_FALSE(a->Opaque());
}

TEST(VrAnimate, ThreadedTimerStepsLoopOnTheGuiThread) {
    auto a = MakeAnimate(nullptr, 65, 65);
    a->SetInterval(10);
    a->SetActive(true);
    std::vector<int> seen{a->CurrentFrame()};
    ASSERT_TRUE(PumpUntil([&] {
        if (a->CurrentFrame() != seen.back()) seen.push_back(a->CurrentFrame());
        return seen.size() >= 8;
    }));
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4, 5, 0, 1}));
}

// Whether the animation's worker wakes (a tick, dropped or not, is a hand-over to the GUI
// thread) within the time; the queue is empty when called after pumping.
bool WorkerWakesWithin(DWORD ms) {
    return ::WaitForSingleObject(fw::HandOver::Instance().SyncEvent(), ms) == WAIT_OBJECT_0;
}

TEST(VrAnimate, StepsOnlyWhileItCanBeSeen) {
    VrTestForm form(120, 100);
    fw::Panel page(&form, L"Page");
    page.SetBounds(0, 0, 100, 100);
    page.SetVisible(false);  // a page not showing, as the About page at start
    auto a = MakeAnimate(&page, 65, 65);
    a->SetInterval(10);
    a->SetActive(true);
    form.Open();
    PumpFor(80);
    EXPECT_TRUE(a->Active()) << "active, only waiting to be seen";
    EXPECT_EQ(a->CurrentFrame(), 0) << "stepped on a hidden page";
    EXPECT_FALSE(a->AnimTimer().Enabled());

    page.SetVisible(true);
    ASSERT_TRUE(PumpUntil([&] { return a->CurrentFrame() >= 2; })) << "did not start when its page showed";

    page.SetVisible(false);
    PumpFor(30);  // a step already handed over may still land
    const int hiddenAt = a->CurrentFrame();
    PumpFor(80);
    EXPECT_EQ(a->CurrentFrame(), hiddenAt) << "went on stepping after its page was hidden";
    EXPECT_TRUE(a->Active());
    EXPECT_EQ(a->Interval(), 10);
    ASSERT_NE(a->AnimTimer().TimerThread(), nullptr);
    EXPECT_TRUE(a->AnimTimer().TimerThread()->Suspended());
    EXPECT_FALSE(WorkerWakesWithin(100)) << "the worker goes on waking for a page nobody sees";

    a->SetActive(false);
    page.SetVisible(true);
    PumpFor(60);
    EXPECT_EQ(a->CurrentFrame(), hiddenAt) << "an inactive animation started when shown";
    EXPECT_FALSE(WorkerWakesWithin(100)) << "the worker goes on waking for a stopped animation";

    a->SetActive(true);  // the interval it had
    ASSERT_TRUE(PumpUntil([&] { return a->CurrentFrame() != hiddenAt; }));
    EXPECT_EQ(a->AnimTimer().TimerThread()->WaitInterval(), 10u);
}

TEST(VrAnimate, ANewIntervalAppliesWhilePlayingAndWhenPlayingAgain) {
    auto a = MakeAnimate(nullptr, 65, 65);
    a->SetActive(true);
    EXPECT_EQ(a->AnimTimer().TimerThread()->WaitInterval(), 150u);
    a->SetInterval(40);  // the running timer restarts with it
    EXPECT_EQ(a->AnimTimer().TimerThread()->WaitInterval(), 40u);
    a->SetActive(false);
    a->SetInterval(20);  // kept while stopped
    EXPECT_EQ(a->Interval(), 20);
    a->SetActive(true);
    EXPECT_EQ(a->AnimTimer().TimerThread()->WaitInterval(), 20u);
    ASSERT_TRUE(PumpUntil([&] { return a->CurrentFrame() >= 2; }));
}

TEST(VrAnimate, WindowTimerStepsUntilTheEndWithoutLoop) {
    auto a = MakeAnimate(nullptr, 65, 65);
    a->SetThreaded(false);
    EXPECT_EQ(a->AnimTimer().TimerType(), ttSystem);
    a->SetLoop(false);
    a->SetInterval(10);
    DWORD notifiedOn = 0;
    a->SetOnNotify([&](TVrAnimate&) { notifiedOn = ::GetCurrentThreadId(); });
    a->SetActive(true);
    ASSERT_TRUE(PumpUntil([&] { return !a->Active(); }));
    EXPECT_EQ(notifiedOn, ::GetCurrentThreadId());
    EXPECT_EQ(a->CurrentFrame(), 5);
    PumpFor(60);
    EXPECT_EQ(a->CurrentFrame(), 5);
}

// A small form with the three visible components, painted as it would be on screen.
class DemoForm : public VrTestForm {
public:
    DemoForm()
        : VrTestForm(300, 140, fw::kWhite),
          gradient(this, L"Gradient"),
          border(this, L"Border"),
          animate(this, L"Animate") {
        gradient.SetBounds(0, 0, 300, 53);
        gradient.SetStartColor(fw::kRed);
        border.SetBounds(0, 53, 300, 87);
        border.SetShadowColor(fw::kMaroon);
        border.SetHighlightColor(fw::kRed);
        animate.SetBounds(200, 62, 65, 65);
        animate.SetColor(fw::kBlue);
        LoadSheet(animate.Bitmap());
        animate.SetFrameCols(6);
    }
    TVrGradient gradient;
    TVrBorder border;
    TVrAnimate animate;
};

void ExpectDemo(const DibCanvas& c, const DibCanvas& sheet, int frame) {
    // The header's gradient, red to black in rows of one pixel (255 - 255 * y / 53, the
    // fraction dropped).
    const int rowsAndReds[][2] = {{0, 255}, {1, 251}, {26, 130}, {27, 126}, {52, 5}};
    for (const auto& [y, red] : rowsAndReds) EXPECT_EQ(c.Pixel(150, y), RGB(red, 0, 0)) << "row " << y;
    EXPECT_EQ(c.Pixel(150, 53), RGB(255, 0, 0));       // the border's outer line
    EXPECT_EQ(c.Pixel(150, 54), RGB(128, 0, 0));       // and its inner line
    EXPECT_EQ(c.Pixel(298, 100), RGB(255, 0, 0));      // right side: W - 2 first colour
    EXPECT_EQ(c.Pixel(299, 100), RGB(128, 0, 0));      // W - 1 second colour
    EXPECT_EQ(c.Pixel(150, 100), RGB(255, 255, 255));  // the form inside the border
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(c.Pixel(200 + x, 62 + y), sheet.Pixel(frame * 64 + x, y)) << "frame " << frame;
    EXPECT_EQ(c.Pixel(264, 100), kBackRgb);
    EXPECT_EQ(c.Pixel(230, 126), kBackRgb);
}

TEST(VrDemoForm, PaintsGradientBorderAndAnimation) {
    auto sheet = SheetPixels();
    DemoForm form;
    form.CreateForm();
    DibCanvas printed(300, 140, RGB(1, 2, 3));
    ::SendMessageW(form.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.Dc()), PRF_CLIENT);
    ExpectDemo(printed, *sheet, 0);

    // On screen, a step of the running animation repaints it at once.
    form.ShowForm();
    ::UpdateWindow(form.Handle());
    form.animate.SetInterval(20);
    form.animate.SetActive(true);
    ASSERT_TRUE(PumpUntil([&] { return form.animate.CurrentFrame() == 1; }));
    form.animate.SetActive(false);
    DibCanvas shown(300, 140);
    form.Grab(shown);
    ExpectDemo(shown, *sheet, 1);
}

}  // namespace
