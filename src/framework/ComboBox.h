#pragma once
// A drop-down list (no typing): the chosen item is the text.
#include <vector>

#include "framework/Control.h"

namespace fw {

class ComboBox : public WinControl {
public:
    ComboBox(Container* parent, std::wstring name);
    void CreateWnd() override;
    void SetItems(std::vector<std::wstring> items);
    int ItemIndex() const;
    void SetItemIndex(int i);
    // The chosen item's text ("" when none).
    std::wstring SelectedText() const;
    LRESULT Notify(UINT msg, WPARAM wp, LPARAM lp) override;
    std::function<void()> onChange;

private:
    std::vector<std::wstring> items_;
    int index_ = -1;
};

}  // namespace fw
