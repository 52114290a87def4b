#include "framework/Window.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/Application.h"
#include "framework/Error.h"

namespace fw {

namespace {

// Every window of ours, and every common control an object owns, with its object.
class Objects {
public:
    static void Set(HWND wnd, Window* object) {
        std::lock_guard<std::mutex> hold(lock_);
        if (object)
            map_[wnd] = object;
        else
            map_.erase(wnd);
    }
    static Window* Get(HWND wnd) {
        std::lock_guard<std::mutex> hold(lock_);
        const auto it = map_.find(wnd);
        return it == map_.end() ? nullptr : it->second;
    }

private:
    static inline std::mutex lock_;
    static inline std::unordered_map<HWND, Window*> map_;
};

}  // namespace

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

Window* Window::FromHandle(HWND wnd) { return wnd ? Objects::Get(wnd) : nullptr; }

void Window::Attach(HWND wnd) {
    hwnd_ = wnd;
    Objects::Set(wnd, this);
}

void Window::Detach() {
    if (hwnd_ && Objects::Get(hwnd_) == this) Objects::Set(hwnd_, nullptr);
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
    if (msg == WM_NCCREATE) static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams)->Attach(wnd);
    Window* self = Objects::Get(wnd);
    if (!self) return ::DefWindowProcW(wnd, msg, wp, lp);  // WM_GETMINMAXINFO arrives first
    if (msg == WM_NCDESTROY) {
        self->HandleDestroying();
        self->Detach();
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
