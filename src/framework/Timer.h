#pragma once
// An interval timer of a form: WM_TIMER on a hidden window of its own, periodic (a tick every
// Interval from when it was enabled, without drift), the tick handler run behind the barrier.
#include <functional>

#include "framework/Window.h"

namespace fw {

class Timer : public Window {
public:
    Timer() = default;
    ~Timer() override;

    bool Enabled() const { return enabled_; }
    // Enabling (re)starts the period; raises "Not enough timers available" when the system
    // has no timer left, and the timer stays off.
    void SetEnabled(bool e);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    std::function<void()> onTimer;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Update();
    bool enabled_ = false;
    unsigned interval_ = 1000;
};

}  // namespace fw
