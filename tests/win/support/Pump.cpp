#include "support/Pump.h"

#include "framework/Application.h"

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    auto& app = fw::Application::Instance();
    const DWORD start = ::GetTickCount();
    for (;;) {
        while (app.HandleMessage())
            if (done()) return true;
        if (done()) return true;
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}
