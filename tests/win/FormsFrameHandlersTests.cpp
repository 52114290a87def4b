// The capture frame's handlers as the user meets them: the readout in the panel's status bar
// and the cursor zones kept in the program-wide cursor.
#include "support/FormsFixture.h"

using namespace forms_test;

namespace {

HCURSOR Sys(const wchar_t* id) { return ::LoadCursorW(nullptr, id); }

HCURSOR Shown() { return fw::Application::Instance().ScreenCursor(); }

std::wstring ReadoutOnScreen(TCopyForm& panel) {
    wchar_t text[128] = L"";
    ::SendMessageW(panel.StatusBar.Handle(), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    return text;
}

}  // namespace

using FormsFrameHandlers = FormsTest;

TEST_F(FormsFrameHandlers, ReadoutFollowsShowResizeAndMoveSteps) {
    EXPECT_EQ(panel->StatusBar.PanelText(1), L"x: 704, y: 100  |  width: 324, height: 180");
    EXPECT_EQ(ReadoutOnScreen(*panel), L"x: 704, y: 100  |  width: 324, height: 180");

    // A change of size, as the system's size loop makes it.
    ::SetWindowPos(frame->Handle(), nullptr, 650, 120, 400, 250, SWP_NOZORDER | SWP_NOACTIVATE);
    PumpFor(10);
    EXPECT_EQ(ReadoutOnScreen(*panel), L"x: 650, y: 120  |  width: 388, height: 238");
    EXPECT_EQ(frame->LastWidth(), 400);
    EXPECT_EQ(frame->LastHeight(), 250);

    // At the smallest size the capture rectangle is 3 x 3; a place off the screen's left
    // edge shows a minus sign.
    ::SetWindowPos(frame->Handle(), nullptr, -20, 5, 15, 15, SWP_NOZORDER | SWP_NOACTIVATE);
    PumpFor(10);
    EXPECT_EQ(ReadoutOnScreen(*panel), L"x: -20, y: 5  |  width: 3, height: 3");

    // A step of a move: the readout gives the place recorded when the step is announced, not
    // the proposed one, and the proposal goes through untouched.
    ::SetWindowPos(frame->Handle(), nullptr, 300, 200, 336, 192, SWP_NOZORDER | SWP_NOACTIVATE);
    PumpFor(10);
    RECT proposed{310, 215, 310 + 336, 215 + 192};
    const RECT sent = proposed;
    ::SendMessageW(frame->Handle(), WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ(ReadoutOnScreen(*panel), L"x: 300, y: 200  |  width: 324, height: 180");
    EXPECT_TRUE(::EqualRect(&proposed, &sent));

    // Showing the frame again writes the readout again.
    panel->StatusBar.SetPanelText(1, L"");
    frame->HideForm();
    frame->ShowForm();
    PumpFor(10);
    EXPECT_EQ(ReadoutOnScreen(*panel), L"x: 300, y: 200  |  width: 324, height: 180");
}

TEST_F(FormsFrameHandlers, MouseMoveChoosesTheZoneFromPlaceAndExactlyCtrl) {
    // The frame at its layout size, 336 x 192.
    struct Case {
        fw::ShiftState shift;
        int x, y;
        const wchar_t* cursor;  // nullptr: the default cursor
        const char* what;
    };
    const Case cases[] = {
        {0, 333, 100, IDC_SIZEWE, "right band"},
        {0, 330, 175, IDC_SIZEWE, "right band just above the corner zone"},
        {0, 329, 100, nullptr, "one pixel inside the right band"},
        {0, 100, 189, IDC_SIZENS, "bottom band"},
        {0, 319, 186, IDC_SIZENS, "bottom band just left of the corner zone"},
        {0, 100, 185, nullptr, "one pixel above the bottom band"},
        {0, 320, 176, IDC_SIZENWSE, "first pixel of the corner zone"},
        {0, 335, 191, IDC_SIZENWSE, "last pixel of the corner"},
        {0, 2, 2, nullptr, "top-left band without CTRL"},
        {0, 100, 3, nullptr, "top band without CTRL"},
        {fw::kCtrl, 2, 2, IDC_SIZEALL, "CTRL on the top-left band"},
        {fw::kCtrl, 333, 100, IDC_SIZEALL, "CTRL wins over the right edge"},
        {fw::kCtrl, 335, 191, IDC_SIZEALL, "CTRL wins over the corner"},
        {fw::kCtrl | fw::kShift, 2, 2, nullptr, "CTRL+SHIFT is not CTRL"},
        {fw::kCtrl | fw::kShift, 333, 100, IDC_SIZEWE, "CTRL+SHIFT on the right band"},
        {fw::kCtrl | fw::kAlt, 2, 2, nullptr, "CTRL+ALT is not CTRL"},
        {fw::kCtrl | fw::kLeftButton, 2, 2, nullptr, "CTRL with a button held is not CTRL"},
        {fw::kShift, 100, 189, IDC_SIZENS, "SHIFT alone changes nothing"},
    };
    for (const Case& c : cases) {
        fw::Application::Instance().SetScreenCursor(::LoadCursorW(nullptr, IDC_WAIT));  // anything else
        frame->FormMouseMove(c.shift, c.x, c.y);
        EXPECT_EQ(Shown(), c.cursor ? Sys(c.cursor) : nullptr) << c.what << " at " << c.x << "," << c.y;
    }

    // The zones follow the frame's size as it is at the move.
    frame->SetBounds(frame->Left(), frame->Top(), 500, 300);
    frame->FormMouseMove(0, 333, 100);  // the right band at the old size
    EXPECT_EQ(Shown(), nullptr);
    frame->FormMouseMove(0, 497, 40);
    EXPECT_EQ(Shown(), Sys(IDC_SIZEWE));
    frame->FormMouseMove(0, 150, 297);
    EXPECT_EQ(Shown(), Sys(IDC_SIZENS));
    frame->FormMouseMove(0, 490, 290);
    EXPECT_EQ(Shown(), Sys(IDC_SIZENWSE));
}

TEST_F(FormsFrameHandlers, KeysAndLeavingSetAndResetTheZone) {
    WORD key = VK_CONTROL;
    frame->FormKeyDown(key, fw::kCtrl);
    EXPECT_EQ(Shown(), Sys(IDC_SIZEALL)) << "CTRL pressed on the focused frame shows the move cursor at once";
    EXPECT_EQ(key, VK_CONTROL);

    key = 'A';
    frame->FormKeyUp(key, fw::kCtrl);
    EXPECT_EQ(Shown(), nullptr) << "every key released resets the zone";

    key = 'A';
    frame->FormKeyDown(key, fw::kCtrl | fw::kShift);
    EXPECT_EQ(Shown(), nullptr) << "CTRL+SHIFT is not CTRL";

    frame->FormMouseMove(0, 333, 100);
    ASSERT_EQ(Shown(), Sys(IDC_SIZEWE));
    key = VK_SHIFT;
    frame->FormKeyUp(key, 0);
    EXPECT_EQ(Shown(), nullptr);

    frame->FormMouseMove(0, 100, 189);
    ASSERT_EQ(Shown(), Sys(IDC_SIZENS));
    frame->FormMouseLeave();
    EXPECT_EQ(Shown(), nullptr);
}

TEST_F(FormsFrameHandlers, MouseAndKeyMessagesReachTheHandlers) {
    HWND h = frame->Handle();
    // A move over the right band, then one with CTRL held, as the window receives them.
    ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(333, 100));
    EXPECT_EQ(Shown(), Sys(IDC_SIZEWE));
    ::SendMessageW(h, WM_MOUSEMOVE, MK_CONTROL, MAKELPARAM(3, 3));
    EXPECT_EQ(Shown(), Sys(IDC_SIZEALL));
    ::SendMessageW(h, WM_MOUSEMOVE, MK_CONTROL | MK_SHIFT, MAKELPARAM(3, 3));
    EXPECT_EQ(Shown(), nullptr);

    // Every window of the program shows the zone's cursor while it is set.
    frame->FormMouseMove(0, 100, 189);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    ::SendMessageW(panel->Simple.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(panel->Simple.Handle()),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), Sys(IDC_SIZENS));

    // A key released on the frame goes through its key preview.
    frame->FocusForm();
    ::PostMessageW(h, WM_KEYUP, 'X', 0xC0000001);
    PumpFor(20);
    EXPECT_EQ(Shown(), nullptr);
}
