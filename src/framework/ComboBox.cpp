#include "framework/ComboBox.h"

#include "framework/Container.h"

namespace fw {

ComboBox::ComboBox(Container* parent, std::wstring name) : WinControl(parent, std::move(name)) {
    tabStop_ = true;
    color_ = kWindow;
}

void ComboBox::CreateWnd() {
    if (hwnd_ || !parent_ || !parent_->Handle()) return;
    // The window's height includes the dropped-down list.
    int h = Height();
    bounds_.bottom = bounds_.top + 200;
    CreateChild(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL);
    bounds_.bottom = bounds_.top + h;
    for (const auto& item : items_) ::SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    ::SendMessageW(hwnd_, CB_SETCURSEL, WPARAM(index_), 0);
}

void ComboBox::SetItems(std::vector<std::wstring> items) {
    items_ = std::move(items);
    if (!hwnd_) return;
    ::SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
    for (const auto& item : items_) ::SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int ComboBox::ItemIndex() const { return hwnd_ ? int(::SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)) : index_; }

void ComboBox::SetItemIndex(int i) {
    index_ = i;
    if (hwnd_) ::SendMessageW(hwnd_, CB_SETCURSEL, WPARAM(i), 0);
}

std::wstring ComboBox::SelectedText() const {
    int i = ItemIndex();
    return i >= 0 && size_t(i) < items_.size() ? items_[size_t(i)] : std::wstring();
}

LRESULT ComboBox::Notify(UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND && HIWORD(wp) == CBN_SELCHANGE) {
        index_ = ItemIndex();
        if (onChange) onChange();
    }
    return 0;
}

}  // namespace fw
