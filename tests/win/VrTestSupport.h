#pragma once
// What the component tests share: message pumping with a time limit, a plain borderless form
// on screen, and painting a windowless control into a DC.
#include <windows.h>

#include <functional>
#include <vector>

#include "framework/Application.h"
#include "framework/Control.h"
#include "framework/Form.h"
#include "DibCanvas.h"

// Handles messages (and so timer ticks and hand-overs) until done() holds or the time is up.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        while (fw::Application::Instance().HandleMessage()) {
            if (done()) return true;
        }
        if (done()) return true;
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

inline void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

// A borderless form whose client area is its whole window, at (40, 40) on the screen. It
// records the system commands it receives instead of carrying them out.
class VrTestForm : public fw::Form {
public:
    VrTestForm(int width, int height, fw::Color color = fw::kWhite) : fw::Form(L"VrTestForm") {
        borderNone_ = true;
        SetBounds(40, 40, width, height);
        SetColor(color);
    }
    // Builds the window and shows it, painted.
    void Open() {
        CreateForm();
        ShowForm();
        ::UpdateWindow(Handle());
    }
    // What the window shows now, read back from its DC.
    void Grab(DibCanvas& into) {
        fw::WindowDc dc(Handle());
        into.CopyFrom(dc.Get());
    }

    std::vector<WPARAM> sysCommands;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_SYSCOMMAND) {
            sysCommands.push_back(wp);
            return 0;
        }
        return fw::Form::OnMessage(msg, wp, lp);
    }
};

// Paints a windowless control into a DC as its parent would, with the control's top-left at
// (x, y).
inline void PaintControl(fw::GraphicControl& control, HDC dc, int x = 0, int y = 0) {
    fw::SavedDc saved(dc);
    ::SetViewportOrgEx(dc, x, y, nullptr);
    ::IntersectClipRect(dc, 0, 0, control.Width(), control.Height());
    control.Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}
