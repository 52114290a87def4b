#pragma once
// The hidden window a timer of the GUI thread ticks on: a message-only window whose WM_TIMER
// runs a handler. The handler may destroy the window (and what owns it): nothing of the window
// is touched after it.
#include <functional>

#include "framework/Window.h"

namespace fw {

class TimerWindow : public Window {
public:
    // The one timer of the window.
    static constexpr UINT_PTR kId = 1;

    explicit TimerWindow(std::function<void()> onTick);
    ~TimerWindow() override;

    // (Re)starts the period; false when the system has no timer left.
    bool Start(unsigned ms);
    void Stop();

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::function<void()> onTick_;
};

}  // namespace fw
