#pragma once
// The two real forms as the program builds them: the control panel, then the capture frame,
// the application window shown and the panel shown as the message loop does on entry. Message
// boxes, the save dialog and the folder browser are answered by hooks; every test ends with
// the forms destroyed and the hooks reset, so tests that share a process do not meet.
//
// Speed: under Wine on a bare X server (no window manager) every hide or destroy of a shown
// form waits about 2 s for a window manager that never answers; in Wine's virtual desktop, as
// the test environment runs them, it does not.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/CopyFormU.h"
#include "forms/CopyMaU.h"
#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/PageControl.h"
#include "framework/SavePictureDialog.h"
#include "support/Files.h"
#include "support/Pixels.h"
#include "support/Pump.h"
#include "support/ScreenStandIns.h"
#include "framework/FolderBrowser.h"

namespace forms_test {

inline RECT ScreenRect(HWND wnd) {
    RECT r{};
    ::GetWindowRect(wnd, &r);
    return r;
}

inline bool Topmost(HWND wnd) { return (::GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Visible and not minimized: on the screen for the user.
inline bool Showing(HWND wnd) { return ::IsWindowVisible(wnd) && !::IsIconic(wnd); }

// True when `upper` lies above `lower` in the window order.
bool Above(HWND upper, HWND lower);

using capture_test::PatternWindow;
using capture_test::PixelDifferences;
using capture_test::ScreenPixels;

// What the application's message box was asked to show.
struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    UINT flags;
};

class FormsTest : public ::testing::Test {
protected:
    // The capture rectangle of the frame at its first place, 704, 100, 336 x 192.
    static constexpr int kCaptureLeft = 710, kCaptureTop = 106, kCaptureWidth = 324, kCaptureHeight = 180;

    FormsTest();
    ~FormsTest() override;

    // A fresh pair in place of the one there is, built and shown as at the start of a test;
    // the messages shown so far are forgotten.
    void NewPair();

    // Opens the page and sub-page that hold a control, as the user clicks their tabs: a page
    // makes its windows when it is first shown.
    void OpenPageOf(fw::Control& control);

    // Places a pattern window exactly under the frame's capture rectangle, puts the frame
    // above it and waits until the screen shows the pattern through the frame's inside.
    std::unique_ptr<PatternWindow> PatternUnderFrame();

    std::unique_ptr<TCopyForm> panel;
    std::unique_ptr<TMainForm> frame;
    std::vector<ShownMessage> shown;

private:
    void BuildPair();
    void DestroyPair();
};

inline constexpr const wchar_t* kHiddenFrameError = L"Cannot focus a disabled or invisible window";

}  // namespace forms_test
