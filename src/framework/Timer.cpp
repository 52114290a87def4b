#include "framework/Timer.h"

#include "framework/Error.h"

namespace fw {

namespace {
constexpr UINT_PTR kTimerId = 1;
}

Timer::~Timer() {
    if (hwnd_) ::KillTimer(hwnd_, kTimerId);
}

void Timer::SetEnabled(bool e) {
    if (e == enabled_) return;
    enabled_ = e;
    Update();
}

void Timer::SetInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Update();
}

void Timer::Update() {
    if (!hwnd_) {
        WindowParams p;
        p.className = L"FwTimerWindow";
        p.style = 0;
        p.x = p.y = p.width = p.height = 0;
        p.parent = HWND_MESSAGE;
        CreateHandle(p);
    }
    ::KillTimer(hwnd_, kTimerId);
    if (enabled_ && interval_ && onTimer) {
        if (!::SetTimer(hwnd_, kTimerId, interval_, nullptr)) {
            enabled_ = false;
            throw OutOfResources(L"Not enough timers available");
        }
    }
}

LRESULT Timer::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kTimerId) {
        if (enabled_ && onTimer) onTimer();
        return 0;
    }
    return Default(msg, wp, lp);
}

}  // namespace fw
