#include "framework/Hints.h"

#include "base/Text.h"
#include "framework/Control.h"
#include "framework/HintWindow.h"
#include "framework/PointerTracking.h"

namespace fw {

namespace {
constexpr unsigned kShowPause = 500, kHidePause = 2500;
}  // namespace

Hints& Hints::Instance() {
    static Hints* hints = new Hints();  // lives as long as the process
    return *hints;
}

void Hints::MouseMove(Control* control) {
    if (control == control_) return;
    Cancel();
    control_ = control;
    if (onHint) onHint(control ? std::wstring(base::LongHint(control->Hint())) : std::wstring());
    if (!control || control->Hint().empty()) return;
    if (!showTimer_) showTimer_ = std::make_unique<TimerWindow>([this] { ShowNow(); });
    showTimer_->Start(kShowPause);
}

void Hints::Cancel() {
    if (showTimer_) showTimer_->Stop();
    if (hideTimer_) hideTimer_->Stop();
    if (window_) window_->HideHint();
}

void Hints::PointerLeft() {
    Cancel();
    if (!control_) return;
    control_ = nullptr;
    if (onHint) onHint(std::wstring());
}

void Hints::Forget(Control* control) {
    if (control_ != control) return;
    Cancel();
    control_ = nullptr;
}

void Hints::HintChanged(Control* control) {
    if (control != control_ || !onHint) return;
    onHint(std::wstring(base::LongHint(control->Hint())));
}

void Hints::ShowNow() {
    showTimer_->Stop();
    if (!control_ || control_->Hint().empty() || !control_->Showing()) return;
    POINT pt;
    ::GetCursorPos(&pt);
    // A pointer that went where no mouse message of Windows' tells (under Wine, onto a window
    // of another X program) gets no tip there.
    if (!PointerOverThisProgram(pt)) {
        PointerLeft();
        return;
    }
    if (!window_) window_ = new HintWindow();  // lives as long as the program
    window_->ShowAt(POINT{pt.x, pt.y + 20}, std::wstring(base::ShortHint(control_->Hint())));
    if (!hideTimer_)
        hideTimer_ = std::make_unique<TimerWindow>([this] {
            hideTimer_->Stop();
            if (window_) window_->HideHint();
        });
    hideTimer_->Start(kHidePause);
}

}  // namespace fw
