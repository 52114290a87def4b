#pragma once
// A windowless text: one or more lines, sized to its text unless told otherwise.
#include "framework/Control.h"

namespace fw {

class Label : public GraphicControl {
public:
    Label(Container* parent, std::wstring name);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool a);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool t);
    // Shows "&" as the access-key mark (the next letter underlined, "&&" one ampersand).
    void SetShowAccelChar(bool s) { showAccel_ = s; }

    void Paint() override;
    // A label without text says nothing: assistive technology is not told of it.
    long AccessibleRole() const override { return text_.empty() ? 0 : GraphicControl::AccessibleRole(); }

protected:
    void TextChanged() override;
    void FontChanged() override;
    void EnabledChanged() override { Invalidate(); }

private:
    void AdjustSize();
    UINT DrawFlags() const;

    bool autoSize_ = true;
    bool transparent_ = false;
    bool showAccel_ = true;
};

}  // namespace fw
