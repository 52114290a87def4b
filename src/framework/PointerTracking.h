#pragma once
// How the pointer's leaving a window, and the program, is seen. A window of ours asks on
// every move (Track) and gets WM_MOUSELEAVE once the pointer has left its client area, for
// another window, its non-client area or a place outside the program; the message loop hands
// every message through Deliver. When the pointer has left the program, the hint ends
// (Hints::PointerLeft). Two ways, one chosen at start:
//  - System: TrackMouseEvent, for our windows and (their own) for the common controls; on
//    Windows it costs nothing while the pointer rests.
//  - Hooks: Wine's TrackMouseEvent watches the pointer with a timer for as long as it tracks
//    (every millisecond for comctl32's buttons). A mouse hook on the GUI thread sees every
//    mouse message it takes, in any message loop, and while the pointer is over the program a
//    low-level hook sees it go elsewhere; the leave that a common control asks TrackMouseEvent
//    for is taken over the same way. Nothing runs while the pointer rests. A low-level hook
//    runs on the GUI thread for every pointer move of the whole desktop, which on Windows
//    would wait for that thread (and Windows removes a hook that keeps it waiting:
//    learn.microsoft.com, LowLevelMouseProc); it is used only under Wine, and is installed
//    again when the pointer moves without it having seen the move.
// GUI thread only.
#include <windows.h>

#include <climits>
#include <functional>

namespace fw {

class PointerTracking {
public:
    enum class Way { System, Hooks };

    static PointerTracking& Instance();

    // Chooses the way (Hooks under Wine, System elsewhere); kPointerLeftMessage goes to
    // `window`, whose procedure hands it to PointerLeft.
    void Start(HWND window);
    Way GetWay() const { return way_; }
    void SetWay(Way way);
    // The low-level hook while the pointer is over the program (Hooks), else null.
    HHOOK LowLevelHook() const { return outsideHook_; }

    // A window of ours the pointer moves over: WM_MOUSELEAVE once it has left its client area.
    bool Track(HWND wnd);
    // One message of a loop of ours: `dispatch` delivers it.
    void Deliver(const MSG& msg, const std::function<void()>& dispatch);
    // The pointer has left the program.
    void PointerLeft();

private:
    PointerTracking() = default;
    // Hooks.
    static LRESULT CALLBACK MouseHookProc(int code, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK OutsideHookProc(int code, WPARAM wp, LPARAM lp);
    void MouseMessageSeen(HWND wnd, UINT msg, POINT pt, UINT hitTest);
    bool TrackLeave(HWND wnd, bool nonClient);
    void SendLeave();
    // After a mouse message was handled: a TME_LEAVE that its window asked for becomes ours.
    void TakeOverLeaveTracking();
    // System.
    bool TrackBySystem(HWND wnd, bool nonClient);
    // The system's tracking of a window other than `now` ends, and that window is told it
    // was left.
    void EndSystemTracking(HWND now);
    void LeaveBySystem(const MSG& msg);

    Way way_ = Way::System;
    HWND window_ = nullptr;
    DWORD guiThread_ = 0;
    HHOOK mouseHook_ = nullptr;    // WH_MOUSE on the GUI thread (Hooks)
    HHOOK outsideHook_ = nullptr;  // WH_MOUSE_LL, while the pointer is over the program (Hooks)
    unsigned lowLevelCalls_ = 0;   // how often the low-level hook ran
    unsigned lowLevelCallsAtLastMove_ = 0;
    POINT lastMove_{LONG_MIN, LONG_MIN};  // of the last move the thread's hook saw
    bool leftPosted_ = false;             // kPointerLeftMessage is on its way
    HWND leaveWindow_ = nullptr;          // waits for its WM_MOUSELEAVE (or WM_NCMOUSELEAVE)
    bool leaveNonClient_ = false;         // leaveWindow_ tracks its non-client area
};

// Posted to the tracking's window when the pointer has gone to a place outside the program.
inline constexpr UINT kPointerLeftMessage = WM_APP + 0x101;

// True when the window belongs to this process.
bool BelongsToThisProgram(HWND wnd);
// True when the window under the screen point belongs to this process.
bool PointerOverThisProgram(POINT pt);

}  // namespace fw
