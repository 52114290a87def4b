#pragma once
// The application object: the hidden application window that carries the program's taskbar
// button and owns the ordinary forms, the title, the hint colour, the minimize/restore
// notifications, the message loop with key preview and dialog navigation, the hand-over of
// calls from worker threads, the program-wide cursor and the error display.
#include <windows.h>

#include <atomic>
#include <climits>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "framework/Color.h"
#include "framework/Gdi.h"
#include "framework/ScaledResource.h"
#include "framework/Window.h"

namespace fw {

class Form;
class Control;
class HintWindow;

class Application : public Window {
public:
    static Application& Instance();

    // Creates the hidden application window. Safe to call more than once.
    void Initialize();

    const std::wstring& Title() const { return title_; }
    void SetTitle(const std::wstring& title);
    Color HintColor() const { return hintColor_; }
    void SetHintColor(Color c) { hintColor_ = c; }
    HICON Icon() const { return icon_; }

    // Notification slots: run after the application's own minimize or restore, and only when
    // its state really changed.
    std::function<void()> onMinimize;
    std::function<void()> onRestore;
    // The long part of the hint of the control under the pointer ("" when none).
    std::function<void(const std::wstring&)> onHint;

    Form* MainForm() const { return mainForm_; }
    void RegisterForm(Form* form);  // the first form registered becomes the main form
    void UnregisterForm(Form* form);
    const std::vector<Form*>& Forms() const { return forms_; }

    // True when the foreground window is one of the program's, or there is none. The program
    // may then move the activation and the keyboard among its own windows; while another
    // program is in the foreground, what the program does keeps them where they are.
    bool InForeground() const;

    void Minimize();
    void Restore();
    bool Minimized() const { return ::IsIconic(hwnd_) != FALSE; }

    // Shows the application window (the taskbar button) and the main form, whose show handler
    // shows what else shows at start.
    void ShowMainWindows();
    // Shows the main windows and runs the message loop until Terminate.
    void Run();
    void Terminate();
    // Read by workers too.
    bool Terminated() const { return terminated_; }
    // Handles every waiting message, then returns.
    void ProcessMessages();
    // Handles one message if there is one; false when the queue was empty.
    bool HandleMessage();

    // The barrier of every callback hands its error here: it is shown and the program goes on.
    void HandleException(std::exception_ptr error);
    void ShowException(const std::wstring& message);
    // A modal message box (MessageBoxW's flags and answer); tests may replace it.
    int ShowMessage(const std::wstring& text, const std::wstring& caption, UINT flags);
    std::function<int(const std::wstring& text, const std::wstring& caption, UINT flags)> messageBoxHook;

    // Runs a call on the GUI thread and waits for it; from the GUI thread it runs at once.
    // Throws fw::OutOfResources, with nothing queued, when the wait cannot be set up.
    void Synchronize(const std::function<void()>& call);
    // Runs the hand-overs that workers have queued; true when one ran.
    bool CheckSynchronize();
    // Signalled while hand-overs wait; a GUI thread that blocks should wait on it too.
    HANDLE SyncEvent() const { return syncEvent_.Get(); }
    DWORD MainThreadId() const { return mainThread_; }

    // The program-wide cursor: while not null every window of the program shows it.
    HCURSOR ScreenCursor() const { return screenCursor_; }
    void SetScreenCursor(HCURSOR cursor);
    // Numbered cursors registered by libraries (e.g. 99, the hand point).
    void RegisterCursor(int id, HCURSOR cursor) { cursors_[id] = cursor; }
    HCURSOR CursorById(int id) const;

    // Hint tracking, fed by the message loop and by containers for windowless controls.
    // The hint ends when the pointer leaves the program.
    void HintMouseMove(Control* control);
    void CancelHint();
    Control* HintControl() const { return hintControl_; }
    // A control that goes away stops being the hint control.
    void ForgetControl(Control* control);

    // WM_MOUSELEAVE is sent to the window once the pointer leaves its client area: for another
    // window, its non-client area, or a place outside the program. False when it cannot watch.
    bool TrackMouseLeave(HWND wnd);

    // How the pointer's leaving a window, and the program, is seen.
    //  - System: TrackMouseEvent, for our windows and (their own) for the common controls; on
    //    Windows it costs nothing while the pointer rests. The program's leaving is seen in
    //    the WM_MOUSELEAVE that the message loop passes on.
    //  - Hooks: Wine's TrackMouseEvent watches the pointer with a timer for as long as it
    //    tracks (every millisecond for comctl32's buttons). A mouse hook on the GUI thread sees
    //    every mouse message it takes, in any message loop, and while the pointer is over the
    //    program a low-level hook sees it go elsewhere; the leave that a common control asks
    //    TrackMouseEvent for is taken over the same way. Nothing runs while the pointer rests.
    //    A low-level hook runs on the GUI thread for every pointer move of the whole desktop,
    //    which on Windows would wait for that thread (and Windows removes a hook that keeps it
    //    waiting: learn.microsoft.com, LowLevelMouseProc); it is used only under Wine, and is
    //    installed again when the pointer moves without it having seen the move.
    // Initialize chooses Hooks under Wine and System elsewhere.
    enum class LeaveTracking { System, Hooks };
    LeaveTracking GetLeaveTracking() const { return leaveTracking_; }
    void SetLeaveTracking(LeaveTracking tracking);
    // The low-level hook while the pointer is over the program (Hooks), else null.
    HHOOK LowLevelHook() const { return outsideHook_; }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    Application() = default;
    // Key preview, dialog keys, then the window procedure: one message of a loop.
    void Dispatch(MSG& msg);
    bool PreTranslate(MSG& msg);
    void OnSize(WPARAM kind);
    // True when the command was handled (minimize, restore, close).
    bool OnSysCommand(WPARAM command);
    void OnSetFocus();
    void OnTimer(UINT_PTR id);
    void HideOwnedForms();
    void ShowOwnedForms();
    void ShowHintNow();

    // Leave tracking with hooks. The thread's mouse hook sees every mouse message it takes,
    // in any message loop (modal ones too): the pointer is over the program, and over which
    // window. While it is, a low-level hook sees where the pointer moves; its first point
    // outside the program (without a capture) posts kPointerLeftMessage, which ends the hint
    // and the tracking and removes the low-level hook again.
    static LRESULT CALLBACK MouseHookProc(int code, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK OutsideHookProc(int code, WPARAM wp, LPARAM lp);
    void MouseMessageSeen(HWND wnd, UINT msg, POINT pt, UINT hitTest);
    void InstallLowLevelHook();
    void PointerLeft();
    void SendLeave();
    bool TrackLeave(HWND wnd, bool nonClient);
    // After a mouse message was handled: a TME_LEAVE that its window asked for becomes ours.
    void TakeOverLeaveTracking();
    // Leave tracking by the system: a mouse message of one of our windows asks for its leave;
    // a leave after which the pointer is over no window of the program is its leaving.
    void LeaveBySystem(const MSG& msg);
    bool TrackBySystem(HWND wnd, bool nonClient);
    // The system's tracking of a window other than `now` ends, and that window is told it was
    // left.
    void EndSystemTracking(HWND now);

    std::wstring title_;
    Color hintColor_ = kInfoBk;
    HICON icon_ = nullptr;  // the class icon, shared
    WindowIcons icons_;     // of the application window, for the screen's dpi
    Form* mainForm_ = nullptr;
    std::vector<Form*> forms_;
    std::vector<HWND> hiddenByMinimize_;
    bool minimized_ = false;
    std::atomic<bool> terminated_{false};
    DWORD mainThread_ = 0;

    struct SyncCall {
        const std::function<void()>* call;
        HANDLE done;
        std::exception_ptr error;
    };
    std::mutex syncLock_;
    std::deque<SyncCall*> syncQueue_;
    KernelHandle syncEvent_;

    HCURSOR screenCursor_ = nullptr;
    std::map<int, HCURSOR> cursors_;

    Control* hintControl_ = nullptr;
    HintWindow* hintWindow_ = nullptr;

    LeaveTracking leaveTracking_ = LeaveTracking::System;
    HHOOK mouseHook_ = nullptr;    // WH_MOUSE on the GUI thread (Hooks)
    HHOOK outsideHook_ = nullptr;  // WH_MOUSE_LL, while the pointer is over the program (Hooks)
    unsigned lowLevelCalls_ = 0;   // how often the low-level hook ran
    unsigned lowLevelCallsAtLastMove_ = 0;
    POINT lastMove_{LONG_MIN, LONG_MIN};  // of the last move the thread's hook saw
    bool leftPosted_ = false;             // kPointerLeftMessage is on its way
    HWND leaveWindow_ = nullptr;          // waits for its WM_MOUSELEAVE (or WM_NCMOUSELEAVE)
    bool leaveNonClient_ = false;         // leaveWindow_ tracks its non-client area
};

// Posted to the application window when a worker queues a hand-over.
inline constexpr UINT kSyncMessage = WM_APP + 0x100;
// Posted to the application window when the pointer has gone to a place outside the program.
inline constexpr UINT kPointerLeftMessage = WM_APP + 0x101;

}  // namespace fw
