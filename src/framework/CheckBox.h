#pragma once
#include "framework/Control.h"

namespace fw {

class CheckBox : public WinControl {
public:
    CheckBox(Container* parent, std::wstring name);
    void CreateWnd() override;
    bool Checked() const;
    void SetChecked(bool c);
    LRESULT Notify(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool checked_ = false;
};

}  // namespace fw
