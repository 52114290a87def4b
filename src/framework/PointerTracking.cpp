#include "framework/PointerTracking.h"

#include <utility>

#include "framework/Application.h"
#include "framework/Hints.h"
#include "framework/SystemLibrary.h"

namespace fw {

namespace {
bool IsMouseMessage(UINT msg) {
    return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK);
}
}  // namespace

bool BelongsToThisProgram(HWND wnd) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    return pid == ::GetCurrentProcessId();
}

bool PointerOverThisProgram(POINT pt) {
    HWND under = ::WindowFromPoint(pt);
    return under && BelongsToThisProgram(under);
}

PointerTracking& PointerTracking::Instance() {
    static PointerTracking* tracking = new PointerTracking();  // lives as long as the process
    return *tracking;
}

void PointerTracking::Start(HWND window) {
    window_ = window;
    guiThread_ = ::GetCurrentThreadId();
    SetWay(RunningUnderWine() ? Way::Hooks : Way::System);
}

void PointerTracking::SetWay(Way way) {
    // What the other way was watching ends here: a window waiting for its leave is told now.
    SendLeave();
    EndSystemTracking(nullptr);
    for (HHOOK* hook : {&outsideHook_, &mouseHook_}) {
        if (*hook) ::UnhookWindowsHookEx(*hook);
        *hook = nullptr;
    }
    leftPosted_ = false;
    way_ = way;
    if (way == Way::Hooks)
        mouseHook_ = ::SetWindowsHookExW(WH_MOUSE, &PointerTracking::MouseHookProc, nullptr, guiThread_);
}

bool PointerTracking::Track(HWND wnd) {
    return way_ == Way::Hooks ? TrackLeave(wnd, false) : TrackBySystem(wnd, false);
}

void PointerTracking::Deliver(const MSG& msg, const std::function<void()>& dispatch) {
    const bool move = msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE;
    // A move over another window than the one the system tracks: that one has been left.
    // Windows tells it before the move arrives; Wine's tracking, which looks with a timer, may
    // not have yet, and a common control asks for its own tracking only once no other is
    // under way.
    if (way_ == Way::System && move) EndSystemTracking(msg.hwnd);
    dispatch();
    if (way_ == Way::Hooks) {
        if (IsMouseMessage(msg.message)) TakeOverLeaveTracking();
    } else if (IsMouseMessage(msg.message) || msg.message == WM_MOUSELEAVE || msg.message == WM_NCMOUSELEAVE) {
        LeaveBySystem(msg);
    }
}

void PointerTracking::PointerLeft() {
    leftPosted_ = false;
    if (outsideHook_) {
        ::UnhookWindowsHookEx(outsideHook_);
        outsideHook_ = nullptr;
    }
    SendLeave();
    Hints::Instance().PointerLeft();
}

// ---- the system's tracking

bool PointerTracking::TrackBySystem(HWND wnd, bool nonClient) {
    if (!wnd) return false;
    // A window already tracked keeps what it asked for (a common control its hover as well).
    TRACKMOUSEEVENT t{sizeof t, TME_QUERY, nullptr, 0};
    if (::TrackMouseEvent(&t) && t.hwndTrack == wnd && (t.dwFlags & TME_LEAVE) &&
        ((t.dwFlags & TME_NONCLIENT) != 0) == nonClient)
        return true;
    TRACKMOUSEEVENT track{sizeof track, DWORD(TME_LEAVE | (nonClient ? TME_NONCLIENT : 0)), wnd, 0};
    return ::TrackMouseEvent(&track) != FALSE;
}

void PointerTracking::EndSystemTracking(HWND now) {
    TRACKMOUSEEVENT t{sizeof t, TME_QUERY, nullptr, 0};
    if (!::TrackMouseEvent(&t) || !t.hwndTrack || t.hwndTrack == now || !(t.dwFlags & TME_LEAVE)) return;
    TRACKMOUSEEVENT cancel{sizeof cancel, TME_CANCEL | TME_LEAVE | (t.dwFlags & TME_NONCLIENT), t.hwndTrack, 0};
    if (::TrackMouseEvent(&cancel) && ::IsWindow(t.hwndTrack))
        ::SendMessageW(t.hwndTrack, (t.dwFlags & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

void PointerTracking::LeaveBySystem(const MSG& msg) {
    if (msg.message == WM_MOUSELEAVE || msg.message == WM_NCMOUSELEAVE) {
        POINT pt;
        ::GetCursorPos(&pt);
        if (!::GetCapture() && !PointerOverThisProgram(pt)) PointerLeft();
        return;
    }
    // Each window the pointer moves over is told when it leaves, the common controls too.
    if ((msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) && ::IsWindow(msg.hwnd))
        TrackBySystem(msg.hwnd, msg.message == WM_NCMOUSEMOVE);
}

// ---- the hooks

bool PointerTracking::TrackLeave(HWND wnd, bool nonClient) {
    if (!mouseHook_ || !wnd) return false;
    if (leaveWindow_ != wnd || leaveNonClient_ != nonClient) {
        SendLeave();
        leaveWindow_ = wnd;
        leaveNonClient_ = nonClient;
    }
    return true;
}

void PointerTracking::SendLeave() {
    // Sent, not posted: the window under the pointer now must not see the previous window's
    // state (a program-wide cursor, say) in the WM_SETCURSOR that comes before its first move.
    if (HWND wnd = std::exchange(leaveWindow_, nullptr); wnd && ::IsWindow(wnd))
        ::SendMessageW(wnd, leaveNonClient_ ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

void PointerTracking::TakeOverLeaveTracking() {
    TRACKMOUSEEVENT t{sizeof t, TME_QUERY, nullptr, 0};
    if (!::TrackMouseEvent(&t) || !t.hwndTrack || !(t.dwFlags & TME_LEAVE) || !mouseHook_) return;
    // Only the leave: a hover asked for is the system's still, and its watch ends with it.
    TRACKMOUSEEVENT cancel{sizeof cancel, TME_CANCEL | TME_LEAVE, t.hwndTrack, 0};
    if (::TrackMouseEvent(&cancel)) TrackLeave(t.hwndTrack, (t.dwFlags & TME_NONCLIENT) != 0);
}

LRESULT CALLBACK PointerTracking::MouseHookProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) {
        const auto* m = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lp);
        try {
            Instance().MouseMessageSeen(m->hwnd, UINT(wp), m->pt, m->wHitTestCode);
        } catch (...) {
            Application::Instance().HandleException(std::current_exception());
        }
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

void PointerTracking::MouseMessageSeen(HWND wnd, UINT msg, POINT pt, UINT hitTest) {
    if (leaveWindow_ && (wnd != leaveWindow_ || (hitTest == HTCLIENT) == leaveNonClient_)) SendLeave();
    if (msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE) {
        // Every move passes the low-level hook before it becomes a message: a pointer that
        // moved without the hook running means the hook is gone (the system removes one that
        // keeps it waiting), and it is installed again.
        const bool moved = lastMove_.x != LONG_MIN && (pt.x != lastMove_.x || pt.y != lastMove_.y);
        if (outsideHook_ && moved && lowLevelCalls_ == lowLevelCallsAtLastMove_) {
            ::UnhookWindowsHookEx(outsideHook_);
            outsideHook_ = nullptr;
        }
        lastMove_ = pt;
        lowLevelCallsAtLastMove_ = lowLevelCalls_;
    }
    // The pointer is over the program (or a window of it holds the capture): watch for it
    // going elsewhere.
    if (!outsideHook_)
        outsideHook_ =
            ::SetWindowsHookExW(WH_MOUSE_LL, &PointerTracking::OutsideHookProc, ::GetModuleHandleW(nullptr), 0);
}

LRESULT CALLBACK PointerTracking::OutsideHookProc(int code, WPARAM wp, LPARAM lp) {
    // Called on the GUI thread for every move of the pointer on the desktop, before it is
    // delivered: only the test, the work is done in the message loop.
    PointerTracking& tracking = Instance();
    if (code == HC_ACTION) ++tracking.lowLevelCalls_;
    if (code == HC_ACTION && !tracking.leftPosted_ && !::GetCapture()) {
        const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
        if (!PointerOverThisProgram(m->pt) && ::PostMessageW(tracking.window_, kPointerLeftMessage, 0, 0))
            tracking.leftPosted_ = true;
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace fw
