#include "framework/Button.h"

#include "framework/Container.h"

namespace fw {

Button::Button(Container* parent, std::wstring name) : WinControl(parent, std::move(name)) { tabStop_ = true; }

DWORD Button::ButtonStyle() const { return default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON; }

void Button::CreateWnd() { CreateChild(L"BUTTON", ButtonStyle()); }

LRESULT Button::Notify(UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) Click();
    return 0;
}

}  // namespace fw
