#pragma once
// Base of every object that owns a window: one of our own window classes, or (through
// WinControl) a common control. A window of ours has the object attached at WM_NCCREATE
// (pointer from lpCreateParams) and detached at WM_NCDESTROY; messages that come before
// (WM_GETMINMAXINFO is the first) go to DefWindowProcW. Nothing unwinds into user32:
// OnMessage runs behind a barrier that hands errors to the application. One table of the
// process maps every such window to its object (FromHandle).
#include <windows.h>

#include <string>

namespace fw {

struct WindowParams {
    const wchar_t* className = L"FwWindow";
    UINT classStyle = 0;
    std::wstring caption;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    HWND parent = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
};

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }
    void DestroyHandle();

    // The object behind a window of ours or of a common control we own, or nullptr.
    static Window* FromHandle(HWND wnd);

protected:
    void CreateHandle(const WindowParams& params);
    // For a window that another class's procedure serves (a common control): FromHandle finds
    // this object from `wnd` until Detach.
    void Attach(HWND wnd);
    void Detach();
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return ::DefWindowProcW(hwnd_, msg, wp, lp); }
    // Called once the handle exists (end of CreateHandle).
    virtual void HandleCreated() {}
    // Called at WM_NCDESTROY, while the handle is still valid: what was attached to the
    // window is taken off (an object being destroyed runs its own class's override).
    virtual void HandleDestroying() {}

    HWND hwnd_ = nullptr;

private:
    static void RegisterClassOnce(const WindowParams& params);
    static LRESULT CALLBACK StaticProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
};

}  // namespace fw
