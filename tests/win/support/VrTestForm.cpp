#include "support/VrTestForm.h"

VrTestForm::VrTestForm(int width, int height, fw::Color color) : fw::Form(L"VrTestForm") {
    borderNone_ = true;
    SetBounds(40, 40, width, height);
    SetColor(color);
}

void VrTestForm::Open() {
    CreateForm();
    ShowForm();
    ::UpdateWindow(Handle());
}

void VrTestForm::Grab(DibCanvas& into) {
    fw::WindowDc dc(Handle());
    into.CopyFrom(dc.Get());
}

LRESULT VrTestForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SYSCOMMAND) {
        sysCommands.push_back(wp);
        return 0;
    }
    return fw::Form::OnMessage(msg, wp, lp);
}

void PaintControl(fw::GraphicControl& control, HDC dc, int x, int y) {
    fw::SavedDc saved(dc);
    ::SetViewportOrgEx(dc, x, y, nullptr);
    ::IntersectClipRect(dc, 0, 0, control.Width(), control.Height());
    control.Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}
