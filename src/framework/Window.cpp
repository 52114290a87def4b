#include "framework/Window.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Error.h"

namespace fw {

void Window::RegisterClassOnce(const WindowParams& p) {
    // The classes registered so far, remembered here: asking the system whether a class
    // exists (GetClassInfoEx) costs a millisecond under Wine, where the manifest's class
    // redirection is looked through first.
    static std::mutex lock;
    static std::vector<std::wstring> registered;
    std::lock_guard<std::mutex> hold(lock);
    if (std::find(registered.begin(), registered.end(), p.className) != registered.end()) return;
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = p.classStyle;
    wc.lpfnWndProc = &Window::StaticProc;
    wc.hInstance = inst;
    wc.hCursor = p.cursor ? p.cursor : ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = p.icon;
    wc.lpszClassName = p.className;
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw OutOfResources(L"Cannot register window class");
    registered.push_back(p.className);
}

Window::~Window() { DestroyHandle(); }

void Window::DestroyHandle() {
    if (hwnd_) {
        HandleDestroying();      // for windows of other classes, which send us no WM_NCDESTROY
        ::DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
    }
    hwnd_ = nullptr;
}

Window* Window::FromHandle(HWND wnd) {
    if (!wnd) return nullptr;
    // Only the windows that our procedure serves keep the object in GWLP_USERDATA, and only
    // those of this process hold a pointer into it.
    if (::GetWindowLongPtrW(wnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Window::StaticProc)) return nullptr;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid != ::GetCurrentProcessId()) return nullptr;
    return reinterpret_cast<Window*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
}

void Window::CreateHandle(const WindowParams& p) {
    RegisterClassOnce(p);
    HWND wnd = ::CreateWindowExW(p.exStyle, p.className, p.caption.c_str(), p.style, p.x, p.y, p.width, p.height,
                                 p.parent, nullptr, ::GetModuleHandleW(nullptr), this);
    if (!wnd) throw OutOfResources(L"Error creating window");
    hwnd_ = wnd;
    HandleCreated();
}

LRESULT Window::OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

LRESULT CALLBACK Window::StaticProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = wnd;
        ::SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(wnd, msg, wp, lp);  // WM_GETMINMAXINFO arrives first
    if (msg == WM_NCDESTROY) {
        self->HandleDestroying();
        ::SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return ::DefWindowProcW(wnd, msg, wp, lp);
    }
    try {
        return self->OnMessage(msg, wp, lp);
    } catch (...) {
        Application::Instance().HandleException(std::current_exception());
        return 0;
    }
}

}  // namespace fw
