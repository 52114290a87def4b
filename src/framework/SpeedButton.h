#pragma once
// A windowless button that never takes the focus: a push button, or with a group index a
// toggle that stays pressed ("down") until clicked again (all-up allowed) or until another
// button of its group goes down.
#include "framework/Control.h"
#include "framework/Glyph.h"

namespace fw {

class SpeedButton : public GraphicControl {
public:
    SpeedButton(Container* parent, std::wstring name);
    Glyph& GetGlyph() { return glyph_; }
    // The glyph loaded for the old scale is loaded for the new one.
    void ScaleForDpi(int fromDpi, int toDpi) override;
    void SetLayout(GlyphLayout l) {
        layout_ = l;
        Invalidate();
    }
    void SetGroupIndex(int g) { groupIndex_ = g; }
    void SetAllowAllUp(bool a) { allowAllUp_ = a; }
    bool Down() const { return down_; }
    void SetDown(bool d);
    void GlyphChanged() { Invalidate(); }

    void Paint() override;
    // A push button to assistive technology, pressed while down; "Press" does what a click does.
    long AccessibleState() const override;
    void DoAccessibleAction() override;
    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;
    void MouseUp(MouseButton button, ShiftState shift, int x, int y) override;

protected:
    void EnabledChanged() override { Invalidate(); }

private:
    // A click on a toggle flips it before the click handler runs.
    void Flip();
    Glyph glyph_;
    GlyphLayout layout_ = GlyphLayout::Left;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;
    bool pressing_ = false;
};

}  // namespace fw
