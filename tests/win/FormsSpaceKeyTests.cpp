// The space key released on either window runs the action of the page the panel shows.
#include "support/FormsFixture.h"

using namespace forms_test;

namespace {

enum class Page { Simple, Countdown, Regular, About };

void ShowPage(TCopyForm& p, Page page) {
    switch (page) {
    case Page::Simple:
        p.PageControl.SetActivePage(&p.Simple);
        break;
    case Page::Countdown:
        p.PageControl.SetActivePage(&p.CaptureLoop);
        p.PageControl1.SetActivePage(&p.CountDown);
        break;
    case Page::Regular:
        p.PageControl.SetActivePage(&p.CaptureLoop);
        p.PageControl1.SetActivePage(&p.CaptureRegularily);
        break;
    case Page::About:
        p.PageControl.SetActivePage(&p.About);
        p.PageControl1.SetActivePage(&p.CaptureRegularily);  // a sub-page that has an action
        break;
    }
}

// Which actions ran, read from what each one leaves behind.
struct Ran {
    bool capture, countdown, series;
};

}  // namespace

class FormsSpaceKey : public FormsTest {
protected:
    Ran Outcome() const {
        return Ran{!panel->SimpleFrame1.Image.Picture().Empty(), panel->CountTimer.Enabled(),
                   !shown.empty() && shown[0].text == L"Enter filename and path."};
    }
    void Release(bool onFrame, WORD key, fw::ShiftState shift = 0) {
        const WORD sent = key;
        if (onFrame)
            frame->FormKeyUp(key, shift);
        else
            panel->FormKeyUp(key, shift);
        EXPECT_EQ(key, sent) << "the key is passed on unchanged";
    }
};

TEST_F(FormsSpaceKey, EachPageRunsItsActionFromEitherWindow) {
    struct Case {
        Page page;
        bool capture, countdown, series;
        const char* what;
    };
    const Case cases[] = {
        {Page::Simple, true, false, false, "Simple capturing: capture"},
        {Page::Countdown, false, true, false, "Countdown: start"},
        {Page::Regular, false, false, true, "Capture regularily: Play (here the warning of an empty name)"},
        {Page::About, false, false, false, "About: nothing"},
    };
    for (bool onFrame : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (onFrame ? ", frame focused" : ", panel focused"));
            NewPair();  // a fresh pair for each case
            panel->CheckMinimize.SetChecked(false);
            ShowPage(*panel, c.page);

            Release(onFrame, VK_SPACE, fw::kCtrl | fw::kShift);  // the shift state is not looked at
            const Ran ran = Outcome();
            EXPECT_EQ(ran.capture, c.capture);
            EXPECT_EQ(ran.countdown, c.countdown);
            EXPECT_EQ(ran.series, c.series);
            EXPECT_EQ(shown.size(), c.series ? 1u : 0u);
            if (c.countdown) {
                EXPECT_EQ(frame->NumInterval.Text(), L"3");
            }
            panel->CountTimer.SetEnabled(false);
        }
    }
}

TEST_F(FormsSpaceKey, OtherKeysRunNothing) {
    for (Page page : {Page::Simple, Page::Countdown, Page::Regular}) {
        ShowPage(*panel, page);
        for (WORD key : {WORD(VK_RETURN), WORD('C'), WORD(VK_CONTROL)}) {
            Release(false, key);
            Release(true, key);
        }
    }
    EXPECT_TRUE(panel->SimpleFrame1.Image.Picture().Empty());
    EXPECT_FALSE(panel->CountTimer.Enabled());
    EXPECT_TRUE(shown.empty());
}

TEST_F(FormsSpaceKey, FromTheFrameOnTheSimplePageThePanelComesBackAfterTheCapture) {
    // "Minimize this": the panel alone is minimized.
    panel->MinimizeClick();
    ASSERT_TRUE(::IsIconic(panel->Handle()));
    Release(true, VK_SPACE);
    PumpFor(20);
    EXPECT_FALSE(panel->SimpleFrame1.Image.Picture().Empty());
    EXPECT_TRUE(Showing(panel->Handle()));
    EXPECT_TRUE(Showing(frame->Handle()));

    // The application minimized with the frame left on screen: the capture, then both back.
    panel->SimpleFrame1.Image.Picture().Clear();
    panel->MinimizeAllClick();
    frame->SetWindowState(fw::WindowState::Normal);
    PumpFor(20);
    ASSERT_TRUE(fw::Application::Instance().Minimized());
    ASSERT_TRUE(Showing(frame->Handle()));
    Release(true, VK_SPACE);
    PumpFor(50);
    EXPECT_FALSE(panel->SimpleFrame1.Image.Picture().Empty());
    EXPECT_FALSE(fw::Application::Instance().Minimized());
    EXPECT_TRUE(Showing(panel->Handle()));

    // From the panel the windows are left as they are.
    panel->MinimizeClick();
    panel->SimpleFrame1.Image.Picture().Clear();
    Release(false, VK_SPACE);
    EXPECT_FALSE(panel->SimpleFrame1.Image.Picture().Empty());
    EXPECT_TRUE(::IsIconic(panel->Handle()));
}

TEST_F(FormsSpaceKey, ASecondSpaceRestartsTheCountAndPausesTheSeries) {
    ShowPage(*panel, Page::Countdown);
    panel->CheckMinimize.SetChecked(false);
    Release(false, VK_SPACE);
    panel->CountTimerTimer();
    ASSERT_EQ(frame->NumInterval.Text(), L"2");
    ASSERT_FALSE(panel->StartButton.Enabled());
    Release(true, VK_SPACE);  // the start button is disabled; its action runs all the same
    EXPECT_EQ(frame->NumInterval.Text(), L"3");
    panel->CountTimer.SetEnabled(false);

    capture_test::TempFolder folder;
    ShowPage(*panel, Page::Regular);
    panel->Filename.SetText(L"k");
    panel->Path.SetText(folder.Path());
    panel->Path.SetHint(folder.Path());
    Release(false, VK_SPACE);
    EXPECT_EQ(panel->Play.Tag(), 1) << "the first space starts";
    EXPECT_FALSE(panel->Play.Down());
    Release(true, VK_SPACE);
    EXPECT_EQ(panel->Play.Tag(), 0) << "the second pauses";
    EXPECT_TRUE(panel->Play.Down());
    Release(false, VK_SPACE);
    EXPECT_EQ(panel->Play.Tag(), 1) << "the third resumes";
    EXPECT_EQ(panel->SeriesCounter(), 2);
    EXPECT_TRUE(shown.empty());
}
