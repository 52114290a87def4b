#pragma once
// The status bar: panels of fixed widths, the last one reaching to the right end.
#include <vector>

#include "framework/Control.h"

namespace fw {

class StatusBar : public WinControl {
public:
    StatusBar(Container* parent, std::wstring name);
    void CreateWnd() override;
    void SetPanelWidths(std::vector<int> widths);
    void SetPanelText(int index, const std::wstring& text);
    std::wstring PanelText(int index) const;
    // The panels, for assistive technology: static texts that say what they show.
    long AccessibleItemCount() const override { return long(widths_.size()); }
    AccessibleItem DescribeAccessibleItem(long index) const override;

protected:
    void ScaleForDpi(int fromDpi, int toDpi) override;

private:
    void ApplyParts();
    std::vector<int> widths_;
    std::vector<std::wstring> texts_;
};

}  // namespace fw
