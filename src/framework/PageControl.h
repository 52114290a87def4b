#pragma once
// Pages with tabs: a tab control (flat buttons here) whose display area shows one sheet.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "framework/Container.h"

namespace fw {

class PageControl;

class TabSheet : public Container {
public:
    TabSheet(PageControl* owner, std::wstring name, std::wstring caption, int imageIndex);
    int ImageIndex() const { return imageIndex_; }
    PageControl* Owner() const { return owner_; }

protected:
    // A sheet makes its children's windows when it is first shown: the pages nobody opens
    // cost nothing at start.
    bool MakesChildWindowsNow() const override { return visible_; }
    void VisibleChanged() override;

private:
    PageControl* owner_;
    int imageIndex_;
};

class PageControl : public Container {
public:
    PageControl(Container* parent, std::wstring name);
    void CreateWnd() override;
    // The tabs' icons; given again after the list's images changed size, the tab row follows.
    void SetImages(HIMAGELIST images);
    void SetMultiLine(bool m) { multiLine_ = m; }

    const std::vector<TabSheet*>& Pages() const { return pages_; }
    TabSheet* ActivePage() const { return active_; }
    void SetActivePage(TabSheet* page);
    LRESULT Notify(UINT msg, WPARAM wp, LPARAM lp) override;

    void AddPage(TabSheet* page) { pages_.push_back(page); }
    // The rectangle the sheets fill, in this control's client coordinates.
    RECT DisplayRect() const;

    // The tabs, for assistive technology: one a page, "Switch" shows it as a click on it does.
    long AccessibleItemCount() const override { return long(pages_.size()); }
    AccessibleItem DescribeAccessibleItem(long index) const override;
    void DoAccessibleItemAction(long index) override;

protected:
    void BoundsChanged() override;
    void ScaleForDpi(int fromDpi, int toDpi) override;

private:
    void PlaceSheets();
    std::vector<TabSheet*> pages_;
    TabSheet* active_ = nullptr;
    HIMAGELIST images_ = nullptr;
    bool multiLine_ = false;
};

}  // namespace fw
