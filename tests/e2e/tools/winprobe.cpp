// winprobe: looks at the windows of another program from the Win32 side, for the end-to-end
// tests (X tools see Wine's windows only as X windows, and inside the virtual desktop not
// even at the right place). Every answer is printed as shell assignments for `eval`.
//
//   winprobe info TITLE                  geometry, state and styles of the top-level window
//   winprobe wait TITLE STATE [MS]       until STATE: exists visible normal iconic hidden gone
//   winprobe nchit TITLE AREA            screen point inside the non-client AREA:
//                                        min max close caption
//   winprobe taskbar TITLE               centre of the window's button on Wine's taskbar
//   winprobe backdrop X Y W H [SECONDS]  a window at the bottom of the z-order showing a known
//                                        pattern (see PatternColor) until closed
//   winprobe cover X Y W H [SECONDS]     the same pattern in a window shown above the others
//                                        ("winprobe cover"), as another program's window that
//                                        is opened over them; it never takes the activation
//   winprobe close TITLE                 posts WM_CLOSE
//   winprobe show TITLE min|restore|hide ShowWindowAsync
//   winprobe move TITLE X Y W H          puts another program's window there (no activation)
//   winprobe list                        every top-level window with a title (for logs)
//   winprobe monitors                    MONITOR_COUNT and MONITORS='X,Y,WxH ...' (primary first)
//   winprobe record FILE TEXT...         adds its TEXTs, one line, to FILE (UTF-8): a program
//                                        that the shell opens for an address records what it
//                                        was given
//   winprobe framepicture W H            the picture the capture frame of W x H must show
//                                        (tests/win/support/FramePicture.h): a line
//                                        "LETTER R G B NAME" for each part, then its rows, a
//                                        letter a pixel ("." see-through: the key colour)
//
// Exit status: 0 done, 1 window (or state) not found in time, 2 bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "ProbeCommon.h"
#include "support/FramePicture.h"

namespace {

constexpr wchar_t kBackdropClass[] = L"WinprobeBackdrop";
constexpr wchar_t kBackdropTitle[] = L"winprobe backdrop";
constexpr wchar_t kCoverTitle[] = L"winprobe cover";
constexpr UINT kSendTimeoutMs = 500;

// The backdrop's colour at (x, y) of its client area: unique over 1024 x 1024 pixels, so a
// picture shifted by any amount shows up, and never the frame's key colour 0x008000 (blue is
// never 0).
COLORREF PatternColor(int x, int y) { return RGB(x & 0xFF, y & 0xFF, 0x40 + ((x >> 8) & 3) * 16 + ((y >> 8) & 3) * 4); }

void PrintInfo(HWND hwnd) {
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD layeredFlags = 0;
    if (!::GetLayeredWindowAttributes(hwnd, &key, &alpha, &layeredFlags)) {
        key = 0;
        layeredFlags = 0;
    }
    probe::PrintHwnd("WIN_HWND", hwnd);
    std::printf("WIN_X=%ld\nWIN_Y=%ld\nWIN_W=%ld\nWIN_H=%ld\n", rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
    POINT origin{0, 0};
    ::ClientToScreen(hwnd, &origin);
    std::printf("WIN_CLIENT_X=%ld\nWIN_CLIENT_Y=%ld\nWIN_CLIENT_W=%ld\nWIN_CLIENT_H=%ld\n", origin.x, origin.y,
                client.right, client.bottom);
    std::printf("WIN_VISIBLE=%d\nWIN_ICONIC=%d\nWIN_FOREGROUND=%d\n", ::IsWindowVisible(hwnd) ? 1 : 0,
                ::IsIconic(hwnd) ? 1 : 0, ::GetForegroundWindow() == hwnd ? 1 : 0);
    std::printf("WIN_STYLE=0x%08lx\nWIN_EXSTYLE=0x%08lx\n",
                static_cast<unsigned long>(::GetWindowLongW(hwnd, GWL_STYLE)),
                static_cast<unsigned long>(::GetWindowLongW(hwnd, GWL_EXSTYLE)));
    probe::PrintHwnd("WIN_OWNER", ::GetWindow(hwnd, GW_OWNER));
    std::printf("WIN_PID=%lu\nWIN_KEY=0x%06lx\nWIN_LAYERED_FLAGS=0x%lx\n", static_cast<unsigned long>(pid),
                static_cast<unsigned long>(key), static_cast<unsigned long>(layeredFlags));
}

HWND Find(const wchar_t* title) { return ::FindWindowW(nullptr, title); }

bool InState(HWND hwnd, const std::wstring& state) {
    if (state == L"gone") return hwnd == nullptr;
    if (!hwnd) return false;
    if (state == L"exists") return true;
    const bool visible = ::IsWindowVisible(hwnd) != FALSE;
    const bool iconic = ::IsIconic(hwnd) != FALSE;
    if (state == L"visible") return visible;
    if (state == L"normal") return visible && !iconic;
    if (state == L"iconic") return iconic;
    if (state == L"hidden") return !visible;
    return false;
}

int Wait(const wchar_t* title, const std::wstring& state, DWORD timeoutMs) {
    HWND hwnd = nullptr;
    const bool reached = probe::WaitFor(
        [&] {
            hwnd = Find(title);
            return InState(hwnd, state);
        },
        timeoutMs);
    if (hwnd) PrintInfo(hwnd);
    return reached ? 0 : 1;
}

LRESULT HitTest(HWND hwnd, int x, int y) {
    DWORD_PTR result = HTNOWHERE;
    ::SendMessageTimeoutW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

// Finds the caption's middle row by asking the window itself (WM_NCHITTEST), then the run of
// the wanted code along it: the point a person would click, wherever Wine draws the buttons.
int NcHit(HWND hwnd, const std::wstring& area) {
    LRESULT code = 0;
    if (area == L"min")
        code = HTMINBUTTON;
    else if (area == L"max")
        code = HTMAXBUTTON;
    else if (area == L"close")
        code = HTCLOSE;
    else if (area == L"caption")
        code = HTCAPTION;
    else
        return 2;
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    const int probeX = (rect.left + rect.right) / 2;
    int top = -1;
    int bottom = -1;
    for (int y = rect.top; y < rect.bottom && y < rect.top + 80; ++y) {
        if (HitTest(hwnd, probeX, y) == HTCAPTION) {
            if (top < 0) top = y;
            bottom = y;
        } else if (top >= 0) {
            break;
        }
    }
    if (top < 0) return 1;
    const int row = (top + bottom) / 2;
    int left = -1;
    int right = -1;
    for (int x = rect.left; x < rect.right; ++x) {
        if (HitTest(hwnd, x, row) == code) {
            if (left < 0) left = x;
            right = x;
        } else if (left >= 0) {
            break;
        }
    }
    if (left < 0) return 1;
    std::printf("HIT_X=%d\nHIT_Y=%d\n", (left + right) / 2, row);
    return 0;
}

struct ButtonSearch {
    HWND target;
    HWND button;
};

// Wine's taskbar gives each button the handle of its window as control id.
BOOL CALLBACK MatchButton(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ButtonSearch*>(param);
    if (static_cast<UINT_PTR>(::GetWindowLongPtrW(child, GWLP_ID)) == reinterpret_cast<UINT_PTR>(search->target)) {
        search->button = child;
        return FALSE;
    }
    return TRUE;
}

int TaskbarButton(HWND target) {
    HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!tray) return 1;
    ButtonSearch search{target, nullptr};
    ::EnumChildWindows(tray, MatchButton, reinterpret_cast<LPARAM>(&search));
    if (!search.button) return 1;
    RECT rect{};
    ::GetWindowRect(search.button, &rect);
    std::printf("BUTTON_X=%ld\nBUTTON_Y=%ld\nBUTTON_VISIBLE=%d\n", (rect.left + rect.right) / 2,
                (rect.top + rect.bottom) / 2, ::IsWindowVisible(search.button) ? 1 : 0);
    return 0;
}

BOOL CALLBACK PrintWindowLine(HWND hwnd, LPARAM) {
    wchar_t title[256] = L"";
    wchar_t cls[128] = L"";
    ::GetWindowTextW(hwnd, title, 256);
    ::GetClassNameW(hwnd, cls, 128);
    if (!title[0]) return TRUE;
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    std::printf("# %p pid=%lu class=%ls visible=%d iconic=%d rect=%ld,%ld %ldx%ld ex=0x%08lx '%ls'\n",
                static_cast<void*>(hwnd), static_cast<unsigned long>(pid), cls, ::IsWindowVisible(hwnd) ? 1 : 0,
                ::IsIconic(hwnd) ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
                static_cast<unsigned long>(::GetWindowLongW(hwnd, GWL_EXSTYLE)), title);
    return TRUE;
}

int List() {
    ::EnumWindows(PrintWindowLine, 0);
    return 0;
}

// The backdrop: the pattern in a 32-bit top-down DIB, painted 1:1 on each WM_PAINT. It keeps
// itself at the bottom of the z-order and never takes activation, so whatever the test looks
// at lies above it. A cover is the same window shown above the others, left where it is.
struct Backdrop {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    bool cover = false;
};

Backdrop gBackdrop;

LRESULT CALLBACK BackdropProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        const BITMAPINFO info = probe::TopDownDib32(gBackdrop.width, gBackdrop.height);
        ::SetDIBitsToDevice(dc, 0, 0, gBackdrop.width, gBackdrop.height, 0, 0, 0, gBackdrop.height,
                            gBackdrop.pixels.data(), &info, DIB_RGB_COLORS);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_WINDOWPOSCHANGING: {
        if (gBackdrop.cover) break;
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        pos->hwndInsertAfter = HWND_BOTTOM;
        pos->flags &= ~SWP_NOZORDER;
        break;
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_DESTROY:
        if (::GetWindow(hwnd, GW_OWNER)) ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void CALLBACK EndBackdrop(HWND hwnd, UINT, UINT_PTR, DWORD) { ::DestroyWindow(hwnd); }

int ShowBackdrop(int x, int y, int width, int height, int seconds, bool cover) {
    gBackdrop.cover = cover;
    gBackdrop.width = width;
    gBackdrop.height = height;
    gBackdrop.pixels.resize(static_cast<size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const COLORREF c = PatternColor(col, row);
            // DIB pixels are 0x00RRGGBB, COLORREF is 0x00BBGGRR.
            gBackdrop.pixels[static_cast<size_t>(row) * width + col] =
                (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = BackdropProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kBackdropClass;
    ::RegisterClassW(&wc);
    // Owned by a hidden window: Wine's taskbar, unlike Windows', gives an ownerless tool
    // window a button all the same.
    HWND owner =
        ::CreateWindowExW(0, kBackdropClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    HWND hwnd =
        ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kBackdropClass, cover ? kCoverTitle : kBackdropTitle,
                          WS_POPUP, x, y, width, height, owner, nullptr, wc.hInstance, nullptr);
    if (!hwnd) return 1;
    if (cover) {
        ::SetWindowPos(hwnd, HWND_TOP, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        ::UpdateWindow(hwnd);
        std::printf("COVER_READY=1\n");
        std::fflush(stdout);
    }
    // An owned window stays above its owner, so the owner goes to the bottom first. The
    // backdrop is shown, then sent to the bottom: Wine puts a window that is being shown on
    // top whatever the insert-after handle says. (On the screen Wine only ever raises X
    // windows: one lowered in the z-order stays above the windows that were there before it,
    // so the backdrop must be shown before the windows that are to cover it.)
    if (!cover) {
        ::SetWindowPos(owner, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
        ::SetWindowPos(hwnd, HWND_BOTTOM, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        ::SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
        ::UpdateWindow(hwnd);
        std::printf("BACKDROP_READY=1\n");
        std::fflush(stdout);
    }
    ::SetTimer(hwnd, 1, static_cast<UINT>(seconds) * 1000, EndBackdrop);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT r, LPARAM param) {
    auto* places = reinterpret_cast<std::vector<RECT>*>(param);
    places->push_back(*r);
    return TRUE;
}

int Monitors() {
    std::vector<RECT> places;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&places));
    std::printf("MONITOR_COUNT=%zu\nMONITORS='", places.size());
    for (size_t i = 0; i < places.size(); ++i) {
        const RECT& r = places[i];
        std::printf("%s%ld,%ld,%ldx%ld", i ? " " : "", r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    std::printf("'\n");
    return places.empty() ? 1 : 0;
}

// Puts a window into a state where a test needs it and a person has no way there (a window
// minimized alone, without a taskbar button of its own).
int Show(HWND hwnd, const std::wstring& how) {
    int command = 0;
    if (how == L"min")
        command = SW_MINIMIZE;
    else if (how == L"restore")
        command = SW_RESTORE;
    else if (how == L"hide")
        command = SW_HIDE;
    else
        return 2;
    return ::ShowWindowAsync(hwnd, command) ? 0 : 1;
}

// The expected picture of a frame of w x h pixels, for frame_pixels.py.
int FramePicture(int w, int h) {
    if (w <= 0 || h <= 0) return 2;
    for (const frame_picture::PartLook& look : frame_picture::kParts)
        std::printf("%c %d %d %d %s\n", look.letter, look.red, look.green, look.blue, look.name);
    std::string row(size_t(w), ' ');
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) row[size_t(x)] = frame_picture::LookOf(frame_picture::PartAt(x, y, w, h)).letter;
        std::printf("%s\n", row.c_str());
    }
    return 0;
}

int Record(const wchar_t* path, int count, wchar_t** texts) {
    FILE* out = _wfopen(path, L"ab");
    if (!out) return 1;
    for (int i = 0; i < count; ++i) std::fprintf(out, "%s%s", i ? " " : "", probe::Utf8(texts[i]).c_str());
    std::fprintf(out, "\n");
    return std::fclose(out) == 0 ? 0 : 1;
}

int Usage() {
    return probe::Usage(
        "winprobe info|wait|nchit|taskbar|backdrop|cover|close|show|move|list|monitors|record|framepicture");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    probe::ShellLineEnds();
    if (argc < 2) return Usage();
    const std::wstring command = argv[1];
    if (command == L"list") return List();
    if (command == L"monitors") return Monitors();
    if (command == L"framepicture") return argc < 4 ? Usage() : FramePicture(_wtoi(argv[2]), _wtoi(argv[3]));
    if (command == L"backdrop" || command == L"cover") {
        if (argc < 6) return Usage();
        const int seconds = argc > 6 ? _wtoi(argv[6]) : 600;
        return ShowBackdrop(_wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), seconds,
                            command == L"cover");
    }
    if (command == L"record") return argc < 3 ? Usage() : Record(argv[2], argc - 3, argv + 3);
    if (argc < 3) return Usage();
    const wchar_t* title = argv[2];
    if (command == L"wait") {
        if (argc < 4) return Usage();
        return Wait(title, argv[3], argc > 4 ? static_cast<DWORD>(_wtoi(argv[4])) : 10000);
    }
    HWND hwnd = Find(title);
    if (!hwnd) {
        std::printf("WIN_HWND=0x0\n");
        return 1;
    }
    if (command == L"info") {
        PrintInfo(hwnd);
        return 0;
    }
    if (command == L"nchit") return argc < 4 ? Usage() : NcHit(hwnd, argv[3]);
    if (command == L"taskbar") return TaskbarButton(hwnd);
    if (command == L"close") return ::PostMessageW(hwnd, WM_CLOSE, 0, 0) ? 0 : 1;
    if (command == L"show") return argc < 4 ? Usage() : Show(hwnd, argv[3]);
    if (command == L"move") {
        if (argc < 7) return Usage();
        return ::SetWindowPos(hwnd, nullptr, _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), _wtoi(argv[6]),
                              SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 1;
    }
    return Usage();
}
