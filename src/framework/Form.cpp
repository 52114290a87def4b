#include "framework/Form.h"

#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/SystemLibrary.h"

namespace fw {

namespace {

// Where the desktop is composed (always from Windows 8 on; on Windows 7 with Aero), what a
// window draws reaches the screen at the compositor's next frame; DwmFlush waits for it
// (learn.microsoft.com: DwmFlush, DwmIsCompositionEnabled). Loaded on first use.
void WaitForComposition() {
    using IsCompositionEnabledFn = HRESULT WINAPI(BOOL*);
    using FlushFn = HRESULT WINAPI();
    static auto* isEnabled = OptionalSystemFunction<IsCompositionEnabledFn>(L"dwmapi.dll", "DwmIsCompositionEnabled");
    static auto* flush = OptionalSystemFunction<FlushFn>(L"dwmapi.dll", "DwmFlush");
    BOOL composed = FALSE;
    if (isEnabled && flush && SUCCEEDED(isEnabled(&composed)) && composed) flush();
}

// WM_GETDPISCALEDSIZE, which the headers give only for Windows 10 and later.
constexpr UINT kGetDpiScaledSize = 0x02E4;

}  // namespace

Form::Form(std::wstring name) : Container(nullptr, std::move(name)) {
    visible_ = false;
    WindowDc screen(nullptr);
    dpi_ = ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
    if (dpi_ <= 0) dpi_ = 96;
    Application::Instance().RegisterForm(this);
}

Form::~Form() {
    Application::Instance().UnregisterForm(this);
    DestroyHandle();
}

Form* Form::FromHandle(HWND wnd) { return dynamic_cast<Form*>(Window::FromHandle(wnd)); }

void Form::CreateParams(WindowParams&) {}

WindowParams Form::Params() {
    WindowParams p;
    p.className = L"FwForm";
    p.classStyle = CS_DBLCLKS;
    p.caption = text_;
    if (borderNone_) {
        p.style = WS_POPUP;
    } else {
        p.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
        if (minimizeBox_) p.style |= WS_MINIMIZEBOX;
        if (maximizeBox_) p.style |= WS_MAXIMIZEBOX;
        if (resizable_) p.style |= WS_THICKFRAME;
    }
    p.style |= WS_CLIPCHILDREN;
    p.exStyle = WS_EX_CONTROLPARENT;
    p.x = Left();
    p.y = Top();
    p.width = Width();
    p.height = Height();
    p.parent = Application::Instance().Handle();
    p.icon = Application::Instance().Icon();
    CreateParams(p);
    return p;
}

std::function<int(HWND)> Form::windowDpi = [](HWND wnd) {
    // The screen's dpi is the system's: with per-monitor awareness a window made on a monitor
    // of another scale has that monitor's, and gets no WM_DPICHANGED for it
    // (learn.microsoft.com: GetDpiForWindow, "High DPI Desktop Application Development").
    using GetDpiForWindowFn = UINT WINAPI(HWND);
    static auto* getDpiForWindow = reinterpret_cast<GetDpiForWindowFn*>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow) return int(getDpiForWindow(wnd));
    WindowDc screen(nullptr);
    return ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
};

void Form::CreateForm() {
    loading_ = true;
    CreateWnd();
    AdoptWindowDpi();
    loading_ = false;
    DoCreate();
}

void Form::AdoptWindowDpi() {
    if (!hwnd_ || !FollowsDpi()) return;
    const int dpi = windowDpi ? windowDpi(hwnd_) : 0;
    if (dpi <= 0 || dpi == dpi_) return;
    const SIZE size = SizeAtDpi(dpi);
    ChangeDpi(dpi, RECT{Left(), Top(), Left() + size.cx, Top() + size.cy});
}

SIZE Form::SizeAtDpi(int dpi) const {
    if (!FollowsDpi() || dpi <= 0) return SIZE{Width(), Height()};
    return SIZE{::MulDiv(Width(), dpi, dpi_), ::MulDiv(Height(), dpi, dpi_)};
}

void Form::HandleCreated() {
    Container::HandleCreated();
    ApplyColorKey();
    // The class's icon has the screen's sizes; a form with a caption shows those of its dpi.
    if (!borderNone_) icons_.Apply(hwnd_, dpi_);
    if (formStyle_ == FormStyle::StayOnTop)
        ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form::ApplyColorKey() {
    if (!hwnd_ || !transparentColor_) return;
    LONG ex = ::GetWindowLongW(hwnd_, GWL_EXSTYLE);
    if (!(ex & WS_EX_LAYERED)) ::SetWindowLongW(hwnd_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(hwnd_, ToRgb(transparentColorValue_), 255, LWA_COLORKEY);
}

void Form::SetTransparentColor(bool on, Color value) {
    transparentColor_ = on;
    transparentColorValue_ = value;
    ApplyColorKey();
}

void Form::ShowAndRunShowHandler() {
    DoShow();
    if (!hwnd_ || !visible_) return;
    int show = windowState_ == WindowState::Minimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    if (!activateOnShow_) show = windowState_ == WindowState::Minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE;
    ::ShowWindow(hwnd_, show);
}

void Form::VisibleChanged() {
    if (!hwnd_) return;
    if (visible_)
        ShowAndRunShowHandler();
    else
        ::ShowWindow(hwnd_, SW_HIDE);
}

void Form::ShowForm() {
    SetVisible(true);
    if (hwnd_)
        ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | (activateOnShow_ ? 0 : SWP_NOACTIVATE));
}

void Form::ShowFormInactive() {
    struct Restore {
        bool& flag;
        ~Restore() { flag = true; }
    } restore{activateOnShow_};
    activateOnShow_ = false;
    ShowForm();
}

void Form::HideForm() { SetVisible(false); }

void Form::Close() {
    bool isMain = Application::Instance().MainWindow() == this;
    CloseAction action = isMain ? CloseAction::Free : CloseAction::Hide;
    DoClose(action);
    if (action == CloseAction::None) return;
    HideForm();
    if (isMain) Application::Instance().Terminate();
}

void Form::FocusForm() {
    if (!hwnd_ || !visible_ || !enabled_ || !::IsWindowVisible(hwnd_))
        throw Error(L"Cannot focus a disabled or invisible window");
    // From the background, SetForegroundWindow flashes the window's taskbar button or, once
    // the foreground lock time-out has run out, takes the activation from the program the
    // person works in, and SetActiveWindow and SetFocus activate the window within the
    // program's input state (learn.microsoft.com: SetForegroundWindow, SetActiveWindow,
    // SetFocus). A capture made while another program is in use leaves that program alone.
    if (!Application::Instance().InForeground()) return;
    ::SetForegroundWindow(hwnd_);
    ::SetActiveWindow(hwnd_);
    if (::GetFocus() != hwnd_ && !::IsChild(hwnd_, ::GetFocus())) ::SetFocus(hwnd_);
}

void Form::PaintNow() {
    if (!hwnd_) return;
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::GdiFlush();
    WaitForComposition();
}

void Form::SetFormStyle(FormStyle style) {
    if (style == formStyle_) return;
    formStyle_ = style;
    if (!hwnd_) return;
    // Making the window anew is emulated: what a user or a handler can observe is the same,
    // the topmost state, the colour key applied again, the window on top and the show
    // handler run again while the form is visible; position, size and visibility are kept.
    ::SetWindowPos(hwnd_, style == FormStyle::StayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (style == FormStyle::Normal && (::GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        // Some window managers (Wine's) keep an owned window topmost: let go of the owner for
        // the change, as a window made anew without the topmost style would be.
        HWND owner = ::GetWindow(hwnd_, GW_OWNER);
        ::SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, 0);
        ::SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ::SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    }
    ApplyColorKey();
    if (visible_ && ::IsWindowVisible(hwnd_)) {
        DoShow();
        if (style == FormStyle::Normal)
            ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void Form::SetWindowState(WindowState state) {
    if (state == windowState_) return;
    windowState_ = state;
    if (!hwnd_ || !visible_ || !::IsWindowVisible(hwnd_)) return;
    if (state == WindowState::Minimized) {
        ::ShowWindow(hwnd_, SW_MINIMIZE);
    } else if (Application::Instance().InForeground()) {
        ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    } else {
        // Back without the activation. A window restored from minimized also takes the
        // thread's keyboard focus, which on Windows stays within the program's own input
        // state; under Wine it takes the keyboard of the whole desktop from the program in
        // use. A disabled window takes no focus, so the form is disabled while it comes back.
        const bool enabled = ::IsWindowEnabled(hwnd_) != FALSE;
        ::EnableWindow(hwnd_, FALSE);
        ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        ::EnableWindow(hwnd_, enabled ? TRUE : FALSE);
    }
}

void Form::BoundsChanged() {
    if (hwnd_ && !settingBounds_)
        ::SetWindowPos(hwnd_, nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    Realign();
}

void Form::ChangeDpi(int dpi, const RECT& suggested) {
    if (dpi <= 0 || !FollowsDpi()) return;
    const int old = dpi_;
    if (dpi != old) {
        dpi_ = dpi;
        auto scale = [&](int v) { return ::MulDiv(v, dpi, old); };
        minWidth_ = scale(minWidth_);
        minHeight_ = scale(minHeight_);
        maxWidth_ = scale(maxWidth_);
        maxHeight_ = scale(maxHeight_);
        for (Control* c : controls_) c->ScaleForDpi(old, dpi);
        if (hwnd_ && !borderNone_) icons_.Apply(hwnd_, dpi_);
        FontChanged();
        DoDpiChanged();
    }
    SetBounds(suggested.left, suggested.top, suggested.right - suggested.left, suggested.bottom - suggested.top);
    Realign();
    if (hwnd_) ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool Form::PreviewKey(const MSG& msg) {
    WORD key = WORD(msg.wParam);
    ShiftState shift = ShiftFromKeyboard();
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)
        DoKeyDown(key, shift);
    else
        DoKeyUp(key, shift);
    return key == 0;
}

void Form::PaintSelf(HDC dc) {
    CanvasAttach attach(canvas_, dc);
    DoPaint();
}

void Form::OnGetMinMaxInfo(MINMAXINFO& mmi) const {
    if (minWidth_) mmi.ptMinTrackSize.x = minWidth_;
    if (minHeight_) mmi.ptMinTrackSize.y = minHeight_;
    if (maxWidth_) mmi.ptMaxTrackSize.x = mmi.ptMaxSize.x = maxWidth_;
    if (maxHeight_) mmi.ptMaxTrackSize.y = mmi.ptMaxSize.y = maxHeight_;
}

bool Form::OnSysCommand(WPARAM command) {
    // Minimizing the main form minimizes the whole application, as its taskbar button does.
    if ((command & 0xFFF0) != SC_MINIMIZE || Application::Instance().MainWindow() != this) return false;
    Application::Instance().Minimize();
    return true;
}

void Form::OnWindowPosChanged() {
    RECT r;
    ::GetWindowRect(hwnd_, &r);
    if (::IsIconic(hwnd_)) return;
    settingBounds_ = true;
    SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    settingBounds_ = false;
}

void Form::OnSize(WPARAM kind) {
    if (kind == SIZE_MINIMIZED)
        windowState_ = WindowState::Minimized;
    else if (kind == SIZE_RESTORED)
        windowState_ = WindowState::Normal;
    if (kind == SIZE_MINIMIZED) return;
    Realign();
    DoResize();
}

LRESULT Form::OnGetDefId() const {
    for (WinControl* b : defaultButtons_)
        if (b->Handle() && b->Showing()) return MAKELONG(::GetDlgCtrlID(b->Handle()), DC_HASDEFID);
    return 0;
}

LRESULT Form::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lp));
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_SYSCOMMAND:
        if (OnSysCommand(wp)) return 0;
        break;
    case WM_WINDOWPOSCHANGED:
        OnWindowPosChanged();
        break;
    case WM_SIZE:
        OnSize(wp);
        return Default(msg, wp, lp);
    case WM_MOVING:
        DoMoving();
        break;
    case kGetDpiScaledSize:
        // Sent before WM_DPICHANGED (Windows 10 1703 on): the size that message then suggests.
        *reinterpret_cast<SIZE*>(lp) = SizeAtDpi(int(wp));
        return TRUE;
    case WM_DPICHANGED:
        // A form that keeps physical pixels stays as it is.
        if (FollowsDpi()) ChangeDpi(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return 0;
    case DM_GETDEFID:
        return OnGetDefId();
    default:
        break;
    }
    return Container::OnMessage(msg, wp, lp);
}

}  // namespace fw
