#include "framework/Edit.h"

#include "base/Text.h"
#include "framework/Container.h"

namespace fw {

Edit::Edit(Container* parent, std::wstring name) : WinControl(parent, std::move(name)) {
    tabStop_ = true;
    color_ = kWindow;
}

void Edit::CreateWnd() {
    CreateChild(L"EDIT", EditStyle(), border_ ? WS_EX_CLIENTEDGE : 0);
    if (hwnd_ && maxLength_) ::SendMessageW(hwnd_, EM_LIMITTEXT, WPARAM(maxLength_), 0);
}

void Edit::SetMaxLength(int n) {
    maxLength_ = n;
    if (hwnd_) ::SendMessageW(hwnd_, EM_LIMITTEXT, WPARAM(n), 0);
}

LRESULT Edit::Notify(UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
        // What the user typed is the control's text from now on.
        int n = ::GetWindowTextLengthW(hwnd_);
        std::wstring t(size_t(n) + 1, L'\0');
        ::GetWindowTextW(hwnd_, t.data(), n + 1);
        t.resize(size_t(n));
        text_ = t;
        if (onChange) onChange();
    }
    return 0;
}

HBRUSH Edit::CtlColor(HDC dc) {
    ::SetBkColor(dc, ToRgb(color_));
    ::SetTextColor(dc, ToRgb(font_.color));
    ctlBrush_.Reset(::CreateSolidBrush(ToRgb(color_)));
    return ctlBrush_.Get();
}

// ---- LabeledEdit

LabeledEdit::LabeledEdit(Container* parent, std::wstring name)
    : Edit(parent, std::move(name)),
      label_(parent, Name() + L"Label", *this) {}

void LabeledEdit::AttachedLabel::ScaleForDpi(int, int) {
    // Scaled on its own as well, after the edit placed it, it would move twice.
    FontChanged();
    edit_.PlaceLabel();
}

void LabeledEdit::SetLabelCaption(const std::wstring& caption) {
    label_.SetText(caption);
    SetAccessibleName(base::AccessKeyFree(caption));  // the label has no window to name the edit
    PlaceLabel();
}

void LabeledEdit::PlaceLabel() {
    // The label sits above the edit, 3 px apart.
    label_.SetBounds(Left(), Top() - label_.Height() - 3, label_.Width(), label_.Height());
}

void LabeledEdit::BoundsChanged() {
    Edit::BoundsChanged();
    PlaceLabel();
}

void LabeledEdit::EnabledChanged() {
    Edit::EnabledChanged();
    label_.SetEnabled(enabled_);
}

void LabeledEdit::VisibleChanged() {
    Edit::VisibleChanged();
    label_.SetVisible(visible_);
}

// ---- Memo

Memo::Memo(Container* parent, std::wstring name) : Edit(parent, std::move(name)) {}

DWORD Memo::EditStyle() const { return ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | (readOnly_ ? ES_READONLY : 0); }

void Memo::SetLines(const std::vector<std::wstring>& lines) {
    std::wstring all;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) all += L"\r\n";
        all += lines[i];
    }
    SetText(all);
}

}  // namespace fw
