#include "framework/TimerWindow.h"

#include <utility>

namespace fw {

TimerWindow::TimerWindow(std::function<void()> onTick) : onTick_(std::move(onTick)) {
    WindowParams p;
    p.className = L"FwTimerWindow";
    p.style = 0;
    p.x = p.y = p.width = p.height = 0;
    p.parent = HWND_MESSAGE;
    CreateHandle(p);
}

TimerWindow::~TimerWindow() { Stop(); }

bool TimerWindow::Start(unsigned ms) {
    Stop();
    return hwnd_ && ::SetTimer(hwnd_, kId, ms, nullptr) != 0;
}

void TimerWindow::Stop() {
    if (hwnd_) ::KillTimer(hwnd_, kId);
}

LRESULT TimerWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kId) {
        // A copy: the tick may free this window, its handler with it.
        const std::function<void()> tick = onTick_;
        if (tick) tick();
        return 0;
    }
    return Default(msg, wp, lp);
}

}  // namespace fw
