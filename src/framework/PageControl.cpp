#include "framework/PageControl.h"

#include <oleacc.h>

#include "framework/Error.h"

namespace fw {

TabSheet::TabSheet(PageControl* owner, std::wstring name, std::wstring caption, int imageIndex)
    : Container(owner, std::move(name)),
      owner_(owner),
      imageIndex_(imageIndex) {
    text_ = std::move(caption);
    visible_ = false;
    accessibleRole_ = ROLE_SYSTEM_PROPERTYPAGE;
    if (owner) {
        color_ = owner->GetColor();
        owner->AddPage(this);
    }
}

void TabSheet::VisibleChanged() {
    if (visible_ && hwnd_) CreateChildWindows();  // before showing: the page appears whole
    Container::VisibleChanged();
}

PageControl::PageControl(Container* parent, std::wstring name) : Container(parent, std::move(name)) {
    if (parent) color_ = parent->GetColor();
    accessibleRole_ = ROLE_SYSTEM_PAGETABLIST;
}

void PageControl::SetImages(HIMAGELIST images) {
    images_ = images;
    if (!hwnd_) return;
    TabCtrl_SetImageList(hwnd_, images_);
    PlaceSheets();
}

void PageControl::CreateWnd() {
    if (hwnd_ || !parent_ || !parent_->Handle()) return;
    // The tab control itself is the window; the sheets are its children.
    // Tabs as flat buttons.
    DWORD style = WS_CLIPCHILDREN | WS_TABSTOP | TCS_FOCUSNEVER | TCS_BUTTONS | TCS_FLATBUTTONS;
    if (multiLine_) style |= TCS_MULTILINE;
    CreateChild(WC_TABCONTROLW, style, WS_EX_CONTROLPARENT);
    AnswerAccessibility();  // the tab control's window is the system's
    if (images_) TabCtrl_SetImageList(hwnd_, images_);
    for (size_t i = 0; i < pages_.size(); ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<wchar_t*>(pages_[i]->Text().c_str());
        item.iImage = pages_[i]->ImageIndex();
        TabCtrl_InsertItem(hwnd_, int(i), &item);
    }
    PlaceSheets();
    for (TabSheet* p : pages_) p->CreateWnd();
    SetActivePage(active_ ? active_ : (pages_.empty() ? nullptr : pages_.front()));
}

RECT PageControl::DisplayRect() const {
    RECT r{0, 0, Width(), Height()};
    if (hwnd_) {
        ::GetClientRect(hwnd_, &r);
        TabCtrl_AdjustRect(hwnd_, FALSE, &r);
    }
    return r;
}

void PageControl::PlaceSheets() {
    RECT r = DisplayRect();
    for (TabSheet* p : pages_) p->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void PageControl::BoundsChanged() {
    WinControl::BoundsChanged();
    PlaceSheets();
}

void PageControl::ScaleForDpi(int fromDpi, int toDpi) {
    Container::ScaleForDpi(fromDpi, toDpi);
    PlaceSheets();  // the tab row's height follows the new font
}

void PageControl::SetActivePage(TabSheet* page) {
    active_ = page;
    if (!hwnd_) return;
    for (size_t i = 0; i < pages_.size(); ++i) {
        bool on = pages_[i] == page;
        if (on) TabCtrl_SetCurSel(hwnd_, int(i));
        pages_[i]->SetVisible(on);
    }
}

AccessibleItem PageControl::DescribeAccessibleItem(long index) const {
    AccessibleItem item;
    if (index < 0 || size_t(index) >= pages_.size()) return item;
    const TabSheet* page = pages_[size_t(index)];
    item.name = page->AccessibleName();
    item.role = ROLE_SYSTEM_PAGETAB;
    item.state = STATE_SYSTEM_SELECTABLE | (page == active_ ? STATE_SYSTEM_SELECTED : 0) |
                 (Enabled() ? 0 : STATE_SYSTEM_UNAVAILABLE) | (Showing() ? 0 : STATE_SYSTEM_INVISIBLE);
    item.action = L"Switch";
    RECT tab{};
    if (hwnd_ && TabCtrl_GetItemRect(hwnd_, int(index), &tab)) item.screen = ScreenRectOf(tab);
    return item;
}

void PageControl::DoAccessibleItemAction(long index) {
    if (index >= 0 && size_t(index) < pages_.size()) SetActivePage(pages_[size_t(index)]);
}

LRESULT PageControl::Notify(UINT msg, WPARAM, LPARAM lp) {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == TCN_SELCHANGE) {
        int sel = TabCtrl_GetCurSel(hwnd_);
        if (sel >= 0 && size_t(sel) < pages_.size()) SetActivePage(pages_[size_t(sel)]);
    }
    return 0;
}

}  // namespace fw
