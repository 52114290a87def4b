#pragma once
// Helpers of the capture, printing and save-dialog tests: a known picture, pixels read back
// from a bitmap, a scratch folder, whole files, Wine's GDI handle count and stand-ins for the
// screen.
#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "capture/ScreenGrab.h"
#include "framework/Bitmap.h"
#include "GdiCount.h"

namespace capture_test {

// The test picture: every pixel differs from its neighbours, so a picture shifted by one
// pixel in any direction does not match. 0x00RRGGBB.
inline uint32_t PatternPixel(int x, int y) {
    const uint32_t r = uint32_t(x * 37 + y * 11) & 255, g = uint32_t(x * 5 + y * 53 + 17) & 255,
                   b = uint32_t(x * 13 + y * 7 + 91) & 255;
    return r << 16 | g << 8 | b;
}

// The pattern's part at (x0, y0) of size w x h, rows top first.
inline std::vector<uint32_t> PatternArea(int x0, int y0, int w, int h) {
    std::vector<uint32_t> out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.push_back(PatternPixel(x0 + x, y0 + y));
    return out;
}

// Paints the pattern's part at (x0, y0) into dc at (0, 0).
inline void PaintPattern(HDC dc, int x0, int y0, int w, int h) {
    std::vector<uint32_t> pixels = PatternArea(x0, y0, w, h);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    ::SetDIBitsToDevice(dc, 0, 0, DWORD(w), DWORD(h), 0, 0, 0, UINT(h), pixels.data(), &info, DIB_RGB_COLORS);
}

// A screen-compatible bitmap, as a grab makes, holding the pattern's part at (x0, y0).
inline void FillWithPattern(fw::Bitmap& bitmap, int w, int h, int x0 = 0, int y0 = 0) {
    bitmap.SetSize(w, h);
    PaintPattern(bitmap.Dc(), x0, y0, w, h);
}

// The pixels of a bitmap as 0x00RRGGBB, rows top first.
inline std::vector<uint32_t> PixelsOf(HBITMAP bitmap, int w, int h) {
    std::vector<uint32_t> out(size_t(w) * size_t(h));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, UINT(h), out.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != h) out.clear();
    for (uint32_t& p : out) p &= 0x00FFFFFF;
    return out;
}

inline std::vector<uint32_t> PixelsOf(fw::Bitmap& bitmap) {
    bitmap.ReleaseDc();
    return PixelsOf(bitmap.Handle(), bitmap.Width(), bitmap.Height());
}

inline std::vector<uint8_t> ReadFileBytes(const std::wstring& path) {
    std::vector<uint8_t> out;
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return out;
    LARGE_INTEGER size{};
    ::GetFileSizeEx(h, &size);
    out.resize(size_t(size.QuadPart));
    DWORD read = 0;
    if (!out.empty()) ::ReadFile(h, out.data(), DWORD(out.size()), &read, nullptr);
    out.resize(read);
    ::CloseHandle(h);
    return out;
}

inline bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    ::CloseHandle(h);
    return ok && written == bytes.size();
}

// Little-endian fields of a file read back.
inline uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 |
           uint32_t(b.at(at + 3)) << 24;
}
inline uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b.at(at) | b.at(at + 1) << 8); }

// A new folder under the system's temporary folder, removed with its files at the end.
class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH];
        ::GetTempPathW(MAX_PATH, base);
        static int counter = 0;
        path_ = std::wstring(base) + L"sv-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() { Remove(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

    // The names in the folder, sorted by the system's listing order.
    std::vector<std::wstring> Entries() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data;
        HANDLE find = ::FindFirstFileW((path_ + L"\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") names.push_back(name);
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
        return names;
    }

private:
    static void Remove(const std::wstring& folder) {
        WIN32_FIND_DATAW data;
        HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring full = folder + L"\\" + name;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(full);
                else
                    ::DeleteFileW(full.c_str());
            } while (::FindNextFileW(find, &data));
            ::FindClose(find);
        }
        ::RemoveDirectoryW(folder.c_str());
    }
    std::wstring path_;
};

// Watches a folder from construction on and tells every name that came into it (made, or the
// new and the old name of a rename), as the system reports them: a file written and removed
// again between two looks is seen too.
class FolderWatch {
public:
    explicit FolderWatch(const std::wstring& folder)
        : dir_(::CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)),
          event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        Ask();
    }
    ~FolderWatch() {
        if (pending_) {
            ::CancelIo(dir_);
            DWORD ignored = 0;
            ::GetOverlappedResult(dir_, &overlapped_, &ignored, TRUE);
        }
        ::CloseHandle(event_);
        if (dir_ != INVALID_HANDLE_VALUE) ::CloseHandle(dir_);
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool Watching() const { return pending_; }

    // The names seen until `quietMs` passed without a new report.
    std::vector<std::wstring> NamesSeen(DWORD quietMs = 400) {
        while (pending_ && ::WaitForSingleObject(event_, quietMs) == WAIT_OBJECT_0) {
            DWORD bytes = 0;
            pending_ = false;
            if (!::GetOverlappedResult(dir_, &overlapped_, &bytes, FALSE)) break;
            for (size_t at = 0; bytes > 0 && at < bytes;) {
                const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + at);
                if (info->Action == FILE_ACTION_ADDED || info->Action == FILE_ACTION_RENAMED_OLD_NAME ||
                    info->Action == FILE_ACTION_RENAMED_NEW_NAME)
                    names_.emplace_back(info->FileName, info->FileNameLength / sizeof(wchar_t));
                if (!info->NextEntryOffset) break;
                at += info->NextEntryOffset;
            }
            Ask();
        }
        return names_;
    }

private:
    void Ask() {
        if (dir_ == INVALID_HANDLE_VALUE) return;
        ::ResetEvent(event_);
        overlapped_ = OVERLAPPED{};
        overlapped_.hEvent = event_;
        pending_ = ::ReadDirectoryChangesW(dir_, buffer_, sizeof buffer_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr,
                                           &overlapped_, nullptr) != FALSE;
    }
    HANDLE dir_;
    HANDLE event_;
    OVERLAPPED overlapped_{};
    alignas(DWORD) BYTE buffer_[16384];
    bool pending_ = false;
    std::vector<std::wstring> names_;
};

// Live objects in this process's GDI handle table (-1 where it is not Wine's).
using fw::GdiObjectCount;

// A borderless top-level window at a known place that paints the pattern (pattern pixel 0, 0
// in its top-left corner), shown without activation; topmost when asked, so that nothing else
// on the screen can cover it.
class PatternWindow {
public:
    enum class Layer { Ordinary, Topmost };
    PatternWindow(int left, int top, int width, int height, Layer layer = Layer::Ordinary)
        : width_(width),
          height_(height) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CaptureTestPattern";
        ::RegisterClassW(&wc);  // fails harmlessly when it exists
        const DWORD exStyle = WS_EX_TOOLWINDOW | (layer == Layer::Topmost ? WS_EX_TOPMOST : 0);
        hwnd_ = ::CreateWindowExW(exStyle, wc.lpszClassName, L"", WS_POPUP, left, top, width, height, nullptr, nullptr,
                                  wc.hInstance, nullptr);
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        ::UpdateWindow(hwnd_);
    }
    ~PatternWindow() { ::DestroyWindow(hwnd_); }
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;
    HWND Handle() const { return hwnd_; }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<PatternWindow*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
        if (msg == WM_PAINT && self) {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(wnd, &ps);
            PaintPattern(dc, 0, 0, self->width_, self->height_);
            ::EndPaint(wnd, &ps);
            return 0;
        }
        if (msg == WM_ERASEBKGND) return 1;
        return ::DefWindowProcW(wnd, msg, wp, lp);
    }
    HWND hwnd_;
    int width_, height_;
};

// Stands in for the screen from construction to destruction.
class ScreenStandIn : public capture::ScreenSource {
public:
    ScreenStandIn() { capture::screenStandIn = this; }
    ~ScreenStandIn() override { capture::screenStandIn = nullptr; }
    ScreenStandIn(const ScreenStandIn&) = delete;
    ScreenStandIn& operator=(const ScreenStandIn&) = delete;
};

// A screen that refuses every copy, as Windows does while the desktop is locked or another
// desktop shows: an enhanced-metafile DC, which takes drawing but gives no pixels.
class RefusingScreen : public ScreenStandIn {
public:
    RefusingScreen() : dc_(::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr)) {}
    ~RefusingScreen() override { ::DeleteEnhMetaFile(::CloseEnhMetaFile(dc_)); }
    HDC Dc() override { return dc_; }
    fw::PaletteHandle Palette() override { return {}; }

private:
    HDC dc_;
};

// A palette display of 8 bpp made of a DIB: its colour table plays the system palette (256
// different colours) and each pixel holds a known index, so a picture grabbed from it is of
// 8 bpp as on such a display.
class PaletteScreen : public ScreenStandIn {
public:
    static constexpr int kWidth = 64, kHeight = 48;
    static BYTE Index(int x, int y) { return BYTE(x * 3 + y * 5); }
    static PALETTEENTRY Entry(int i) { return PALETTEENTRY{BYTE(i), BYTE(i * 7), BYTE(255 - i), 0}; }

    PaletteScreen() {
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colors[256];
        } info{};
        info.header = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 8, BI_RGB};
        for (int i = 0; i < 256; ++i) {
            entries_[i] = Entry(i);
            info.colors[i] = RGBQUAD{entries_[i].peBlue, entries_[i].peGreen, entries_[i].peRed, 0};
        }
        void* bits = nullptr;
        dib_.Reset(
            ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) static_cast<BYTE*>(bits)[y * kWidth + x] = Index(x, y);
        dc_.Reset(::CreateCompatibleDC(nullptr));
        old_ = ::SelectObject(dc_.Get(), dib_.Get());
    }
    ~PaletteScreen() override { ::SelectObject(dc_.Get(), old_); }
    HDC Dc() override { return dc_.Get(); }
    fw::PaletteHandle Palette() override { return fw::MakePalette(entries_, 256); }

private:
    PALETTEENTRY entries_[256];
    fw::BitmapHandle dib_;
    fw::MemoryDc dc_;
    HGDIOBJ old_ = nullptr;
};

}  // namespace capture_test
