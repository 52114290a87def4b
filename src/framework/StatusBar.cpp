#include "framework/StatusBar.h"

#include <commctrl.h>
#include <oleacc.h>

namespace fw {

StatusBar::StatusBar(Container* parent, std::wstring name) : WinControl(parent, std::move(name)) {
    accessibleRole_ = ROLE_SYSTEM_STATUSBAR;
}

void StatusBar::CreateWnd() {
    // No size grip; CCS_NOPARENTALIGN and CCS_NORESIZE: the layout places it.
    CreateChild(STATUSCLASSNAMEW, CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER);
    AnswerAccessibility();
    ApplyParts();
}

AccessibleItem StatusBar::DescribeAccessibleItem(long index) const {
    AccessibleItem item;
    item.name = PanelText(int(index));
    item.role = ROLE_SYSTEM_STATICTEXT;
    item.state = Showing() ? 0 : STATE_SYSTEM_INVISIBLE;
    RECT panel{};
    if (hwnd_ && ::SendMessageW(hwnd_, SB_GETRECT, WPARAM(index), reinterpret_cast<LPARAM>(&panel)))
        item.screen = ScreenRectOf(panel);
    return item;
}

void StatusBar::SetPanelWidths(std::vector<int> widths) {
    widths_ = std::move(widths);
    texts_.resize(widths_.size());
    ApplyParts();
}

void StatusBar::ApplyParts() {
    if (!hwnd_ || widths_.empty()) return;
    std::vector<int> edges;
    int x = 0;
    for (size_t i = 0; i < widths_.size(); ++i) {
        x += widths_[i];
        edges.push_back(i + 1 == widths_.size() ? -1 : x);
    }
    ::SendMessageW(hwnd_, SB_SETPARTS, WPARAM(edges.size()), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < texts_.size(); ++i)
        ::SendMessageW(hwnd_, SB_SETTEXTW, WPARAM(i), reinterpret_cast<LPARAM>(texts_[i].c_str()));
}

void StatusBar::SetPanelText(int index, const std::wstring& text) {
    if (index < 0) return;
    if (size_t(index) >= texts_.size()) texts_.resize(size_t(index) + 1);
    if (texts_[size_t(index)] == text) return;
    texts_[size_t(index)] = text;
    if (hwnd_) ::SendMessageW(hwnd_, SB_SETTEXTW, WPARAM(index), reinterpret_cast<LPARAM>(text.c_str()));
    TellAccessibilityOfItem(index, EVENT_OBJECT_NAMECHANGE);
}

std::wstring StatusBar::PanelText(int index) const {
    return index >= 0 && size_t(index) < texts_.size() ? texts_[size_t(index)] : std::wstring();
}

void StatusBar::ScaleForDpi(int fromDpi, int toDpi) {
    WinControl::ScaleForDpi(fromDpi, toDpi);
    for (int& w : widths_) w = ::MulDiv(w, toDpi, fromDpi);
    ApplyParts();
}

}  // namespace fw
