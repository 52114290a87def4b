#include "framework/MessageLoop.h"

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Hints.h"
#include "framework/PointerTracking.h"

namespace fw {

bool MessageLoop::HandleMessage() {
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        Application::Instance().Terminate();  // posts it again for the outer loop
        return false;
    }
    Dispatch(msg);
    return true;
}

void MessageLoop::ProcessMessages() {
    while (HandleMessage()) {}
}

bool MessageLoop::RunUntil(const std::function<bool()>& done) {
    while (!done()) {
        MSG msg;
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) Application::Instance().Terminate();
            return false;
        }
        Dispatch(msg);
    }
    return true;
}

void MessageLoop::Dispatch(MSG& msg) {
    if (PreTranslate(msg)) return;
    PointerTracking::Instance().Deliver(msg, [&] {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    });
}

bool MessageLoop::PreTranslate(MSG& msg) {
    try {
        if (msg.message == WM_MOUSEMOVE) {
            // Windowed controls of the common-control classes report here; our containers
            // work out the windowless control under the pointer themselves.
            WinControl* c = WinControl::FromHandle(msg.hwnd);
            if (c && !dynamic_cast<Container*>(c)) Hints::Instance().MouseMove(c);
        }
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
            HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
            Form* form = Form::FromHandle(root);
            if (form) {
                if (form->KeyPreview() && (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP ||
                                           msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP)) {
                    if (form->PreviewKey(msg)) return true;  // the handler kept the key
                }
                // Tab, arrows, ENTER for the default button and access keys, as in a dialog;
                // the key still reaches the control with the focus.
                if (form->Handle() && ::IsWindow(form->Handle()) && !form->Controls().empty() &&
                    ::IsDialogMessageW(form->Handle(), &msg))
                    return true;
            }
        }
    } catch (...) {
        Application::Instance().HandleException(std::current_exception());
    }
    return false;
}

}  // namespace fw
