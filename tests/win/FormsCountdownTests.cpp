// The countdown capture: the start, the count in the frame, the capture into the countdown
// page's preview and both windows back as ordinary windows at their places.
#include "support/FormsFixture.h"

using namespace forms_test;
using capture_test::PatternArea;
using capture_test::PixelsOf;

namespace {

// Runs the rest of a countdown tick by tick; the count texts seen, the last one included.
std::vector<std::wstring> TickToTheEnd(TCopyForm& panel, TMainForm& frame) {
    std::vector<std::wstring> seen;
    for (int guard = 0; guard < 70 && !frame.NumInterval.Text().empty(); ++guard) {
        panel.CountTimerTimer();
        seen.push_back(frame.NumInterval.Text());
    }
    return seen;
}

void ExpectIdleAfterACapture(TCopyForm& panel) {
    for (fw::Control* c :
         std::initializer_list<fw::Control*>{&panel.StartButton, &panel.CountInterval, &panel.Label9,
                                             &panel.CheckMinimize, &panel.BtnCopy, &panel.BtnSave, &panel.BtnPrint})
        EXPECT_TRUE(c->Enabled()) << fw::Utf8(c->Name());
    EXPECT_FALSE(panel.CountTimer.Enabled());
}

}  // namespace

using FormsCountdown = FormsTest;

TEST_F(FormsCountdown, ThreeSecondsCountedInTheFrameThenTheCaptureWithBothWindowsBack) {
    auto pattern = PatternUnderFrame();
    // The panel placed elsewhere by the user: the show handler, which the end of a countdown
    // runs again, would put the frame beside it.
    panel->SetBounds(60, 150, panel->Width(), panel->Height());
    const RECT panelAt = ScreenRect(panel->Handle()), frameAt = ScreenRect(frame->Handle());
    panel->PageControl.SetActivePage(&panel->CaptureLoop);
    PumpFor(20);

    const DWORD start = ::GetTickCount();
    ::SendMessageW(panel->StartButton.Handle(), BM_CLICK, 0, 0);  // "Start countdown", "3 sec"
    ASSERT_TRUE(shown.empty()) << fw::Utf8(shown[0].text);
    EXPECT_EQ(frame->NumInterval.Text(), L"3");
    EXPECT_TRUE(Topmost(frame->Handle())) << "the frame stays on top while counting";
    EXPECT_FALSE(Topmost(panel->Handle()));
    EXPECT_TRUE(::IsIconic(panel->Handle())) << "\"Minimize this form when capturing\" is checked";
    EXPECT_FALSE(fw::Application::Instance().Minimized()) << "the panel alone is minimized";
    EXPECT_TRUE(Showing(frame->Handle()));
    for (fw::Control* c :
         std::initializer_list<fw::Control*>{&panel->StartButton, &panel->CountInterval, &panel->Label9,
                                             &panel->CheckMinimize, &panel->BtnCopy, &panel->BtnSave, &panel->BtnPrint})
        EXPECT_FALSE(c->Enabled()) << fw::Utf8(c->Name());
    EXPECT_TRUE(panel->CountTimer.Enabled());
    EXPECT_EQ(panel->CountTimer.Interval(), 1000u);
    EXPECT_EQ(panel->PrintedWidth(), kCaptureWidth);
    EXPECT_EQ(panel->PrintedHeight(), kCaptureHeight);

    // The timer counts 2 and 1, one a second, and captures on the tick after.
    EXPECT_TRUE(PumpUntil([&] { return frame->NumInterval.Text() != L"3"; }, 2500));
    EXPECT_EQ(frame->NumInterval.Text(), L"2");
    EXPECT_TRUE(panel->RegFrame2.Image.Picture().Empty());
    EXPECT_TRUE(PumpUntil([&] { return frame->NumInterval.Text() != L"2"; }, 2500));
    EXPECT_EQ(frame->NumInterval.Text(), L"1");
    EXPECT_TRUE(panel->RegFrame2.Image.Picture().Empty());
    ASSERT_TRUE(PumpUntil([&] { return !panel->CountTimer.Enabled(); }, 2500)) << "the countdown never ended";
    const DWORD elapsed = ::GetTickCount() - start;
    EXPECT_GE(elapsed, 2700u);
    EXPECT_LE(elapsed, 6000u);
    ASSERT_TRUE(shown.empty()) << fw::Utf8(shown[0].text);

    EXPECT_EQ(frame->NumInterval.Text(), L"");
    fw::Bitmap& picture = panel->RegFrame2.Image.Picture();
    ASSERT_EQ(picture.Width(), kCaptureWidth);
    ASSERT_EQ(picture.Height(), kCaptureHeight);
    EXPECT_EQ(PixelDifferences(PixelsOf(picture), PatternArea(0, 0, kCaptureWidth, kCaptureHeight), kCaptureWidth), "")
        << "the picture is the screen inside the band, without the frame's last digit";
    ExpectIdleAfterACapture(*panel);

    PumpFor(50);
    EXPECT_FALSE(Topmost(frame->Handle())) << "the frame is left stay-on-top";
    EXPECT_FALSE(Topmost(panel->Handle()));
    EXPECT_TRUE(Showing(panel->Handle())) << "the panel is not restored";
    EXPECT_TRUE(Showing(frame->Handle()));
    const RECT panelNow = ScreenRect(panel->Handle()), frameNow = ScreenRect(frame->Handle());
    EXPECT_TRUE(::EqualRect(&panelAt, &panelNow)) << "the panel is not back at its place";
    EXPECT_TRUE(::EqualRect(&frameAt, &frameNow)) << "the frame is not back at its place";
    EXPECT_EQ(fw::Application::Instance().ScreenCursor(), nullptr);
    // The simple page is not touched.
    EXPECT_TRUE(panel->SimpleFrame1.Image.Picture().Empty());
    EXPECT_FALSE(panel->Copy.Enabled());
}

TEST_F(FormsCountdown, PrintedSizeIsTakenAtTheStartAndAnotherStartCountsAgain) {
    auto pattern = PatternUnderFrame();
    panel->CheckMinimize.SetChecked(false);
    panel->CountInterval.SetItemIndex(2);  // "10 sec"
    panel->StartButtonClick();
    EXPECT_EQ(frame->NumInterval.Text(), L"10");
    EXPECT_FALSE(::IsIconic(panel->Handle())) << "not minimized when unchecked";
    EXPECT_TRUE(Above(frame->Handle(), panel->Handle()));

    // The frame made smaller during the count: the picture has the new size, the printed
    // size stays the one at the start.
    frame->SetBounds(frame->Left(), frame->Top(), 200, 100);
    const auto smaller = PatternArea(0, 0, 188, 88);
    ASSERT_TRUE(PumpUntil([&] { return ScreenPixels(kCaptureLeft, kCaptureTop, 188, 88) == smaller; }, 3000));
    ASSERT_FALSE(frame->NumInterval.Text().empty());
    const int before = std::stoi(frame->NumInterval.Text());
    const auto seen = TickToTheEnd(*panel, *frame);
    ASSERT_EQ(seen.size(), size_t(before));
    for (int i = 0; i + 1 < before; ++i) EXPECT_EQ(seen[size_t(i)], std::to_wstring(before - 1 - i));
    EXPECT_EQ(seen.back(), L"") << "\"0\" is never left in the frame";
    EXPECT_EQ(panel->RegFrame2.Image.Picture().Width(), 188);
    EXPECT_EQ(panel->RegFrame2.Image.Picture().Height(), 88);
    EXPECT_EQ(PixelDifferences(PixelsOf(panel->RegFrame2.Image.Picture()), smaller, 188), "");
    EXPECT_EQ(panel->PrintedWidth(), kCaptureWidth);
    EXPECT_EQ(panel->PrintedHeight(), kCaptureHeight);
    ExpectIdleAfterACapture(*panel);

    // A start while counting (the space key presses it though the button is disabled) sets the
    // count back and takes the printed size again.
    panel->CountInterval.SetItemIndex(0);
    panel->StartButtonClick();
    panel->CountTimerTimer();
    EXPECT_EQ(frame->NumInterval.Text(), L"2");
    EXPECT_FALSE(panel->BtnCopy.Enabled()) << "disabled while counting, also with a picture from before";
    frame->SetBounds(frame->Left(), frame->Top(), 150, 80);
    panel->StartButtonClick();
    EXPECT_EQ(frame->NumInterval.Text(), L"3");
    EXPECT_EQ(panel->PrintedWidth(), 138);
    EXPECT_EQ(panel->PrintedHeight(), 68);
    TickToTheEnd(*panel, *frame);
    EXPECT_EQ(panel->RegFrame2.Image.Picture().Width(), 138);
    ExpectIdleAfterACapture(*panel);
}

TEST_F(FormsCountdown, TenCountdownsInARowTakeTheScreenNotTheFramesLastDigit) {
    auto pattern = PatternUnderFrame();
    panel->CheckMinimize.SetChecked(false);
    const auto expected = PatternArea(0, 0, kCaptureWidth, kCaptureHeight);
    for (int i = 1; i <= 10; ++i) {
        panel->StartButtonClick();
        panel->CountTimer.SetEnabled(false);  // the last tick comes by hand, below
        frame->NumInterval.SetText(L"1");
        // The last second of the count: the red "1" lies over the area on the screen.
        ASSERT_TRUE(PumpUntil(
            [&] { return ScreenPixels(kCaptureLeft, kCaptureTop, kCaptureWidth, kCaptureHeight) != expected; }, 2000))
            << "countdown " << i << ": the digit never showed";
        panel->CountTimerTimer();
        ASSERT_EQ(frame->NumInterval.Text(), L"");
        EXPECT_EQ(PixelDifferences(PixelsOf(panel->RegFrame2.Image.Picture()), expected, kCaptureWidth), "")
            << "countdown " << i;
    }
}

TEST_F(FormsCountdown, ALastTickWithTheFrameHiddenEndsTheCountdownAndReportsOnce) {
    panel->StartButtonClick();
    panel->CountTimerTimer();
    panel->CountTimerTimer();
    ASSERT_EQ(frame->NumInterval.Text(), L"1");
    ::SendMessageW(frame->Handle(), WM_CLOSE, 0, 0);  // Alt+F4 on the frame
    ASSERT_FALSE(::IsWindowVisible(frame->Handle()));

    // The last tick comes from the timer, behind its barrier.
    ASSERT_TRUE(PumpUntil([&] { return !shown.empty(); }, 2500)) << "the last tick never came";
    PumpFor(2200);  // two more periods: the timer must be off
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, std::wstring(kHiddenFrameError) + L".");
    EXPECT_EQ(shown[0].caption, L"Snapvane 1.1");
    EXPECT_EQ(shown[0].flags & MB_ICONMASK, UINT(MB_ICONERROR));
    EXPECT_EQ(frame->NumInterval.Text(), L"");
    EXPECT_FALSE(panel->RegFrame2.Image.Picture().Empty()) << "the grab comes before the focus step";
    ExpectIdleAfterACapture(*panel);
    EXPECT_TRUE(Showing(panel->Handle()));
    EXPECT_FALSE(Topmost(frame->Handle()));
    EXPECT_TRUE(::IsWindowVisible(frame->Handle())) << "the panel's show handler, run again, shows the frame";
}
