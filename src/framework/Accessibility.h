#pragma once
// What assistive technology (a screen reader, voice control) finds of the program, through
// Microsoft Active Accessibility. Each of our containers (and a common control that asks for
// it: the page control, the status bar) answers WM_GETOBJECT for its client area with an
// object whose children are its own items (tabs, panels) and then its controls in their
// order: a windowed control as the system's object of its window (a common control's own
// proxy, or this same kind of object again), a windowless one as a child element that the
// control describes itself (Control::Accessible...). The client area itself is described by
// its control. A default action asked for runs after the call has returned, on the GUI
// thread, as a click would. oleacc.dll, oleaut32.dll and COM are loaded by the first
// WM_GETOBJECT: a program that no assistive technology reads never loads them.
#include <windows.h>

#include <string>

namespace fw {

class Control;
class WinControl;
class AccessibleClient;

// An item of a control's own, as assistive technology is told of it (WinControl).
struct AccessibleItem {
    std::wstring name;
    long role = 0;   // ROLE_SYSTEM_
    long state = 0;  // STATE_SYSTEM_
    RECT screen{};   // where it is on the screen
    std::wstring action;
};

// The message a control posts itself to run a default action: wParam the child id (0 for the
// control itself).
inline constexpr UINT kAccessibleActionMessage = WM_APP + 0x3A1;

// WM_GETOBJECT of a control: its client object for OBJID_CLIENT; 0 for any other object,
// which the caller leaves to the system.
LRESULT AnswerGetObject(WinControl& control, WPARAM wp, LPARAM lp);

// The control's window goes: its object, which clients may still hold, answers no more and is
// let go.
void ReleaseAccessible(AccessibleClient*& object);

// kAccessibleActionMessage: the default action of the child `childId` of the control (0: the
// control's own), when it is still there, enabled and showing.
void RunAccessibleAction(WinControl& control, WPARAM childId);

// Tells listening assistive technology (NotifyWinEvent) that `event` happened to a control:
// a windowless one as a child of its container, a windowed one with an object of ours as its
// client area. The system tells of the other common controls itself.
void NotifyAccessibility(const Control& control, DWORD event);

// The child id of a control in its parent's object: 1 and up, 0 when it is not one.
long AccessibleChildId(const WinControl& parent, const Control& control);

}  // namespace fw
