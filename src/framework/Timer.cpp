#include "framework/Timer.h"

#include "framework/Error.h"

namespace fw {

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
    if (!window_) window_ = std::make_unique<TimerWindow>([this] { Tick(); });
    window_->Stop();
    if (enabled_ && interval_ && onTimer && !window_->Start(interval_)) {
        enabled_ = false;
        throw OutOfResources(L"Not enough timers available");
    }
}

void Timer::Tick() {
    if (enabled_ && onTimer) onTimer();
}

}  // namespace fw
