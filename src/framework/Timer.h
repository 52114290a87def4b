#pragma once
// An interval timer of a form: WM_TIMER on a hidden window of its own, periodic (a tick every
// Interval from when it was enabled, without drift), the tick handler run behind the barrier.
#include <functional>
#include <memory>

#include "framework/TimerWindow.h"

namespace fw {

class Timer {
public:
    Timer() = default;
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const { return enabled_; }
    // Enabling (re)starts the period; raises "Not enough timers available" when the system
    // has no timer left, and the timer stays off.
    void SetEnabled(bool e);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    std::function<void()> onTimer;

private:
    void Update();
    void Tick();
    std::unique_ptr<TimerWindow> window_;  // made on first use
    bool enabled_ = false;
    unsigned interval_ = 1000;
};

}  // namespace fw
