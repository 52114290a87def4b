// The yardstick for start-up time and memory: the least a Win32 program with a window is,
// built with the same compiler, runtime and flags as Snapvane.exe and run under the same Wine.
// With the argument "--dlls [NAME.dll ...]" it first loads the system libraries that
// Snapvane.exe imports beyond this program's (or those named): what loading them at start
// costs, in time and memory.
#include <windows.h>

#include <cwchar>
#include <initializer_list>

namespace {
LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(wnd, msg, wp, lp);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    if (commandLine && std::wcsstr(commandLine, L"--dlls")) {
        // The libraries named after "--dlls" (separated by blanks), or all of them.
        const wchar_t* named = std::wcsstr(commandLine, L"--dlls") + 6;
        for (const wchar_t* dll : {L"comctl32.dll"}) {
            if (*named && !std::wcsstr(named, dll)) continue;
            if (!::LoadLibraryW(dll)) return 1;
        }
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"TrivialWindow";
    ::RegisterClassW(&wc);
    HWND wnd = ::CreateWindowExW(0, wc.lpszClassName, L"Trivial window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
    if (!wnd) return 1;
    ::ShowWindow(wnd, show);
    ::UpdateWindow(wnd);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
