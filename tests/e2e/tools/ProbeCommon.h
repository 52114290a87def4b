#pragma once
// What winprobe and ctlprobe share: answers printed as shell assignments for `eval`, waiting
// with a time limit, window classes, and 32-bit DIBs for the pictures they paint.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <functional>
#include <string>

namespace probe {

// Plain "\n" line ends on stdout: the shell reads these lines.
inline void ShellLineEnds() { _setmode(_fileno(stdout), _O_BINARY); }

inline int Usage(const char* commands) {
    std::fprintf(stderr, "usage: %s ...\n", commands);
    return 2;
}

inline std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

// NAME='text' in UTF-8, with every ' written as '\''.
inline void PrintText(const char* name, const std::wstring& text) {
    std::string quoted;
    for (char c : Utf8(text)) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    std::printf("%s='%s'\n", name, quoted.c_str());
}

inline void PrintHwnd(const char* name, HWND hwnd) {
    std::printf("%s=0x%llx\n", name, static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
}

inline std::wstring ClassOf(HWND hwnd) {
    wchar_t cls[128] = L"";
    ::GetClassNameW(hwnd, cls, 128);
    return cls;
}

// Asks `done` every 50 ms until it holds (true) or `timeoutMs` has passed (false).
inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (done()) return true;
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::Sleep(50);
    }
}

// The header of a 32-bit top-down DIB: pixels 0x00RRGGBB, the top row first.
inline BITMAPINFO TopDownDib32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace probe
