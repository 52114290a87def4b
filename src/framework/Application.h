#pragma once
// The application object: the hidden application window that carries the program's taskbar
// button and owns the ordinary forms, the title, the hint colour, the minimize/restore
// notifications, the message loop with key preview and dialog navigation, the hand-over of
// calls from worker threads, the program-wide cursor and the error display.
#include <windows.h>

#include <atomic>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "framework/Color.h"
#include "framework/Gdi.h"
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

    void Minimize();
    void Restore();
    bool Minimized() const { return ::IsIconic(hwnd_) != FALSE; }

    // Shows the application window (the taskbar button) and the main form, whose show handler
    // shows what else shows at start.
    void ShowMainWindows();
    // Shows the main windows and runs the message loop until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Read by workers too.
    bool ShuttingDown() const { return terminated_; }
    // Handles every waiting message, then returns.
    void ProcessMessages();
    // Handles one message if there is one; false when the queue was empty.
    bool HandleMessage();

    // The barrier of every callback hands its error here: it is shown and the program goes on.
    void HandleException(std::exception_ptr error);
    void ShowException(const std::wstring& message);
    // A modal message box; tests may replace it.
    int MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);
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
    void HintMouseMove(Control* control);
    void CancelHint();
    Control* HintControl() const { return hintControl_; }
    // A control that goes away stops being the hint control.
    void ForgetControl(Control* control);

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    Application() = default;
    bool PreTranslate(MSG& msg);
    void HideOwnedForms();
    void ShowOwnedForms();
    void ShowHintNow();

    std::wstring title_;
    Color hintColor_ = kInfoBk;
    HICON icon_ = nullptr;
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
};

// Posted to the application window when a worker queues a hand-over.
inline constexpr UINT kSyncMessage = WM_APP + 0x100;

}  // namespace fw
