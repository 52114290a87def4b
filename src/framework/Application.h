#pragma once
// The application object: the hidden application window that carries the program's taskbar
// button and owns the ordinary forms, the forms' minimize and restore together, the title, the
// hint colour, the program-wide cursor, and the error display. Its message loop is
// MessageLoop's; the hand-over from workers (HandOver), the pointer tracking (PointerTracking)
// and the hints (Hints) have files of their own.
#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/Color.h"
#include "framework/Gdi.h"
#include "framework/ScaledResource.h"
#include "framework/Window.h"

namespace fw {

class Form;

class Application : public Window {
public:
    static Application& Instance();

    // Creates the hidden application window, and starts the hand-over from workers
    // (HandOver) and the pointer tracking (PointerTracking) on it. Safe to call more than once.
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

    // The application's main window: the form registered first.
    Form* MainWindow() const { return mainWindow_; }
    void RegisterForm(Form* form);
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
    // Shows the main windows and runs the message loop (MessageLoop) until Terminate.
    void Run();
    void Terminate();
    // Read by workers too.
    bool Terminated() const { return terminated_; }

    // The barrier of every callback hands its error here: it is shown and the program goes on.
    void HandleException(std::exception_ptr error);
    void ShowException(const std::wstring& message);
    // A modal message box (MessageBoxW's flags and answer); tests may replace it.
    int ShowMessage(const std::wstring& text, const std::wstring& caption, UINT flags);
    std::function<int(const std::wstring& text, const std::wstring& caption, UINT flags)> messageBoxHook;

    // The program-wide cursor: while not null every window of the program shows it.
    HCURSOR ScreenCursor() const { return screenCursor_; }
    void SetScreenCursor(HCURSOR cursor);
    // Numbered cursors registered by libraries (e.g. 99, the hand point).
    void RegisterCursor(int id, HCURSOR cursor) { cursors_[id] = cursor; }
    HCURSOR CursorById(int id) const;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    Application() = default;
    void OnSize(WPARAM kind);
    // True when the command was handled (minimize, restore, close).
    bool OnSysCommand(WPARAM command);
    void OnSetFocus();
    void HideOwnedForms();
    void ShowOwnedForms();

    std::wstring title_;
    Color hintColor_ = kInfoBk;
    HICON icon_ = nullptr;  // the class icon, shared
    WindowIcons icons_;     // of the application window, for the screen's dpi
    Form* mainWindow_ = nullptr;
    std::vector<Form*> forms_;
    std::vector<HWND> hiddenByMinimize_;
    bool minimized_ = false;
    std::atomic<bool> terminated_{false};

    HCURSOR screenCursor_ = nullptr;
    std::map<int, HCURSOR> cursors_;
};

}  // namespace fw
