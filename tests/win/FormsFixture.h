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
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CaptureTestSupport.h"
#include "forms/CopyFormU.h"
#include "forms/CopyMaU.h"
#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/PageControl.h"
#include "framework/SavePictureDialog.h"
#include "timed/FolderBrowser.h"

namespace forms_test {

// Runs waiting messages until `done` holds or `timeoutMs` has passed; the last answer of `done`.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    auto& app = fw::Application::Instance();
    const DWORD start = ::GetTickCount();
    for (;;) {
        while (app.HandleMessage())
            if (done()) return true;
        if (done()) return true;
        if (int(::GetTickCount() - start) >= timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Runs messages for `ms` milliseconds (timer ticks included).
inline void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

inline RECT ScreenRect(HWND wnd) {
    RECT r{};
    ::GetWindowRect(wnd, &r);
    return r;
}

inline bool Topmost(HWND wnd) { return (::GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// True when `upper` lies above `lower` in the window order.
inline bool Above(HWND upper, HWND lower) {
    for (HWND w = ::GetWindow(upper, GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT))
        if (w == lower) return true;
    return false;
}

// The screen's pixels of a rectangle, 0x00RRGGBB, rows top first.
inline std::vector<uint32_t> ScreenPixels(int left, int top, int width, int height) {
    fw::Bitmap copy;
    copy.SetSize(width, height);
    fw::WindowDc screen(::GetDesktopWindow());
    ::BitBlt(copy.Dc(), 0, 0, width, height, screen.Get(), left, top, SRCCOPY);
    return capture_test::PixelsOf(copy);
}

// "" when two pictures of the given width are equal; otherwise how many pixels differ and
// where, for a failure message that says more than two long lists.
inline std::string PixelDifferences(const std::vector<uint32_t>& got, const std::vector<uint32_t>& expected,
                                    int width) {
    if (got == expected) return "";
    if (got.size() != expected.size() || width <= 0)
        return "sizes differ: " + std::to_string(got.size()) + " and " + std::to_string(expected.size()) + " pixels";
    int count = 0, left = width, top = 1 << 30, right = -1, bottom = -1;
    for (size_t i = 0; i < got.size(); ++i) {
        if (got[i] == expected[i]) continue;
        const int x = int(i % size_t(width)), y = int(i / size_t(width));
        ++count;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    return std::to_string(count) + " pixels differ, within " + std::to_string(left) + "," + std::to_string(top) +
           " to " + std::to_string(right) + "," + std::to_string(bottom);
}

using capture_test::PatternWindow;

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

    FormsTest() {
        auto& app = fw::Application::Instance();
        app.SetHintColor(fw::kInfoBk);  // as before any form set it
        app.messageBoxHook = [this](const std::wstring& text, const std::wstring& caption, UINT flags) {
            shown.push_back(ShownMessage{text, caption, flags});
            return IDOK;
        };
        // The entry point builds the panel and then the frame; the loop shows the application
        // window and then the main form, whose show handler places and shows the frame.
        panel = std::make_unique<TCopyForm>();
        frame = std::make_unique<TMainForm>();
        app.ShowMainWindows();
        PumpFor(50);
    }

    ~FormsTest() override {
        auto& app = fw::Application::Instance();
        panel->Timer.SetEnabled(false);
        panel->CountTimer.SetEnabled(false);
        if (app.Minimized()) app.Restore();
        app.HintMouseMove(nullptr);  // no hint left pointing at a control about to go
        frame.reset();
        panel.reset();
        app.messageBoxHook = nullptr;
        fw::SavePictureDialog::modalHook = nullptr;
        timed::folderBrowserHook = nullptr;
        app.SetScreenCursor(nullptr);
        PumpFor(20);
        MSG quit;
        while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    }

    // Opens the page and sub-page that hold a control, as the user clicks their tabs: a page
    // makes its windows when it is first shown.
    void OpenPageOf(fw::Control& control) {
        std::vector<fw::TabSheet*> sheets;
        for (fw::Control* c = control.Parent(); c; c = c->Parent())
            if (auto* sheet = dynamic_cast<fw::TabSheet*>(c)) sheets.push_back(sheet);
        for (auto it = sheets.rbegin(); it != sheets.rend(); ++it) (*it)->Owner()->SetActivePage(*it);
        PumpFor(10);
    }

    // Places a pattern window exactly under the frame's capture rectangle, puts the frame
    // above it and waits until the screen shows the pattern through the frame's inside.
    std::unique_ptr<PatternWindow> PatternUnderFrame() {
        auto window = std::make_unique<PatternWindow>(frame->Left() + 6, frame->Top() + 6, frame->Width() - 12,
                                                      frame->Height() - 12);
        ::SetWindowPos(frame->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        const auto expected = capture_test::PatternArea(0, 0, frame->Width() - 12, frame->Height() - 12);
        const bool seen = PumpUntil(
            [&] {
                return ScreenPixels(frame->Left() + 6, frame->Top() + 6, frame->Width() - 12, frame->Height() - 12) ==
                       expected;
            },
            3000);
        EXPECT_TRUE(seen) << "the pattern never showed through the frame's inside";
        return window;
    }

    std::unique_ptr<TCopyForm> panel;
    std::unique_ptr<TMainForm> frame;
    std::vector<ShownMessage> shown;
};

inline constexpr const wchar_t* kHiddenFrameError = L"Cannot focus a disabled or invisible window";

}  // namespace forms_test
