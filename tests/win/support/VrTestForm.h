#pragma once
// What the component and framework tests share: a plain borderless form on screen, and
// painting a windowless control into a DC.
#include <windows.h>

#include <vector>

#include "framework/Control.h"
#include "framework/Form.h"
#include "support/DibCanvas.h"

// A borderless form whose client area is its whole window, at (40, 40) on the screen. It
// records the system commands it receives instead of carrying them out.
class VrTestForm : public fw::Form {
public:
    VrTestForm(int width, int height, fw::Color color = fw::kWhite);
    // Builds the window and shows it, painted.
    void Open();
    // What the window shows now, read back from its DC.
    void Grab(DibCanvas& into);

    std::vector<WPARAM> sysCommands;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

// Paints a windowless control into a DC as its parent would, with the control's top-left at
// (x, y).
void PaintControl(fw::GraphicControl& control, HDC dc, int x = 0, int y = 0);
