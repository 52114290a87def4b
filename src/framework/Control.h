#pragma once
// Controls placed on containers. A control keeps its whole state in this object (text,
// enabled, visible, bounds, tag, hint, font, colour), so what it shows can be rebuilt from it.
// Windowless controls paint in their parent's WM_PAINT, in z-order; windowed controls are
// thin owners of a child HWND.
#include <windows.h>

#include <functional>
#include <string>

#include "framework/Canvas.h"
#include "framework/Color.h"
#include "framework/Window.h"

namespace fw {

class Container;
class Form;

enum class Align { None, Top, Bottom, Left, Right, Client };

// Keys and buttons held, as the handlers see them.
using ShiftState = unsigned;
inline constexpr ShiftState kShift = 1, kAlt = 2, kCtrl = 4, kLeftButton = 8, kRightButton = 16, kMiddleButton = 32;
ShiftState ShiftFromKeyboard();        // keys held now (GetKeyState)
ShiftState ShiftFromMouse(WPARAM mk);  // from a mouse message's MK_ flags
enum class MouseButton { Left, Right, Middle };

class Control {
    friend class Container;

public:
    Control(Container* parent, std::wstring name);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::wstring& Name() const { return name_; }
    Container* Parent() const { return parent_; }
    Form* GetForm() const;

    // Bounds in pixels, relative to the parent's client area.
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    RECT BoundsRect() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height);
    Align GetAlign() const { return align_; }
    void SetAlign(Align a);

    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool e);

    const std::wstring& Text() const { return text_; }
    void SetText(const std::wstring& text);
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& hint) { hint_ = hint; }
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    HCURSOR Cursor() const { return cursor_; }
    void SetCursor(HCURSOR c) { cursor_ = c; }
    Color GetColor() const { return color_; }
    void SetColor(Color c);
    const FontSpec& GetFont() const { return font_; }
    void SetFont(const FontSpec& f);
    // The font for the dpi of the control's form (96 dpi on none): shared, not the caller's.
    HFONT DpiFont() const;

    std::function<void()> onClick;
    // The click action: what a mouse click on the control runs.
    virtual void Click();

    virtual bool IsWindowed() const { return false; }
    // Repaints the control's area at the next paint.
    virtual void Invalidate();
    // Screen position of the control's top-left corner.
    POINT ScreenOrigin() const;
    // The form moved to a monitor of another scale: places and sizes (those that the parent's
    // alignment does not give) from `fromDpi` to `toDpi`, then the font and what depends on it.
    virtual void ScaleForDpi(int fromDpi, int toDpi);

protected:
    virtual void BoundsChanged() {}
    virtual void VisibleChanged() {}
    // This control or one of its parents was shown or hidden: Showing() may have changed.
    virtual void ShowingChanged() {}
    // Runs ShowingChanged here and in every control inside this one.
    virtual void PropagateShowingChanged() { ShowingChanged(); }
    virtual void EnabledChanged() {}
    virtual void TextChanged() {}
    virtual void FontChanged() {}
    virtual void ColorChanged() {}

    Container* parent_;
    std::wstring name_;
    RECT bounds_{0, 0, 0, 0};
    Align align_ = Align::None;
    bool visible_ = true;
    bool enabled_ = true;
    std::wstring text_;
    std::wstring hint_;
    int tag_ = 0;
    HCURSOR cursor_ = nullptr;
    Color color_ = kBtnFace;
    FontSpec font_;
};

// A control without a window: it paints on its parent's DC through its own canvas.
class GraphicControl : public Control {
public:
    GraphicControl(Container* parent, std::wstring name);

    // Messages as the parent passes them on: WM_PAINT with the DC in wParam (already clipped
    // and with the origin at the control's top-left), WM_WINDOWPOSCHANGED after a bounds
    // change, mouse messages in control coordinates.
    virtual LRESULT Perform(UINT msg, WPARAM wp, LPARAM lp);
    Canvas& GetCanvas() { return canvas_; }

    // Opaque: the parent does not paint beneath the control before it paints.
    bool Opaque() const { return opaque_; }
    void SetOpaque(bool o) { opaque_ = o; }
    bool Loading() const;  // the form is still being built
    void Invalidate() override;
    // Paints the control at once: opaque controls straight on the parent's DC (with the
    // controls above them), others by invalidating and updating the parent.
    void Repaint();

    virtual void Paint() {}
    virtual void MouseDown(MouseButton, ShiftState, int, int) {}
    virtual void MouseMove(ShiftState, int, int) {}
    virtual void MouseUp(MouseButton, ShiftState, int, int) {}
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}

protected:
    void BoundsChanged() override;
    void VisibleChanged() override { Invalidate(); }
    void TextChanged() override { Invalidate(); }
    void FontChanged() override { Invalidate(); }
    void ColorChanged() override { Invalidate(); }

    Canvas canvas_;
    bool opaque_ = false;
};

// A control that owns a child window (a common control or one of our containers).
class WinControl : public Control, public Window {
public:
    WinControl(Container* parent, std::wstring name);
    ~WinControl() override;
    bool IsWindowed() const override { return true; }
    using Window::Handle;
    void SetFocus();
    // Puts the window above its siblings (children are created under the earlier ones), now
    // or, while it has no window yet, as soon as the window is made.
    void BringToFront();
    void Invalidate() override;
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool t) { tabStop_ = t; }

    // WM_COMMAND / WM_NOTIFY reflected from the parent; the result of WM_NOTIFY.
    virtual LRESULT Notify(UINT msg, WPARAM wp, LPARAM lp);
    // WM_CTLCOLOR* reflected from the parent: the brush to paint with, or nullptr for default.
    virtual HBRUSH CtlColor(HDC dc);

    static WinControl* FromHandle(HWND wnd);
    // Creates the window once the parent's exists (wrappers of common controls override it).
    virtual void CreateWnd() {}

protected:
    // Creates the child window of a common-control class and attaches this object to it.
    void CreateChild(const wchar_t* className, DWORD style, DWORD exStyle = 0);
    // Takes this object off its window, a common control's or one of ours.
    void HandleDestroying() override;
    void BoundsChanged() override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void TextChanged() override;
    void FontChanged() override;
    void ApplyFont();
    // Puts a new window where BringToFront asked for it.
    void ApplyZOrder();

    HFONT hfont_ = nullptr;
    bool inFront_ = false;
    Brush ctlBrush_;
    bool tabStop_ = false;
};

}  // namespace fw
