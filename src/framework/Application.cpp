#include "framework/Application.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <utility>

#include "base/Text.h"
#include "framework/Error.h"
#include "framework/Form.h"
#include "framework/HintWindow.h"
#include "framework/SystemLibrary.h"

namespace fw {

namespace {
constexpr UINT_PTR kHintShowTimer = 1;  // the pointer rested long enough: show the tip
constexpr UINT_PTR kHintHideTimer = 2;  // the tip has been shown long enough
constexpr UINT kHintPause = 500, kHintHidePause = 2500;

bool BelongsToThisProgram(HWND wnd) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    return pid == ::GetCurrentProcessId();
}

bool PointerOverThisProgram(POINT pt) {
    HWND under = ::WindowFromPoint(pt);
    return under && BelongsToThisProgram(under);
}

bool IsMouseMessage(UINT msg) {
    return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK);
}
}  // namespace

Application& Application::Instance() {
    static Application* app = new Application();  // lives as long as the process
    return *app;
}

void Application::Initialize() {
    if (hwnd_) return;
    mainThread_ = ::GetCurrentThreadId();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    // COM, which the shell's dialogs want, is set up when one of them is first used
    // (fw::RequireOle): starting does not pay for it.
    syncEvent_.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    icon_ = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!icon_) icon_ = ::LoadIconW(nullptr, IDI_APPLICATION);

    // A zero-size window in the middle of the screen: it carries the taskbar button and owns
    // the ordinary forms, so they disappear with it when the application is minimized.
    WindowParams p;
    p.className = L"FwApplication";
    p.caption = title_;
    p.style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
    p.x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
    p.y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
    p.width = p.height = 0;
    p.icon = icon_;
    CreateHandle(p);  // the window class carries the icon to the taskbar and the task list
    SetLeaveTracking(RunningUnderWine() ? LeaveTracking::Hooks : LeaveTracking::System);
    // The images drawn for the screen's dpi, for the taskbar button and the task switcher.
    WindowDc screen(nullptr);
    const int dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
    icons_.Apply(hwnd_, dpi > 0 ? dpi : 96);
}

void Application::SetTitle(const std::wstring& title) {
    title_ = title;
    if (hwnd_) ::SetWindowTextW(hwnd_, title_.c_str());
}

void Application::RegisterForm(Form* form) {
    forms_.push_back(form);
    if (!mainForm_) mainForm_ = form;
}

void Application::UnregisterForm(Form* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (mainForm_ == form) mainForm_ = nullptr;
}

bool Application::InForeground() const {
    HWND foreground = ::GetForegroundWindow();
    return !foreground || BelongsToThisProgram(foreground);
}

// ---- minimize and restore

void Application::Minimize() {
    if (!hwnd_ || ::IsIconic(hwnd_)) return;
    ::ShowWindow(hwnd_, SW_MINIMIZE);  // WM_SIZE finishes the job
}

void Application::Restore() {
    if (!hwnd_ || !::IsIconic(hwnd_)) return;
    ::ShowWindow(hwnd_, SW_RESTORE);
}

void Application::HideOwnedForms() {
    hiddenByMinimize_.clear();
    for (Form* f : forms_) {
        HWND h = f->Handle();
        if (h && ::GetWindow(h, GW_OWNER) == hwnd_ && ::IsWindowVisible(h)) {
            hiddenByMinimize_.push_back(h);
            ::ShowWindow(h, SW_HIDE);
        }
    }
}

void Application::ShowOwnedForms() {
    for (HWND h : hiddenByMinimize_)
        if (::IsWindow(h)) ::ShowWindow(h, SW_SHOWNA);
    hiddenByMinimize_.clear();
    if (mainForm_ && mainForm_->Handle() && ::IsWindowVisible(mainForm_->Handle()))
        ::SetForegroundWindow(mainForm_->Handle());
}

// ---- the message loop

void Application::ShowMainWindows() {
    // Shown without being made active: the main form, shown next, takes the activation, and
    // one activation instead of two is quicker to start.
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    if (mainForm_) mainForm_->ShowForm();
}

void Application::Run() {
    ShowMainWindows();
    while (!terminated_) {
        MSG msg;
        BOOL r = ::GetMessageW(&msg, nullptr, 0, 0);
        if (r <= 0) break;
        Dispatch(msg);
    }
    terminated_ = true;
}

void Application::Terminate() {
    terminated_ = true;
    ::PostQuitMessage(0);
}

bool Application::HandleMessage() {
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        ::PostQuitMessage(int(msg.wParam));  // leave it for the outer loop
        return false;
    }
    Dispatch(msg);
    return true;
}

void Application::Dispatch(MSG& msg) {
    if (PreTranslate(msg)) return;
    // A move over another window than the one the system tracks: that one has been left. Windows
    // tells it before the move arrives; Wine's tracking, which looks with a timer, may not have
    // yet, and a common control asks for its own tracking only once no other is under way.
    if (leaveTracking_ == LeaveTracking::System && (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE))
        EndSystemTracking(msg.hwnd);
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    if (leaveTracking_ == LeaveTracking::Hooks) {
        if (IsMouseMessage(msg.message)) TakeOverLeaveTracking();
    } else if (IsMouseMessage(msg.message) || msg.message == WM_MOUSELEAVE || msg.message == WM_NCMOUSELEAVE) {
        LeaveBySystem(msg);
    }
}

void Application::ProcessMessages() {
    while (HandleMessage()) {}
}

bool Application::PreTranslate(MSG& msg) {
    try {
        if (msg.message == WM_MOUSEMOVE) {
            // Windowed controls of the common-control classes report here; our containers
            // work out the windowless control under the pointer themselves.
            WinControl* c = WinControl::FromHandle(msg.hwnd);
            if (c && !dynamic_cast<Container*>(c)) HintMouseMove(c);
        }
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
            HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
            Form* form = Form::FromHandle(root);
            if (form) {
                if (form->KeyPreview() && (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP ||
                                           msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSKEYUP)) {
                    if (form->PreviewKey(msg)) return true;  // the handler kept the key
                }
                // Tab, arrows, ENTER for the default button and access keys, as in a dialog;
                // the key still reaches the control with the focus.
                if (form->Handle() && ::IsWindow(form->Handle()) && !form->Controls().empty() &&
                    ::IsDialogMessageW(form->Handle(), &msg))
                    return true;
            }
        }
    } catch (...) {
        HandleException(std::current_exception());
    }
    return false;
}

// ---- errors and message boxes

void Application::HandleException(std::exception_ptr error) {
    std::wstring message;
    try {
        std::rethrow_exception(error);
    } catch (const Error& e) {
        message = e.Message();
    } catch (const std::exception& e) {
        message = Widen(e.what());
    } catch (...) {
        message = L"Unknown error";
    }
    ShowException(message);
}

void Application::ShowException(const std::wstring& message) {
    ShowMessage(base::WithFullStop(message), title_, MB_OK | MB_ICONERROR);
}

int Application::ShowMessage(const std::wstring& text, const std::wstring& caption, UINT flags) {
    CancelHint();
    if (messageBoxHook) return messageBoxHook(text, caption, flags);
    HWND owner = ::GetActiveWindow();
    if (!owner && mainForm_) owner = mainForm_->Handle();
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

// ---- hand-over from worker threads

void Application::Synchronize(const std::function<void()>& call) {
    if (::GetCurrentThreadId() == mainThread_) {
        call();
        return;
    }
    SyncCall entry{&call, ::CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr};
    // Without its event the entry could not be waited for, and it lives on this stack.
    if (!entry.done) throw OutOfResources();
    {
        std::lock_guard<std::mutex> lock(syncLock_);
        syncQueue_.push_back(&entry);
        ::SetEvent(syncEvent_.Get());
    }
    ::PostMessageW(hwnd_, kSyncMessage, 0, 0);
    ::WaitForSingleObject(entry.done, INFINITE);
    ::CloseHandle(entry.done);
    if (entry.error) std::rethrow_exception(entry.error);
}

bool Application::CheckSynchronize() {
    if (::GetCurrentThreadId() != mainThread_) return false;
    bool ran = false;
    for (;;) {
        SyncCall* entry = nullptr;
        {
            std::lock_guard<std::mutex> lock(syncLock_);
            if (syncQueue_.empty()) {
                ::ResetEvent(syncEvent_.Get());
                return ran;
            }
            entry = syncQueue_.front();
            syncQueue_.pop_front();
        }
        try {
            (*entry->call)();
        } catch (...) {
            entry->error = std::current_exception();
        }
        ran = true;
        ::SetEvent(entry->done);
    }
}

// ---- the program-wide cursor

void Application::SetScreenCursor(HCURSOR cursor) {
    screenCursor_ = cursor;
    // The window under the pointer chooses its cursor again at once: the new program-wide one
    // over a client area of ours, its own over a title bar or border, or, with the default
    // back, whatever it shows by itself.
    POINT pt;
    ::GetCursorPos(&pt);
    HWND under = ::WindowFromPoint(pt);
    if (under && BelongsToThisProgram(under)) {
        LRESULT hit = ::SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
        ::SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
    } else {
        ::SetCursor(cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW));
    }
}

HCURSOR Application::CursorById(int id) const {
    auto it = cursors_.find(id);
    return it == cursors_.end() ? nullptr : it->second;
}

// ---- leaving the program

void Application::SetLeaveTracking(LeaveTracking tracking) {
    // What the other way was watching ends here: a window waiting for its leave is told now.
    SendLeave();
    EndSystemTracking(nullptr);
    for (HHOOK* hook : {&outsideHook_, &mouseHook_}) {
        if (*hook) ::UnhookWindowsHookEx(*hook);
        *hook = nullptr;
    }
    leftPosted_ = false;
    leaveTracking_ = tracking;
    if (tracking == LeaveTracking::Hooks)
        mouseHook_ = ::SetWindowsHookExW(WH_MOUSE, &Application::MouseHookProc, nullptr, mainThread_);
}

bool Application::TrackMouseLeave(HWND wnd) {
    if (leaveTracking_ == LeaveTracking::Hooks) return TrackLeave(wnd, false);
    return TrackBySystem(wnd, false);
}

bool Application::TrackBySystem(HWND wnd, bool nonClient) {
    if (!wnd) return false;
    // A window already tracked keeps what it asked for (a common control its hover as well).
    TRACKMOUSEEVENT t{sizeof t, TME_QUERY, nullptr, 0};
    if (::TrackMouseEvent(&t) && t.hwndTrack == wnd && (t.dwFlags & TME_LEAVE) &&
        ((t.dwFlags & TME_NONCLIENT) != 0) == nonClient)
        return true;
    TRACKMOUSEEVENT track{sizeof track, DWORD(TME_LEAVE | (nonClient ? TME_NONCLIENT : 0)), wnd, 0};
    return ::TrackMouseEvent(&track) != FALSE;
}

void Application::EndSystemTracking(HWND now) {
    TRACKMOUSEEVENT t{sizeof t, TME_QUERY, nullptr, 0};
    if (!::TrackMouseEvent(&t) || !t.hwndTrack || t.hwndTrack == now || !(t.dwFlags & TME_LEAVE)) return;
    TRACKMOUSEEVENT cancel{sizeof cancel, TME_CANCEL | TME_LEAVE | (t.dwFlags & TME_NONCLIENT), t.hwndTrack, 0};
    if (::TrackMouseEvent(&cancel) && ::IsWindow(t.hwndTrack))
        ::SendMessageW(t.hwndTrack, (t.dwFlags & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

void Application::LeaveBySystem(const MSG& msg) {
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

bool Application::TrackLeave(HWND wnd, bool nonClient) {
    if (!mouseHook_ || !wnd) return false;
    if (leaveWindow_ != wnd || leaveNonClient_ != nonClient) {
        SendLeave();
        leaveWindow_ = wnd;
        leaveNonClient_ = nonClient;
    }
    return true;
}

void Application::SendLeave() {
    // Sent, not posted: the window under the pointer now must not see the previous window's
    // state (a program-wide cursor, say) in the WM_SETCURSOR that comes before its first move.
    if (HWND wnd = std::exchange(leaveWindow_, nullptr); wnd && ::IsWindow(wnd))
        ::SendMessageW(wnd, leaveNonClient_ ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

void Application::TakeOverLeaveTracking() {
    TRACKMOUSEEVENT t{sizeof t, TME_QUERY, nullptr, 0};
    if (!::TrackMouseEvent(&t) || !t.hwndTrack || !(t.dwFlags & TME_LEAVE) || !mouseHook_) return;
    // Only the leave: a hover asked for is the system's still, and its watch ends with it.
    TRACKMOUSEEVENT cancel{sizeof cancel, TME_CANCEL | TME_LEAVE, t.hwndTrack, 0};
    if (::TrackMouseEvent(&cancel)) TrackLeave(t.hwndTrack, (t.dwFlags & TME_NONCLIENT) != 0);
}

LRESULT CALLBACK Application::MouseHookProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) {
        const auto* m = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lp);
        try {
            Instance().MouseMessageSeen(m->hwnd, UINT(wp), m->pt, m->wHitTestCode);
        } catch (...) {
            Instance().HandleException(std::current_exception());
        }
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

void Application::MouseMessageSeen(HWND wnd, UINT msg, POINT pt, UINT hitTest) {
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
    if (!outsideHook_) InstallLowLevelHook();
}

void Application::InstallLowLevelHook() {
    outsideHook_ = ::SetWindowsHookExW(WH_MOUSE_LL, &Application::OutsideHookProc, ::GetModuleHandleW(nullptr), 0);
}

LRESULT CALLBACK Application::OutsideHookProc(int code, WPARAM wp, LPARAM lp) {
    // Called on the GUI thread for every move of the pointer on the desktop, before it is
    // delivered: only the test, the work is done in the message loop.
    Application& app = Instance();
    if (code == HC_ACTION) ++app.lowLevelCalls_;
    if (code == HC_ACTION && !app.leftPosted_ && !::GetCapture()) {
        const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
        if (!PointerOverThisProgram(m->pt) && ::PostMessageW(app.hwnd_, kPointerLeftMessage, 0, 0))
            app.leftPosted_ = true;
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

void Application::PointerLeft() {
    leftPosted_ = false;
    if (outsideHook_) {
        ::UnhookWindowsHookEx(outsideHook_);
        outsideHook_ = nullptr;
    }
    SendLeave();
    CancelHint();
    if (!hintControl_) return;
    hintControl_ = nullptr;
    if (onHint) onHint(std::wstring());
}

// ---- hints

void Application::HintMouseMove(Control* control) {
    if (control == hintControl_) return;
    CancelHint();
    hintControl_ = control;
    if (onHint) onHint(control ? std::wstring(base::LongHint(control->Hint())) : std::wstring());
    if (hwnd_ && control && !control->Hint().empty()) ::SetTimer(hwnd_, kHintShowTimer, kHintPause, nullptr);
}

void Application::CancelHint() {
    if (hwnd_) {
        ::KillTimer(hwnd_, kHintShowTimer);
        ::KillTimer(hwnd_, kHintHideTimer);
    }
    if (hintWindow_) hintWindow_->HideHint();
}

void Application::ForgetControl(Control* control) {
    if (hintControl_ != control) return;
    CancelHint();
    hintControl_ = nullptr;
}

void Application::ShowHintNow() {
    ::KillTimer(hwnd_, kHintShowTimer);
    if (!hintControl_ || hintControl_->Hint().empty() || !hintControl_->Showing()) return;
    POINT pt;
    ::GetCursorPos(&pt);
    // A pointer that went where no mouse message of Windows' tells (under Wine, onto a window
    // of another X program) gets no tip there.
    if (!PointerOverThisProgram(pt)) {
        PointerLeft();
        return;
    }
    if (!hintWindow_) hintWindow_ = new HintWindow();  // lives as long as the application
    hintWindow_->ShowAt(POINT{pt.x, pt.y + 20}, std::wstring(base::ShortHint(hintControl_->Hint())));
    ::SetTimer(hwnd_, kHintHideTimer, kHintHidePause, nullptr);
}

// ---- the application window's messages

void Application::OnSize(WPARAM kind) {
    if (kind == SIZE_MINIMIZED && !minimized_) {
        minimized_ = true;
        HideOwnedForms();
        if (onMinimize) onMinimize();
    } else if ((kind == SIZE_RESTORED || kind == SIZE_MAXIMIZED) && minimized_) {
        minimized_ = false;
        ShowOwnedForms();
        if (onRestore) onRestore();
    }
}

bool Application::OnSysCommand(WPARAM command) {
    switch (command & 0xFFF0) {
    case SC_MINIMIZE:
        Minimize();
        return true;
    case SC_RESTORE:
        Restore();
        return true;
    case SC_CLOSE:
        if (mainForm_) mainForm_->Close();
        return true;
    default:
        return false;
    }
}

void Application::OnSetFocus() {
    // A click on the taskbar button activates this zero-size window: pass it on.
    if (mainForm_ && mainForm_->Handle() && ::IsWindowVisible(mainForm_->Handle()) && !minimized_)
        ::SetFocus(mainForm_->Handle());
}

void Application::OnTimer(UINT_PTR id) {
    if (id == kHintShowTimer) {
        ShowHintNow();
    } else if (id == kHintHideTimer) {
        ::KillTimer(hwnd_, kHintHideTimer);
        if (hintWindow_) hintWindow_->HideHint();
    }
}

LRESULT Application::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case kSyncMessage:
        CheckSynchronize();
        return 0;
    case kPointerLeftMessage:
        PointerLeft();
        return 0;
    case WM_SIZE:
        OnSize(wp);
        return 0;
    case WM_SYSCOMMAND:
        if (OnSysCommand(wp)) return 0;
        break;
    case WM_CLOSE:
        if (mainForm_) mainForm_->Close();
        return 0;
    case WM_SETFOCUS:
        OnSetFocus();
        return 0;
    case WM_TIMER:
        OnTimer(wp);
        return 0;
    default:
        break;
    }
    return Default(msg, wp, lp);
}

}  // namespace fw
