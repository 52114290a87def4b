#include "framework/Hints.h"
#include "support/FormsFixture.h"

namespace forms_test {

bool Above(HWND upper, HWND lower) {
    for (HWND w = ::GetWindow(upper, GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT))
        if (w == lower) return true;
    return false;
}

FormsTest::FormsTest() {
    auto& app = fw::Application::Instance();
    app.SetHintColor(fw::kInfoBk);  // as before any form set it
    app.messageBoxHook = [this](const std::wstring& text, const std::wstring& caption, UINT flags) {
        shown.push_back(ShownMessage{text, caption, flags});
        return IDOK;
    };
    BuildPair();
}

FormsTest::~FormsTest() {
    auto& app = fw::Application::Instance();
    DestroyPair();
    app.messageBoxHook = nullptr;
    fw::SavePictureDialog::modalHook = nullptr;
    fw::folderBrowserHook = nullptr;
    app.SetScreenCursor(nullptr);
    PumpFor(20);
    MSG quit;
    while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
}

void FormsTest::NewPair() {
    DestroyPair();
    shown.clear();
    BuildPair();
}

void FormsTest::BuildPair() {
    // The entry point builds the panel and then the frame; the loop shows the application
    // window and then the main form, whose show handler places and shows the frame.
    panel = std::make_unique<TCopyForm>();
    frame = std::make_unique<TMainForm>();
    fw::Application::Instance().ShowMainWindows();
    PumpFor(50);
}

void FormsTest::DestroyPair() {
    auto& app = fw::Application::Instance();
    panel->Timer.SetEnabled(false);
    panel->CountTimer.SetEnabled(false);
    if (app.Minimized()) app.Restore();
    fw::Hints::Instance().MouseMove(nullptr);  // no hint left pointing at a control about to go
    frame.reset();
    panel.reset();
}

void FormsTest::OpenPageOf(fw::Control& control) {
    std::vector<fw::TabSheet*> sheets;
    for (fw::Control* c = control.Parent(); c; c = c->Parent())
        if (auto* sheet = dynamic_cast<fw::TabSheet*>(c)) sheets.push_back(sheet);
    for (auto it = sheets.rbegin(); it != sheets.rend(); ++it) (*it)->Owner()->SetActivePage(*it);
    PumpFor(10);
}

std::unique_ptr<PatternWindow> FormsTest::PatternUnderFrame() {
    const int left = frame->Left() + 6, top = frame->Top() + 6, width = frame->Width() - 12,
              height = frame->Height() - 12;
    auto window = std::make_unique<PatternWindow>(left, top, width, height);
    ::SetWindowPos(frame->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const auto expected = capture_test::PatternArea(0, 0, width, height);
    const bool seen = PumpUntil([&] { return ScreenPixels(left, top, width, height) == expected; }, 3000);
    EXPECT_TRUE(seen) << "the pattern never showed through the frame's inside";
    return window;
}

}  // namespace forms_test
