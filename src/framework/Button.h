#pragma once
// A push button (BUTTON class). Its click handler runs on BN_CLICKED, from the mouse, the
// space bar on the focused button, ENTER for the default button or its access key.
#include "framework/Control.h"

namespace fw {

class Button : public WinControl {
public:
    Button(Container* parent, std::wstring name);
    void CreateWnd() override;
    LRESULT Notify(UINT msg, WPARAM wp, LPARAM lp) override;
    void SetDefault(bool d) { default_ = d; }

protected:
    virtual DWORD ButtonStyle() const;
    bool default_ = false;
};

}  // namespace fw
