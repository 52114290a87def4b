#include "framework/Application.h"

#include <commctrl.h>
#include <ole2.h>

#include <algorithm>

#include "base/Text.h"
#include "framework/Error.h"
#include "framework/Form.h"
#include "framework/HandOver.h"
#include "framework/Hints.h"
#include "framework/MessageLoop.h"
#include "framework/PointerTracking.h"

namespace fw {

Application& Application::Instance() {
    static Application* app = new Application();  // lives as long as the process
    return *app;
}

void Application::Initialize() {
    if (hwnd_) return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    // COM, which the shell's dialogs want, is set up when one of them is first used
    // (fw::RequireOle): starting does not pay for it.
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
    // Workers' calls and the pointer's leaving the program come to this window.
    HandOver::Instance().Start(hwnd_);
    PointerTracking::Instance().Start(hwnd_);
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
    if (!mainWindow_) mainWindow_ = form;
}

void Application::UnregisterForm(Form* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (mainWindow_ == form) mainWindow_ = nullptr;
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
    if (mainWindow_ && mainWindow_->Handle() && ::IsWindowVisible(mainWindow_->Handle()))
        ::SetForegroundWindow(mainWindow_->Handle());
}

// ---- the message loop

void Application::ShowMainWindows() {
    // Shown without being made active: the main form, shown next, takes the activation, and
    // one activation instead of two is quicker to start.
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    if (mainWindow_) mainWindow_->ShowForm();
}

void Application::Run() {
    ShowMainWindows();
    MessageLoop::RunUntil([this] { return terminated_.load(); });
    terminated_ = true;
}

void Application::Terminate() {
    terminated_ = true;
    ::PostQuitMessage(0);
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
    Hints::Instance().Cancel();
    if (messageBoxHook) return messageBoxHook(text, caption, flags);
    HWND owner = ::GetActiveWindow();
    if (!owner && mainWindow_) owner = mainWindow_->Handle();
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
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
        if (mainWindow_) mainWindow_->Close();
        return true;
    default:
        return false;
    }
}

void Application::OnSetFocus() {
    // A click on the taskbar button activates this zero-size window: pass it on.
    if (mainWindow_ && mainWindow_->Handle() && ::IsWindowVisible(mainWindow_->Handle()) && !minimized_)
        ::SetFocus(mainWindow_->Handle());
}

LRESULT Application::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case kSyncMessage:
        HandOver::Instance().CheckSynchronize();
        return 0;
    case kPointerLeftMessage:
        PointerTracking::Instance().PointerLeft();
        return 0;
    case WM_SIZE:
        OnSize(wp);
        return 0;
    case WM_SYSCOMMAND:
        if (OnSysCommand(wp)) return 0;
        break;
    case WM_CLOSE:
        if (mainWindow_) mainWindow_->Close();
        return 0;
    case WM_SETFOCUS:
        OnSetFocus();
        return 0;
    default:
        break;
    }
    return Default(msg, wp, lp);
}

}  // namespace fw
