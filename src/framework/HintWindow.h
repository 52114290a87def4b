#pragma once
// The tooltip of the program: a small pop-up showing the short part of a control's hint on
// the application's hint colour, wrapped into lines where it is wider than the monitor.
#include <string>

#include "framework/Window.h"

namespace fw {

class HintWindow : public Window {
public:
    void ShowAt(POINT screen, const std::wstring& text);
    void HideHint();
    bool Showing() const { return hwnd_ && ::IsWindowVisible(hwnd_); }
    const std::wstring& Text() const { return text_; }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::wstring text_;
    std::wstring shown_;  // text_ in the lines it is drawn in
};

}  // namespace fw
