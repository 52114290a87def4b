#pragma once
// The hints of the program's controls ("short|long"): the control under the pointer is told
// on every move; its long part goes at once to onHint (the status bar's), its short part shows
// in a tooltip once the pointer has rested there for half a second, for 2.5 s. Moving to
// another control, a message box, a click that acts, or the pointer leaving the program ends
// the tooltip. GUI thread only.
#include <functional>
#include <memory>
#include <string>

#include "framework/TimerWindow.h"

namespace fw {

class Control;
class HintWindow;

class Hints {
public:
    static Hints& Instance();

    // The pointer is over `control` (nullptr: over none of the program's).
    void MouseMove(Control* control);
    // The tooltip goes (or does not come); the control stays the one under the pointer.
    void Cancel();
    // The pointer has left the program: the tooltip goes and onHint gets "".
    void PointerLeft();
    // A control that goes away stops being the one under the pointer.
    void Forget(Control* control);
    // The hint of `control` has changed: onHint gets its new long part if it is the one under
    // the pointer (a click on it that changes its hint shows at once where the pointer rests).
    void HintChanged(Control* control);
    Control* HintControl() const { return control_; }

    // The long part of the hint of the control under the pointer ("" when none).
    std::function<void(const std::wstring&)> onHint;

private:
    Hints() = default;
    void ShowNow();

    Control* control_ = nullptr;
    HintWindow* window_ = nullptr;            // made at the first tooltip, kept for the program's life
    std::unique_ptr<TimerWindow> showTimer_;  // the pointer rested long enough: show it
    std::unique_ptr<TimerWindow> hideTimer_;  // it has been shown long enough
};

}  // namespace fw
