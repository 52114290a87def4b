// ctlprobe: reads the controls of another program's window from the Win32 side, for the
// end-to-end tests of capturing (winprobe does the top-level windows). Every answer is printed
// as shell assignments for `eval`; texts are single-quoted UTF-8.
//
//   ctlprobe sbtext TITLE PART              text of panel PART of the window's status bar
//   ctlprobe ctl TITLE CLASS TEXT [N]       the N-th (0-based, top to bottom, then left to
//                                           right) visible descendant of class CLASS with text
//                                           TEXT ("*" for any class or text): place, state, text
//   ctlprobe enabled TITLE TEXT...         whether the visible controls of these texts are
//                                           enabled: ENABLED='1 0 ...' ("-" for none found)
//   ctlprobe tab TITLE TEXT                 centre of the tab TEXT in the window's tab controls
//   ctlprobe dialog TITLE [MS]              waits (default 10 s) for a visible dialog box
//                                           (#32770) of that title: place and its static texts
//   ctlprobe nodialog TITLE [MS]            waits until no dialog box of that title shows
//   ctlprobe question TITLE [MS]            waits for a visible dialog box that the dialog box
//                                           of that title owns (a question it asks, whatever
//                                           the system calls it), as dialog
//   ctlprobe clipboard FILE                 the clipboard's bitmap as a Windows program of
//                                           this build's bitness pastes it (CF_DIB), written
//                                           to FILE as a bitmap file
//   ctlprobe emptyclip                      empties the clipboard (then nothing pastes from it)
//   ctlprobe holdclip SECONDS               holds the clipboard open (as another program
//                                           may), printing CLIPBOARD_HELD=1 once it does
//   ctlprobe holdfile PATH SECONDS          holds a file open with no sharing (as another
//                                           program may), printing FILE_HELD=1 once it does
//   ctlprobe glyph FONT HEIGHT TEXT...      each TEXT drawn as a label draws it (bold, red on
//                                           the frame's key colour, character height HEIGHT
//                                           px): a line "= TEXT", then the rows of its red
//                                           pixels, "#" red, "." not
//
// Status bar and tab texts are read through memory lent in the other process (the messages
// carry pointers, which the system does not marshal for common controls).
// Exit status: 0 done, 1 not found (in time), 2 bad usage.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ProbeCommon.h"

namespace {

constexpr UINT kSendTimeoutMs = 1000;

using probe::ClassOf;
using probe::PrintText;
using probe::Utf8;

std::wstring TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                          kSendTimeoutMs, &copied);
    text.resize(copied);
    return text;
}

// Memory in another process, for messages whose pointer the receiver writes through.
class RemoteBuffer {
public:
    RemoteBuffer(HWND hwnd, size_t size) : size_(size) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hwnd, &pid);
        process_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) address_ = ::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) ::CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Ok() const { return address_ != nullptr; }
    void* Address() const { return address_; }
    bool Write(const void* data, size_t size, size_t offset = 0) {
        return ::WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr) != FALSE;
    }
    bool Read(void* data, size_t size, size_t offset = 0) const {
        return ::ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr) != FALSE;
    }
    size_t Size() const { return size_; }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
};

struct Found {
    std::wstring cls;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    if (found->cls == L"*" || _wcsicmp(ClassOf(child).c_str(), found->cls.c_str()) == 0)
        found->windows.push_back(child);
    return TRUE;
}

std::vector<HWND> Descendants(HWND top, const std::wstring& cls) {
    Found found{cls, {}};
    ::EnumChildWindows(top, CollectChild, reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

int StatusText(HWND top, int part) {
    std::vector<HWND> bars = Descendants(top, STATUSCLASSNAMEW);
    if (bars.empty()) return 1;
    HWND bar = bars.front();
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(bar, SB_GETTEXTLENGTHW, WPARAM(part), 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        return 1;
    const size_t length = LOWORD(result);
    RemoteBuffer buffer(bar, (length + 1) * sizeof(wchar_t));
    if (!buffer.Ok()) return 1;
    if (!::SendMessageTimeoutW(bar, SB_GETTEXTW, WPARAM(part), reinterpret_cast<LPARAM>(buffer.Address()),
                               SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        return 1;
    std::wstring text(length + 1, L'\0');
    if (!buffer.Read(text.data(), buffer.Size())) return 1;
    text.resize(wcsnlen(text.c_str(), length + 1));
    PrintText("SB_TEXT", text);
    return 0;
}

void PrintRect(const char* prefix, const RECT& r) {
    std::printf("%s_X=%ld\n%s_Y=%ld\n%s_W=%ld\n%s_H=%ld\n%s_CX=%ld\n%s_CY=%ld\n", prefix, r.left, prefix, r.top, prefix,
                r.right - r.left, prefix, r.bottom - r.top, prefix, (r.left + r.right) / 2, prefix,
                (r.top + r.bottom) / 2);
}

HWND FocusOf(HWND hwnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    DWORD thread = ::GetWindowThreadProcessId(hwnd, nullptr);
    return ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

int Control(HWND top, const std::wstring& cls, const std::wstring& text, int index) {
    std::vector<HWND> matches;
    for (HWND child : Descendants(top, cls)) {
        if (!::IsWindowVisible(child)) continue;
        if (text != L"*" && TextOf(child) != text) continue;
        matches.push_back(child);
    }
    std::stable_sort(matches.begin(), matches.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        ::GetWindowRect(a, &ra);
        ::GetWindowRect(b, &rb);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    if (index < 0 || size_t(index) >= matches.size()) {
        probe::PrintHwnd("CTL_HWND", nullptr);
        return 1;
    }
    HWND hwnd = matches[size_t(index)];
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    probe::PrintHwnd("CTL_HWND", hwnd);
    PrintRect("CTL", r);
    std::printf("CTL_ENABLED=%d\nCTL_FOCUS=%d\n", ::IsWindowEnabled(hwnd) ? 1 : 0, FocusOf(hwnd) == hwnd ? 1 : 0);
    PrintText("CTL_CLASS", ClassOf(hwnd));
    PrintText("CTL_TEXT", TextOf(hwnd));
    return 0;
}

int Enabled(HWND top, int count, wchar_t** texts) {
    std::vector<HWND> all = Descendants(top, L"*");
    std::wstring states;
    for (int i = 0; i < count; ++i) {
        wchar_t state = L'-';
        for (HWND child : all) {
            if (::IsWindowVisible(child) && TextOf(child) == texts[i]) {
                state = ::IsWindowEnabled(child) ? L'1' : L'0';
                break;
            }
        }
        if (!states.empty()) states += L' ';
        states += state;
    }
    PrintText("ENABLED", states);
    return 0;
}

int Tab(HWND top, const std::wstring& wanted) {
    for (HWND tabs : Descendants(top, WC_TABCONTROLW)) {
        if (!::IsWindowVisible(tabs)) continue;
        DWORD_PTR count = 0;
        ::SendMessageTimeoutW(tabs, TCM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &count);
        constexpr size_t kTextChars = 128;
        RemoteBuffer buffer(tabs, sizeof(TCITEMW) + kTextChars * sizeof(wchar_t) + sizeof(RECT));
        if (!buffer.Ok()) return 1;
        auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer.Address()) + sizeof(TCITEMW));
        const size_t rectOffset = sizeof(TCITEMW) + kTextChars * sizeof(wchar_t);
        DWORD_PTR selected = 0;
        ::SendMessageTimeoutW(tabs, TCM_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &selected);
        for (DWORD_PTR i = 0; i < count; ++i) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = remoteText;
            item.cchTextMax = int(kTextChars);
            wchar_t empty[kTextChars] = L"";
            buffer.Write(empty, sizeof(empty), sizeof(TCITEMW));
            buffer.Write(&item, sizeof(item));
            DWORD_PTR ok = 0;
            ::SendMessageTimeoutW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(buffer.Address()), SMTO_ABORTIFHUNG,
                                  kSendTimeoutMs, &ok);
            wchar_t text[kTextChars] = L"";
            buffer.Read(text, sizeof(text), sizeof(TCITEMW));
            text[kTextChars - 1] = 0;
            if (wanted != text) continue;
            ::SendMessageTimeoutW(tabs, TCM_GETITEMRECT, i,
                                  reinterpret_cast<LPARAM>(static_cast<char*>(buffer.Address()) + rectOffset),
                                  SMTO_ABORTIFHUNG, kSendTimeoutMs, &ok);
            RECT r{};
            buffer.Read(&r, sizeof(r), rectOffset);
            ::MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&r), 2);
            PrintRect("TAB", r);
            std::printf("TAB_SELECTED=%d\n", selected == i ? 1 : 0);
            return 0;
        }
    }
    return 1;
}

struct DialogSearch {
    std::wstring title;
    HWND owner;  // when not null: a dialog box it owns, of any title
    HWND hwnd;
};

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    if (!::IsWindowVisible(hwnd) || ClassOf(hwnd) != L"#32770") return TRUE;
    wchar_t title[256] = L"";
    ::GetWindowTextW(hwnd, title, 256);
    if (search->owner ? ::GetWindow(hwnd, GW_OWNER) != search->owner : search->title != title) return TRUE;
    search->hwnd = hwnd;
    return FALSE;
}

HWND FindDialog(const std::wstring& title, HWND owner = nullptr) {
    DialogSearch search{title, owner, nullptr};
    ::EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.hwnd;
}

// The question a dialog box asks: the system gives it its own title and text (Windows the
// owner's title, Wine "Error"), so it is found by its owner.
HWND FindQuestion(const std::wstring& ownerTitle) {
    HWND owner = FindDialog(ownerTitle);
    return owner ? FindDialog(L"", owner) : nullptr;
}

int Dialog(const std::wstring& title, DWORD timeoutMs, bool wantGone, bool question = false) {
    HWND hwnd = nullptr;
    const bool reached = probe::WaitFor(
        [&] {
            hwnd = question ? FindQuestion(title) : FindDialog(title);
            return (hwnd != nullptr) != wantGone;
        },
        timeoutMs);
    if (!reached) return 1;
    if (wantGone) return 0;
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    probe::PrintHwnd("DLG_HWND", hwnd);
    PrintRect("DLG", r);
    std::wstring texts;
    for (HWND child : Descendants(hwnd, L"Static")) {
        std::wstring text = TextOf(child);
        if (text.empty() || !::IsWindowVisible(child)) continue;
        if (!texts.empty()) texts += L"\n";
        texts += text;
    }
    PrintText("DLG_TEXT", texts);
    std::wstring buttons;
    for (HWND child : Descendants(hwnd, L"Button")) {
        if (!::IsWindowVisible(child)) continue;
        if (!buttons.empty()) buttons += L"|";
        buttons += TextOf(child);
    }
    PrintText("DLG_BUTTONS", buttons);
    return 0;
}

// The text as the frame's countdown label draws it: DrawText of a bold font of the given
// character height, red on the key colour. Prints the red pixels row by row.
int Glyph(const std::wstring& face, int height, const std::wstring& text) {
    const int width = 200, rows = 60;
    const BITMAPINFO info = probe::TopDownDib32(width, rows);
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return 1;
    HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
    RECT all{0, 0, width, rows};
    HBRUSH key = ::CreateSolidBrush(RGB(0, 128, 0));
    ::FillRect(dc, &all, key);
    ::DeleteObject(key);
    LOGFONTW lf{};
    lf.lfHeight = -height;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    HFONT font = ::CreateFontIndirectW(&lf);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::SetTextColor(dc, RGB(255, 0, 0));
    ::SetBkMode(dc, TRANSPARENT);
    RECT r{2, 2, width, rows};
    ::DrawTextW(dc, text.c_str(), -1, &r, DT_LEFT | DT_NOPREFIX);
    ::GdiFlush();
    std::printf("= %s\n", Utf8(text).c_str());
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int y = 0; y < rows; ++y) {
        std::string line;
        for (int x = 0; x < width; ++x) line += (pixels[y * width + x] & 0xFFFFFF) == 0xFF0000 ? '#' : '.';
        std::printf("%s\n", line.c_str());
    }
    ::SelectObject(dc, oldFont);
    ::DeleteObject(font);
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return 0;
}

int PasteBitmap(const wchar_t* path) {
    if (!::OpenClipboard(nullptr)) return 1;
    int status = 1;
    if (HANDLE dib = ::GetClipboardData(CF_DIB)) {
        const auto* info = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(dib));
        const SIZE_T size = ::GlobalSize(dib);
        if (info && size >= sizeof *info) {
            // The file header before the packed DIB: the pixels follow the header and the
            // colour table (three masks for BI_BITFIELDS).
            DWORD table = info->biClrUsed ? info->biClrUsed : (info->biBitCount <= 8 ? 1u << info->biBitCount : 0u);
            DWORD offBits = DWORD(sizeof(BITMAPFILEHEADER)) + info->biSize + table * DWORD(sizeof(RGBQUAD));
            if (info->biCompression == BI_BITFIELDS && info->biSize == sizeof(BITMAPINFOHEADER)) offBits += 12;
            BITMAPFILEHEADER file{0x4D42, DWORD(sizeof file + size), 0, 0, offBits};
            if (FILE* out = _wfopen(path, L"wb")) {
                const bool written =
                    std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(info, size, 1, out) == 1;
                status = std::fclose(out) == 0 && written ? 0 : 1;
            }
        }
        ::GlobalUnlock(dib);
    }
    ::CloseClipboard();
    return status;
}

int ClearClipboard() {
    if (!::OpenClipboard(nullptr)) return 1;
    const bool emptied = ::EmptyClipboard() != FALSE;
    ::CloseClipboard();
    return emptied ? 0 : 1;
}

int HoldClipboard(int seconds) {
    if (!::OpenClipboard(nullptr)) return 1;
    std::printf("CLIPBOARD_HELD=1\n");
    std::fflush(stdout);
    ::Sleep(DWORD(seconds) * 1000);
    ::CloseClipboard();
    return 0;
}

int HoldFile(const wchar_t* path, int seconds) {
    HANDLE file =
        ::CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::printf("FILE_HELD=1\n");
    std::fflush(stdout);
    ::Sleep(DWORD(seconds) * 1000);
    ::CloseHandle(file);
    return 0;
}

int Usage() {
    return probe::Usage(
        "ctlprobe sbtext|ctl|enabled|tab|dialog|nodialog|question|clipboard|emptyclip|holdclip|holdfile|glyph");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    probe::ShellLineEnds();
    if (argc == 2 && std::wstring(argv[1]) == L"emptyclip") return ClearClipboard();
    if (argc < 3) return Usage();
    const std::wstring command = argv[1];
    if (command == L"dialog" || command == L"nodialog")
        return Dialog(argv[2], argc > 3 ? DWORD(_wtoi(argv[3])) : 10000, command == L"nodialog");
    if (command == L"question") return Dialog(argv[2], argc > 3 ? DWORD(_wtoi(argv[3])) : 10000, false, true);
    if (command == L"holdclip") return HoldClipboard(_wtoi(argv[2]));
    if (command == L"clipboard") return PasteBitmap(argv[2]);
    if (command == L"holdfile") return argc < 4 ? Usage() : HoldFile(argv[2], _wtoi(argv[3]));
    if (command == L"glyph") {
        if (argc < 5) return Usage();
        for (int i = 4; i < argc; ++i)
            if (Glyph(argv[2], _wtoi(argv[3]), argv[i]) != 0) return 1;
        return 0;
    }
    HWND top = ::FindWindowW(nullptr, argv[2]);
    if (!top) return 1;
    if (command == L"sbtext") return argc < 4 ? Usage() : StatusText(top, _wtoi(argv[3]));
    if (command == L"ctl") return argc < 5 ? Usage() : Control(top, argv[3], argv[4], argc > 5 ? _wtoi(argv[5]) : 0);
    if (command == L"enabled") return argc < 4 ? Usage() : Enabled(top, argc - 3, argv + 3);
    if (command == L"tab") return argc < 4 ? Usage() : Tab(top, argv[3]);
    return Usage();
}
