#pragma once
// Controls placed on containers. A control keeps its whole state in this object (text,
// enabled, visible, bounds, tag, hint, font, colour), so what it shows can be rebuilt from it.
// Windowless controls paint in their parent's WM_PAINT, in z-order; windowed controls are
// thin owners of a child HWND.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Accessibility.h"
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
    void SetHint(const std::wstring& hint);
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

    // What assistive technology is told of the control (framework/Accessibility.h). The role
    // is a ROLE_SYSTEM_ value of <oleacc.h>, 0 for a control it is not told of (a decoration
    // that says nothing); SetAccessibleRole replaces the class's role, with the name of the
    // default action ("Click"), or none.
    virtual long AccessibleRole() const;
    void SetAccessibleRole(long role, std::wstring action = {});
    // The name: set, else the caption without its access-key marks, else the short part of
    // the hint.
    virtual std::wstring AccessibleName() const;
    void SetAccessibleName(std::wstring name) { accessibleName_ = std::move(name); }
    // The value, for a control that has one (the frame: the area it captures).
    virtual std::wstring AccessibleValue() const { return {}; }
    // The long part of the hint, when it says more than the name.
    std::wstring AccessibleDescription() const;
    // STATE_SYSTEM_ flags: unavailable while disabled, invisible while not showing, and the
    // class's own (pressed, focusable, ...).
    virtual long AccessibleState() const;
    // The name of the default action, empty for none; the action itself, what a click does.
    virtual std::wstring AccessibleAction() const { return accessibleAction_; }
    virtual void DoAccessibleAction() { Click(); }
    // The key that does what a click does, as a screen reader says it ("Alt+O"): set, else the
    // caption's access key; empty for none.
    std::wstring AccessibleShortcut() const;
    void SetAccessibleShortcut(std::wstring keys) { accessibleShortcut_ = std::move(keys); }
    // Tells listening assistive technology that an EVENT_OBJECT_ happened to the control.
    void TellAccessibility(DWORD event) const;

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
    long accessibleRole_ = -1;  // the class's own while below 0
    std::wstring accessibleAction_;
    std::wstring accessibleName_;
    std::wstring accessibleShortcut_;
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

    // What assistive technology finds in the control when its object is ours (our containers,
    // and common controls that call AnswerAccessibility): items of its own first (the tabs of
    // a page control, the panels of a status bar), numbered from 0, then these controls.
    virtual std::vector<Control*> AccessibleControls() const { return {}; }
    virtual long AccessibleItemCount() const { return 0; }
    virtual AccessibleItem DescribeAccessibleItem(long) const { return {}; }
    virtual void DoAccessibleItemAction(long) {}
    bool HasOwnAccessibleObject() const { return ownAccessibleObject_; }
    // A common control whose object is the system's but whose name is ours (the name of the
    // label beside it, which the system does not find, the label having no window).
    bool NamesItself() const { return ownAccessibleName_; }
    // Tells listening assistive technology that an EVENT_OBJECT_ happened to item `index`.
    void TellAccessibilityOfItem(long index, DWORD event) const;
    // A rectangle of the window's client area on the screen.
    RECT ScreenRectOf(RECT client) const;

protected:
    friend LRESULT AnswerGetObject(WinControl& control, WPARAM wp, LPARAM lp);
    // Creates the child window of a common-control class and attaches this object to it.
    void CreateChild(const wchar_t* className, DWORD style, DWORD exStyle = 0);
    // The common control's WM_GETOBJECT gets our object (Accessibility.h), not the system's;
    // or, with `nameOnly`, the system's object with our name. A common control given a name
    // (SetAccessibleName) gets the latter when its window is made.
    void AnswerAccessibility(bool nameOnly = false);
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
    bool ownAccessibleObject_ = false;
    bool ownAccessibleName_ = false;
    AccessibleClient* accessible_ = nullptr;  // handed to assistive technology, once asked
    Brush ctlBrush_;
    bool tabStop_ = false;
};

}  // namespace fw
