#pragma once
// A container with bevels or a single border and an optional centred caption.
#include "framework/Container.h"

namespace fw {

enum class Bevel { None, Lowered, Raised };

class Panel : public Container {
public:
    Panel(Container* parent, std::wstring name);
    void SetBevelInner(Bevel b) { Change(bevelInner_, b); }
    void SetBevelOuter(Bevel b) { Change(bevelOuter_, b); }
    void SetBevelWidth(int w) { Change(bevelWidth_, w); }
    void SetSingleBorder(bool s) { Change(singleBorder_, s); }
    // Width taken by the border and bevels on each side: the client area aligned children use.
    int BorderWidth() const;

protected:
    void PaintSelf(HDC dc) override;
    void ClientMouseUp(MouseButton button, ShiftState, int x, int y) override;
    void TextChanged() override { Invalidate(); }
    void FontChanged() override { Invalidate(); }
    RECT AlignArea() const override;

private:
    // A look of the border changed: it is painted anew.
    template <class T>
    void Change(T& member, T value) {
        member = value;
        Invalidate();
    }
    Bevel bevelInner_ = Bevel::None;
    Bevel bevelOuter_ = Bevel::Raised;
    int bevelWidth_ = 1;
    bool singleBorder_ = false;
};

}  // namespace fw
