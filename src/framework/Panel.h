#pragma once
// A container with bevels or a single border and an optional centred caption.
#include "framework/Container.h"

namespace fw {

enum class Bevel { None, Lowered, Raised };

class Panel : public Container {
public:
    Panel(Container* parent, std::wstring name);
    void SetBevelInner(Bevel b) {
        bevelInner_ = b;
        Invalidate();
    }
    void SetBevelOuter(Bevel b) {
        bevelOuter_ = b;
        Invalidate();
    }
    void SetBevelWidth(int w) {
        bevelWidth_ = w;
        Invalidate();
    }
    void SetSingleBorder(bool s) {
        singleBorder_ = s;
        Invalidate();
    }
    // Width taken by the border and bevels on each side: the client area aligned children use.
    int BorderWidth() const;

protected:
    void PaintSelf(HDC dc) override;
    void ClientMouseUp(MouseButton button, ShiftState, int x, int y) override;
    void TextChanged() override { Invalidate(); }
    void FontChanged() override { Invalidate(); }
    RECT AlignArea() const override;

private:
    Bevel bevelInner_ = Bevel::None;
    Bevel bevelOuter_ = Bevel::Raised;
    int bevelWidth_ = 1;
    bool singleBorder_ = false;
};

}  // namespace fw
