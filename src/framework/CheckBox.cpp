#include "framework/CheckBox.h"

namespace fw {

CheckBox::CheckBox(Container* parent, std::wstring name) : WinControl(parent, std::move(name)) { tabStop_ = true; }

void CheckBox::CreateWnd() {
    CreateChild(L"BUTTON", BS_AUTOCHECKBOX);
    if (hwnd_) ::SendMessageW(hwnd_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::Checked() const { return hwnd_ ? ::SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED : checked_; }

void CheckBox::SetChecked(bool c) {
    checked_ = c;
    if (hwnd_) ::SendMessageW(hwnd_, BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED, 0);
}

LRESULT CheckBox::Notify(UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        checked_ = Checked();
        Click();
    }
    return 0;
}

}  // namespace fw
