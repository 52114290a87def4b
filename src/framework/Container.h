#pragma once
// A windowed control of our own class that holds other controls: it lays out aligned
// children, paints its windowless children in z-order inside its WM_PAINT, routes mouse
// messages, cursors and hints to the one under the pointer, and reflects WM_COMMAND,
// WM_NOTIFY and WM_CTLCOLOR* back to the child control that sent them.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/Control.h"

namespace fw {

class Container : public WinControl {
public:
    Container(Container* parent, std::wstring name);
    ~Container() override;

    const std::vector<Control*>& Controls() const { return controls_; }
    void Insert(Control* c) { controls_.push_back(c); }
    void Remove(Control* c);
    Control* FindControl(const std::wstring& name) const;  // depth-first, by name

    // The topmost visible windowless child at a client point, or nullptr.
    GraphicControl* GraphicAt(POINT pt) const;
    // Paints the windowless children that intersect the DC's clip area, from `from` on in
    // z-order (all when nullptr). The DC's origin is the container's client origin.
    void PaintControls(HDC dc, const GraphicControl* from = nullptr);
    // Places the aligned children (top, bottom, client) in the client area.
    void Realign();
    // A child's bounds changed (sizeChanged: its width or height).
    virtual void ChildBoundsChanged(Control* child, bool sizeChanged);
    // Offset of the scrolled contents (scroll boxes).
    POINT ScrollOffset() const { return scroll_; }

    // The client area within `area` as the paint routine draws it now (not as the screen shows
    // it): 0x00RRGGBB pixels, rows from the top. Throws OutOfResources when it cannot draw.
    std::vector<uint32_t> PaintedPixels(const RECT& area);

    // Creates this window (if the parent's exists) and those of its children.
    void CreateWnd() override;
    // Its controls, for assistive technology.
    std::vector<Control*> AccessibleControls() const override { return controls_; }
    // This container, then every control inside it.
    void ScaleForDpi(int fromDpi, int toDpi) override;

protected:
    virtual WindowParams Params();
    void HandleCreated() override;
    // Whether the children's windows are made along with this one (see CreateChildWindows).
    virtual bool MakesChildWindowsNow() const { return true; }
    // Makes the windows of the children that have none yet.
    void CreateChildWindows();
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // Fills the client area before the children paint.
    virtual void PaintBackground(HDC dc, const RECT& client);
    // The container's own paint, after the background and before the windowless children.
    virtual void PaintSelf(HDC) {}
    virtual void ClientMouseDown(MouseButton, ShiftState, int, int) {}
    virtual void ClientMouseMove(ShiftState, int, int) {}
    virtual void ClientMouseUp(MouseButton, ShiftState, int, int) {}
    virtual void ClientMouseLeave() {}
    virtual void Resized() {}
    // The part of the client area that aligned children share.
    virtual RECT AlignArea() const;
    // The cursor the container shows at a client point (nullptr: the class cursor).
    HCURSOR CursorAt(POINT pt) const;
    void BoundsChanged() override;
    void ColorChanged() override { Invalidate(); }
    void PropagateShowingChanged() override;

    std::vector<Control*> controls_;
    POINT scroll_{0, 0};

    // The background, the container's own paint and the windowless children: one routine for
    // the screen and WM_PRINTCLIENT (the seam of the pixel tests).
    void PaintClient(HDC dc);

private:
    void OnPaint();
    // The child control that sent a WM_COMMAND, WM_NOTIFY or WM_DRAWITEM, or nullptr.
    static WinControl* NotifySender(UINT msg, LPARAM lp);
    static HBRUSH OnCtlColor(HDC dc, HWND child);
    LRESULT OnMouse(UINT msg, WPARAM wp, LPARAM lp);
    void OnCaptureChanged(HWND taker);
    void OnMouseLeave();
    // True when it set the cursor.
    bool OnSetCursor(HWND under, UINT hitTest);
    void OnSize();
    void TrackLeave();

    GraphicControl* mouseControl_ = nullptr;    // under the pointer
    GraphicControl* captureControl_ = nullptr;  // took the press
};

}  // namespace fw
