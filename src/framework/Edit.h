#pragma once
// Single-line edits, the labelled edit (a label above the edit) and the read-only memo.
#include <vector>

#include "framework/Control.h"
#include "framework/Label.h"

namespace fw {

class Edit : public WinControl {
public:
    Edit(Container* parent, std::wstring name);
    void CreateWnd() override;
    void SetMaxLength(int n);
    void SetBorder(bool b) { border_ = b; }
    LRESULT Notify(UINT msg, WPARAM wp, LPARAM lp) override;
    HBRUSH CtlColor(HDC dc) override;
    std::function<void()> onChange;

protected:
    virtual DWORD EditStyle() const { return ES_AUTOHSCROLL; }
    int maxLength_ = 0;
    bool border_ = true;
};

class LabeledEdit : public Edit {
public:
    LabeledEdit(Container* parent, std::wstring name);
    Label& EditLabel() { return label_; }
    void SetLabelCaption(const std::wstring& caption);

protected:
    void BoundsChanged() override;
    void EnabledChanged() override;
    void VisibleChanged() override;

private:
    // The edit's caption: its font follows a change of scale, its place is the edit's to say.
    class AttachedLabel : public Label {
    public:
        AttachedLabel(Container* parent, std::wstring name, LabeledEdit& edit)
            : Label(parent, std::move(name)),
              edit_(edit) {}
        void ScaleForDpi(int, int) override;

    private:
        LabeledEdit& edit_;
    };
    void PlaceLabel();
    AttachedLabel label_;
};

class Memo : public Edit {
public:
    Memo(Container* parent, std::wstring name);
    void SetLines(const std::vector<std::wstring>& lines);
    void SetReadOnly(bool r) { readOnly_ = r; }

protected:
    DWORD EditStyle() const override;

private:
    bool readOnly_ = false;
};

}  // namespace fw
