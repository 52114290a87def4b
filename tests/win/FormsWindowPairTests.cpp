// The control panel and the capture frame as a pair: where they appear, how they are minimized
// and restored together or alone, what closing does, and how errors are shown.
#include <cstdlib>

#include "support/FormsFixture.h"

using namespace forms_test;

namespace {

constexpr RECT kPanelRect{100, 100, 100 + 574, 100 + 346};
constexpr RECT kFrameRect{704, 100, 704 + 336, 100 + 192};

::testing::AssertionResult At(HWND wnd, const RECT& expected) {
    const RECT r = ScreenRect(wnd);
    if (::EqualRect(&r, &expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "window at " << r.left << "," << r.top << " " << r.right - r.left << " x "
                                         << r.bottom - r.top << ", expected " << expected.left << "," << expected.top
                                         << " " << expected.right - expected.left << " x "
                                         << expected.bottom - expected.top;
}

}  // namespace

using FormsWindowPair = FormsTest;

TEST_F(FormsWindowPair, PanelAtItsStartPlaceAndTheFrameThirtyPixelsToItsRight) {
    EXPECT_TRUE(At(panel->Handle(), kPanelRect));
    EXPECT_TRUE(At(frame->Handle(), kFrameRect));
    EXPECT_TRUE(Showing(panel->Handle()));
    EXPECT_TRUE(Showing(frame->Handle()));
    EXPECT_EQ(::GetActiveWindow(), panel->Handle()) << "the panel has the keyboard at start";
    EXPECT_TRUE(Above(panel->Handle(), fw::Application::Instance().Handle()));
    EXPECT_EQ(fw::Application::Instance().MainWindow(), panel.get());
    EXPECT_EQ(fw::Application::Instance().HintColor(), 0x0000FF) << "tooltips have a red background";

    // A fixed window with a system menu and a minimize box only.
    const LONG style = ::GetWindowLongW(panel->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    MINMAXINFO mmi{};
    ::SendMessageW(panel->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(mmi.ptMinTrackSize.x, 574);
    EXPECT_EQ(mmi.ptMinTrackSize.y, 346);
    EXPECT_EQ(mmi.ptMaxTrackSize.x, 574);
    EXPECT_EQ(mmi.ptMaxTrackSize.y, 346);
    wchar_t caption[64] = L"";
    ::GetWindowTextW(panel->Handle(), caption, 64);
    EXPECT_STREQ(caption, L"| Tolvard | Snapvane | 1.1 |");

    // Each run of the show handler puts the frame back beside the panel.
    frame->SetBounds(300, 500, 336, 192);
    panel->SetBounds(120, 80, panel->Width(), panel->Height());
    ::SetWindowPos(panel->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    panel->FormShow();
    EXPECT_TRUE(At(frame->Handle(), RECT{724, 80, 724 + 336, 80 + 192}));
    EXPECT_TRUE(Above(frame->Handle(), panel->Handle())) << "the show handler brings the frame to the top";
}

TEST_F(FormsWindowPair, MinimizingThePanelMinimizesTheApplicationAndTheFrameAndRestoreBringsBoth) {
    auto& app = fw::Application::Instance();
    // The minimize box of the main window: the application goes, its notification takes the frame.
    ::SendMessageW(panel->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    PumpFor(50);
    EXPECT_TRUE(app.Minimized());
    EXPECT_FALSE(::IsWindowVisible(panel->Handle())) << "the panel goes with the application window";
    EXPECT_TRUE(::IsIconic(frame->Handle())) << "the frame has no owner: the notification minimizes it";
    EXPECT_EQ(frame->GetWindowState(), fw::WindowState::Minimized);

    // The taskbar button: the application comes back and its notification restores both.
    ::SendMessageW(app.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    PumpFor(50);
    EXPECT_FALSE(app.Minimized());
    EXPECT_TRUE(Showing(panel->Handle()));
    EXPECT_TRUE(Showing(frame->Handle()));
    EXPECT_TRUE(At(panel->Handle(), kPanelRect));
    EXPECT_TRUE(At(frame->Handle(), kFrameRect));
}

TEST_F(FormsWindowPair, MinimizeAllClickMinimizesBothAndRestoreClickBringsThemBack) {
    auto& app = fw::Application::Instance();
    panel->MinimizeAllClick();
    PumpFor(50);
    EXPECT_TRUE(app.Minimized());
    EXPECT_TRUE(::IsIconic(frame->Handle()));
    EXPECT_FALSE(::IsWindowVisible(panel->Handle()));

    // Running it again while minimized changes nothing.
    panel->MinimizeAllClick();
    EXPECT_TRUE(app.Minimized());
    EXPECT_TRUE(::IsIconic(frame->Handle()));

    app.Restore();  // its notification is RestoreClick
    PumpFor(50);
    EXPECT_TRUE(Showing(panel->Handle()));
    EXPECT_TRUE(Showing(frame->Handle()));

    // RestoreClick on its own, after both were minimized one by one.
    panel->SetWindowState(fw::WindowState::Minimized);
    frame->SetWindowState(fw::WindowState::Minimized);
    ASSERT_TRUE(::IsIconic(panel->Handle()));
    ASSERT_TRUE(::IsIconic(frame->Handle()));
    panel->RestoreClick();
    PumpFor(20);
    EXPECT_TRUE(Showing(panel->Handle()));
    EXPECT_TRUE(Showing(frame->Handle()));
}

TEST_F(FormsWindowPair, MinimizeThisMinimizesThePanelAloneAndLeavesTheFrameInUse) {
    auto& app = fw::Application::Instance();
    ::SendMessageW(panel->Minimize.Handle(), BM_CLICK, 0, 0);  // "Minimize this"
    PumpFor(50);
    EXPECT_TRUE(::IsIconic(panel->Handle()));
    EXPECT_FALSE(app.Minimized()) << "the application is not minimized, so no notification runs";
    EXPECT_TRUE(Showing(frame->Handle()));
    EXPECT_TRUE(At(frame->Handle(), kFrameRect));

    panel->RestoreClick();
    PumpFor(20);
    EXPECT_TRUE(Showing(panel->Handle()));
    EXPECT_TRUE(At(panel->Handle(), kPanelRect));

    // The frame minimized and restored from its own taskbar button leaves the panel alone.
    ::SendMessageW(frame->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    PumpFor(20);
    EXPECT_TRUE(::IsIconic(frame->Handle()));
    EXPECT_TRUE(Showing(panel->Handle()));
    EXPECT_FALSE(app.Minimized());
    ::SendMessageW(frame->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    PumpFor(20);
    EXPECT_TRUE(Showing(frame->Handle()));
    EXPECT_TRUE(Showing(panel->Handle()));
}

TEST_F(FormsWindowPair, AClosedFrameStaysHiddenThroughMinimizeAndRestore) {
    auto& app = fw::Application::Instance();
    ::SendMessageW(frame->Handle(), WM_CLOSE, 0, 0);  // Alt+F4 on the frame
    PumpFor(20);
    EXPECT_FALSE(::IsWindowVisible(frame->Handle()));
    EXPECT_TRUE(Showing(panel->Handle())) << "closing the frame alone only hides it";
    EXPECT_FALSE(app.Terminated());

    panel->MinimizeAllClick();
    PumpFor(20);
    app.Restore();
    PumpFor(50);
    EXPECT_TRUE(Showing(panel->Handle()));
    EXPECT_FALSE(::IsWindowVisible(frame->Handle())) << "a restore only records the state of a hidden frame";

    panel->RestoreClick();
    PumpFor(20);
    EXPECT_FALSE(::IsWindowVisible(frame->Handle()));
}

// Closing the main window ends the program, so it runs in a process of its own.
TEST_F(FormsWindowPair, ClosingThePanelClosesTheFrameAndEndsTheProgram) {
    auto closeAndReport = [this](bool frameMinimized) {
        if (frameMinimized) frame->SetWindowState(fw::WindowState::Minimized);
        ::SendMessageW(panel->Handle(), WM_CLOSE, 0, 0);
        const int code = (::IsWindowVisible(frame->Handle()) ? 1 : 0) | (::IsWindowVisible(panel->Handle()) ? 2 : 0) |
                         (fw::Application::Instance().Terminated() ? 0 : 4);
        std::exit(code);
    };
    EXPECT_EXIT(closeAndReport(false), ::testing::ExitedWithCode(0), "")
        << "exit code bits: 1 frame still visible, 2 panel still visible, 4 the program goes on";
    EXPECT_EXIT(closeAndReport(true), ::testing::ExitedWithCode(0), "") << "with the frame minimized";
}

using FormsErrorDisplay = FormsTest;

TEST_F(FormsErrorDisplay, ShowsTheMessageUnderTheTitleWithTheErrorIconAndTheFullStopRule) {
    auto& app = fw::Application::Instance();
    struct Case {
        const wchar_t* message;
        const wchar_t* shownText;
    };
    const Case cases[] = {
        {L"Cannot open clipboard", L"Cannot open clipboard."},  // a letter sorts after "."
        {L"Enter filename and path.", L"Enter filename and path."},
        {L"Printing in progress!", L"Printing in progress!"},  // "!" sorts before "."
        {L"size (3)", L"size (3)"},                            // so does ")"
        {L"at C:/", L"at C:/."},                               // "/" sorts right after "."
        {L"which?", L"which?."},
        {L"caf\u00e9", L"caf\u00e9."},
    };
    for (const Case& c : cases) {
        shown.clear();
        app.ShowException(c.message);
        ASSERT_EQ(shown.size(), 1u) << "one message box for " << fw::Utf8(c.message);
        EXPECT_EQ(shown[0].text, c.shownText);
        EXPECT_EQ(shown[0].caption, L"Snapvane 1.1");
        EXPECT_EQ(shown[0].flags & MB_ICONMASK, UINT(MB_ICONERROR));
        EXPECT_EQ(shown[0].flags & MB_TYPEMASK, UINT(MB_OK));
    }

    // An error raised in a handler reaches the same display through the barrier.
    shown.clear();
    app.HandleException(std::make_exception_ptr(fw::FileError(L"Stream write error")));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"Stream write error.");
    EXPECT_EQ(shown[0].caption, L"Snapvane 1.1");
}
