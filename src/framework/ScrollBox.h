#pragma once
// A container that scrolls its contents when they are larger than it: scroll bars appear as
// needed and move the children.
#include "framework/Container.h"

namespace fw {

class ScrollBox : public Container {
public:
    ScrollBox(Container* parent, std::wstring name);
    void ChildBoundsChanged(Control* child, bool sizeChanged) override;
    void UpdateScrollRange();
    bool HorzScrollVisible() const;
    bool VertScrollVisible() const;

protected:
    WindowParams Params() override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void HandleCreated() override;

private:
    void ScrollTo(int x, int y);
    void OnScroll(int bar, WPARAM wp);
};

}  // namespace fw
