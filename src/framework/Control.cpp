#include "framework/Control.h"

#include <commctrl.h>
#include <oleacc.h>

#include "base/Text.h"
#include "framework/Accessibility.h"
#include "framework/Application.h"
#include "framework/Container.h"
#include "framework/Error.h"
#include "framework/Form.h"
#include "framework/Hints.h"

namespace fw {

ShiftState ShiftFromKeyboard() {
    ShiftState s = 0;
    if (::GetKeyState(VK_SHIFT) < 0) s |= kShift;
    if (::GetKeyState(VK_MENU) < 0) s |= kAlt;
    if (::GetKeyState(VK_CONTROL) < 0) s |= kCtrl;
    if (::GetKeyState(VK_LBUTTON) < 0) s |= kLeftButton;
    if (::GetKeyState(VK_RBUTTON) < 0) s |= kRightButton;
    if (::GetKeyState(VK_MBUTTON) < 0) s |= kMiddleButton;
    return s;
}

ShiftState ShiftFromMouse(WPARAM mk) {
    ShiftState s = 0;
    if (mk & MK_SHIFT) s |= kShift;
    if (mk & MK_CONTROL) s |= kCtrl;
    if (mk & MK_LBUTTON) s |= kLeftButton;
    if (mk & MK_RBUTTON) s |= kRightButton;
    if (mk & MK_MBUTTON) s |= kMiddleButton;
    if (::GetKeyState(VK_MENU) < 0) s |= kAlt;  // mouse messages carry no ALT flag
    return s;
}

// ---- Control

Control::Control(Container* parent, std::wstring name) : parent_(parent), name_(std::move(name)) {
    if (parent_) {
        parent_->Insert(this);
        font_ = parent_->GetFont();
    }
}

Control::~Control() {
    Hints::Instance().Forget(this);
    if (parent_) parent_->Remove(this);
}

HFONT Control::DpiFont() const {
    const Form* f = GetForm();
    return SharedFont(font_, f ? f->Dpi() : 96);
}

Form* Control::GetForm() const {
    const Control* c = this;
    while (c->parent_) c = c->parent_;
    return dynamic_cast<Form*>(const_cast<Control*>(c));
}

void Control::SetBounds(int left, int top, int width, int height) {
    RECT r{left, top, left + width, top + height};
    if (EqualRect(&r, &bounds_)) return;
    RECT old = bounds_;
    bounds_ = r;
    BoundsChanged();
    if (parent_) parent_->ChildBoundsChanged(this, old.right - old.left != width || old.bottom - old.top != height);
}

void Control::ScaleForDpi(int fromDpi, int toDpi) {
    auto scale = [&](LONG v) { return ::MulDiv(int(v), toDpi, fromDpi); };
    // Scaled edge by edge, so that controls that touch at one dpi touch at the other too.
    const RECT r{scale(bounds_.left), scale(bounds_.top), scale(bounds_.right), scale(bounds_.bottom)};
    SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    FontChanged();  // fonts are made for the form's dpi
}

void Control::SetAlign(Align a) {
    if (a == align_) return;
    align_ = a;
    if (parent_) parent_->Realign();
}

bool Control::Showing() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void Control::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    VisibleChanged();
    PropagateShowingChanged();
    TellAccessibility(v ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE);
}

void Control::SetEnabled(bool e) {
    if (e == enabled_) return;
    enabled_ = e;
    EnabledChanged();
    TellAccessibility(EVENT_OBJECT_STATECHANGE);
}

void Control::SetText(const std::wstring& text) {
    if (text == text_) return;
    text_ = text;
    TextChanged();
    TellAccessibility(EVENT_OBJECT_NAMECHANGE);
}

void Control::SetHint(const std::wstring& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    Hints::Instance().HintChanged(this);
    TellAccessibility(EVENT_OBJECT_NAMECHANGE);
}

void Control::SetColor(Color c) {
    if (c == color_) return;
    color_ = c;
    ColorChanged();
}

void Control::SetFont(const FontSpec& f) {
    if (f == font_) return;
    font_ = f;
    FontChanged();
}

void Control::Click() {
    if (onClick) onClick();
}

void Control::Invalidate() {}

long Control::AccessibleRole() const {
    if (accessibleRole_ >= 0) return accessibleRole_;
    return IsWindowed() ? ROLE_SYSTEM_CLIENT : 0;
}

void Control::SetAccessibleRole(long role, std::wstring action) {
    accessibleRole_ = role;
    accessibleAction_ = std::move(action);
}

std::wstring Control::AccessibleName() const {
    if (!accessibleName_.empty()) return accessibleName_;
    if (!text_.empty()) return base::AccessKeyFree(text_);
    return std::wstring(base::ShortHint(hint_));
}

std::wstring Control::AccessibleDescription() const {
    const std::wstring_view more = base::LongHint(hint_);
    return more == AccessibleName() ? std::wstring() : std::wstring(more);
}

long Control::AccessibleState() const {
    long state = 0;
    if (!enabled_) state |= STATE_SYSTEM_UNAVAILABLE;
    if (!Showing()) state |= STATE_SYSTEM_INVISIBLE;
    return state;
}

std::wstring Control::AccessibleShortcut() const {
    if (!accessibleShortcut_.empty()) return accessibleShortcut_;
    const wchar_t key = base::AccessKey(text_);
    return key ? std::wstring(L"Alt+") + key : std::wstring();
}

void Control::TellAccessibility(DWORD event) const { NotifyAccessibility(*this, event); }

POINT Control::ScreenOrigin() const {
    POINT p{Left(), Top()};
    if (parent_ && parent_->Handle()) {
        POINT s = parent_->ScrollOffset();
        p.x -= s.x;
        p.y -= s.y;
        ::ClientToScreen(parent_->Handle(), &p);
    }
    return p;
}

// ---- GraphicControl

GraphicControl::GraphicControl(Container* parent, std::wstring name) : Control(parent, std::move(name)) {}

bool GraphicControl::Loading() const {
    Form* f = GetForm();
    return f && f->Loading();
}

LRESULT GraphicControl::Perform(UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_PAINT && wp) {
        CanvasAttach attach(canvas_, reinterpret_cast<HDC>(wp));
        Paint();
    }
    return 0;
}

void GraphicControl::Invalidate() {
    if (!parent_ || !parent_->Handle()) return;
    RECT r = bounds_;
    POINT s = parent_->ScrollOffset();
    ::OffsetRect(&r, -s.x, -s.y);
    ::InvalidateRect(parent_->Handle(), &r, !opaque_);
}

void GraphicControl::Repaint() {
    if (!Showing() || !parent_ || !parent_->Handle()) return;
    if (opaque_) {
        WindowDc dc(parent_->Handle());
        SavedDc saved(dc.Get());
        RECT r = bounds_;
        POINT s = parent_->ScrollOffset();
        ::OffsetRect(&r, -s.x, -s.y);
        ::IntersectClipRect(dc.Get(), r.left, r.top, r.right, r.bottom);
        parent_->PaintControls(dc.Get(), this);
    } else {
        Invalidate();
        ::UpdateWindow(parent_->Handle());
    }
}

void GraphicControl::BoundsChanged() {
    Perform(WM_WINDOWPOSCHANGED, 0, 0);
    if (parent_ && parent_->Handle()) ::InvalidateRect(parent_->Handle(), nullptr, TRUE);
}

// ---- WinControl

WinControl::WinControl(Container* parent, std::wstring name) : Control(parent, std::move(name)) {}

WinControl* WinControl::FromHandle(HWND wnd) { return dynamic_cast<WinControl*>(Window::FromHandle(wnd)); }

WinControl::~WinControl() {
    // A common control's window is destroyed after this (by Window's destructor): it must
    // not lead back to the object any more.
    HandleDestroying();
}

namespace {

// A common control's procedure, before its own: assistive technology's WM_GETOBJECT and the
// actions it asked for.
LRESULT CALLBACK AccessibilityProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self) {
    // A Win32 callback: errors are shown here and go no further.
    try {
        auto* control = reinterpret_cast<WinControl*>(self);
        if (msg == WM_GETOBJECT) {
            if (const LRESULT object = AnswerGetObject(*control, wp, lp)) return object;
        } else if (msg == kAccessibleActionMessage) {
            RunAccessibleAction(*control, wp);
            return 0;
        } else if (msg == WM_NCDESTROY) {
            ::RemoveWindowSubclass(wnd, &AccessibilityProc, id);
        }
    } catch (...) {
        Application::Instance().HandleException(std::current_exception());
        return 0;
    }
    return ::DefSubclassProc(wnd, msg, wp, lp);
}

}  // namespace

void WinControl::HandleDestroying() {
    // The subclass holds this object: it goes first, whatever the window still receives.
    if (hwnd_ && (ownAccessibleObject_ || ownAccessibleName_)) ::RemoveWindowSubclass(hwnd_, &AccessibilityProc, 0);
    ReleaseAccessible(accessible_);
    Detach();
}

void WinControl::AnswerAccessibility(bool nameOnly) {
    ownAccessibleObject_ = !nameOnly;
    ownAccessibleName_ = nameOnly;
    if (hwnd_) ::SetWindowSubclass(hwnd_, &AccessibilityProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

RECT WinControl::ScreenRectOf(RECT client) const {
    if (hwnd_) ::MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

void WinControl::TellAccessibilityOfItem(long index, DWORD event) const {
    if (hwnd_ && ownAccessibleObject_) ::NotifyWinEvent(event, hwnd_, OBJID_CLIENT, index + 1);
}

void WinControl::CreateChild(const wchar_t* className, DWORD style, DWORD exStyle) {
    if (hwnd_ || !parent_ || !parent_->Handle()) return;
    style |= WS_CHILD | WS_CLIPSIBLINGS;
    if (visible_) style |= WS_VISIBLE;
    if (!enabled_) style |= WS_DISABLED;
    if (tabStop_) style |= WS_TABSTOP;
    POINT s = parent_->ScrollOffset();
    static int nextId = 100;  // dialog navigation (DM_GETDEFID, WM_COMMAND) needs control ids
    HWND wnd = ::CreateWindowExW(exStyle, className, text_.c_str(), style, Left() - s.x, Top() - s.y, Width(), Height(),
                                 parent_->Handle(), reinterpret_cast<HMENU>(INT_PTR(nextId++)),
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (!wnd) throw OutOfResources(L"Error creating window");
    Attach(wnd);
    ApplyFont();
    ApplyZOrder();
    if (!accessibleName_.empty()) AnswerAccessibility(true);
}

void WinControl::ApplyFont() {
    if (!hwnd_) return;
    hfont_ = DpiFont();
    ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(hfont_), TRUE);
}

void WinControl::SetFocus() {
    if (!hwnd_ || !Showing() || !enabled_) throw Error(L"Cannot focus a disabled or invisible window");
    ::SetFocus(hwnd_);
}

void WinControl::BringToFront() {
    inFront_ = true;
    ApplyZOrder();
}

void WinControl::ApplyZOrder() {
    if (hwnd_ && inFront_) ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WinControl::Invalidate() {
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT WinControl::Notify(UINT, WPARAM, LPARAM) { return 0; }

HBRUSH WinControl::CtlColor(HDC dc) {
    // Labels, check boxes and group boxes take the colour of their parent.
    Color c = parent_ ? parent_->GetColor() : color_;
    ::SetBkColor(dc, ToRgb(c));
    ::SetTextColor(dc, ToRgb(font_.color));
    ctlBrush_.Reset(::CreateSolidBrush(ToRgb(c)));
    return ctlBrush_.Get();
}

void WinControl::BoundsChanged() {
    if (!hwnd_ || dynamic_cast<Form*>(this)) return;
    POINT s = parent_ ? parent_->ScrollOffset() : POINT{0, 0};
    ::SetWindowPos(hwnd_, nullptr, Left() - s.x, Top() - s.y, Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinControl::VisibleChanged() {
    if (hwnd_) ::ShowWindow(hwnd_, visible_ ? SW_SHOWNA : SW_HIDE);
}

void WinControl::EnabledChanged() {
    if (hwnd_) ::EnableWindow(hwnd_, enabled_);
}

void WinControl::TextChanged() {
    if (hwnd_) ::SetWindowTextW(hwnd_, text_.c_str());
}

void WinControl::FontChanged() { ApplyFont(); }

}  // namespace fw
