// snapvane_bench: figures of the program's own capture path, measured where it runs.
//
//   snapvane_bench backdrop [SECONDS]            a full-screen photo-like picture to capture
//   snapvane_bench grab    --runs N --out DIR WxH...   GrabScreen + SaveBitmapFile, per size
//   snapvane_bench anatomy --runs N --out DIR WxH...   the steps under them, one by one
//   snapvane_bench tick    --runs N --out DIR WxH...   the series tick (TCopyForm::TimerTimer)
//   snapvane_bench forms   --out DIR                   the steps of building the two windows
//   snapvane_bench series  --ticks N --out DIR         tick times of a running 1 s series
//   snapvane_bench soak    --captures N --warmup N --out DIR   memory and GDI objects flat?
//                          [--leak-every N]  leaks a bitmap every N captures: the check must fail
//
// DIR is a folder of the host (a Unix path; Z: is put in front). Results are lines
// "RESULT<TAB>name<TAB>value" (times in milliseconds, sizes in bytes); everything else is
// commentary. scripts/bench.sh runs all of them; see there.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdarg>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GdiCount.h"
#include "PhotoPicture.h"
#include "base/Geometry.h"
#include "capture/BitmapFile.h"
#include "capture/ScreenGrab.h"
#include "forms/CopyFormU.h"
#include "forms/CopyMaU.h"
#include "framework/MessageLoop.h"
#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/Gdi.h"
#include "framework/FolderBrowser.h"
#include "base/Series.h"

namespace {

// ---- measuring ---------------------------------------------------------------------------

double NowMs() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return double(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return double(t.QuadPart) / perMs;
}

double Median(std::vector<double> v) {
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p / 100.0 * double(v.size() - 1) + 0.5))];
}

void Result(const std::string& name, double value) {
    std::printf("RESULT\t%s\t%.4f\n", name.c_str(), value);
    std::fflush(stdout);
}

void Note(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Note(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::fputs("# ", stdout);
    std::vprintf(format, args);
    std::fputs("\n", stdout);
    std::fflush(stdout);
    va_end(args);
}

// Runs every waiting message of this thread.
void Pump() { fw::MessageLoop::ProcessMessages(); }

// Runs messages until `done` holds or `timeoutMs` has passed.
bool PumpUntil(const std::function<bool()>& done, double timeoutMs) {
    const double start = NowMs();
    while (!done()) {
        if (NowMs() - start > timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        Pump();
    }
    return true;
}

struct Memory {
    double privateBytes = 0;
    double workingSet = 0;
};

Memory ProcessMemory() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    Memory m;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof counters)) {
        // Wine leaves PrivateUsage 0 and counts the committed private memory in PagefileUsage,
        // which Windows keeps equal to it.
        m.privateBytes = double(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
        m.workingSet = double(counters.WorkingSetSize);
    }
    return m;
}

// ---- arguments ---------------------------------------------------------------------------

struct Size {
    int width, height;
};

struct Args {
    std::wstring mode;
    int runs = 100;
    int ticks = 60;
    int captures = 10000;
    int warmup = 200;
    int leakEvery = 0;  // soak: leak one bitmap every this many captures (to see the check fail)
    int seconds = 600;
    std::wstring out;  // Windows form of the output folder
    std::vector<Size> sizes;
};

std::wstring WindowsPath(std::wstring unixPath) {
    if (unixPath.size() > 1 && unixPath[1] == L':') return unixPath;
    std::replace(unixPath.begin(), unixPath.end(), L'/', L'\\');
    return L"Z:" + unixPath;
}

std::string Narrow(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s) out += c < 128 ? char(c) : '?';
    return out;
}

bool ParseArgs(int argc, wchar_t** argv, Args& a) {
    if (argc < 2) return false;
    a.mode = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::wstring arg = argv[i];
        auto next = [&]() -> std::wstring { return i + 1 < argc ? argv[++i] : L""; };
        if (arg == L"--runs")
            a.runs = std::stoi(next());
        else if (arg == L"--ticks")
            a.ticks = std::stoi(next());
        else if (arg == L"--captures")
            a.captures = std::stoi(next());
        else if (arg == L"--warmup")
            a.warmup = std::stoi(next());
        else if (arg == L"--leak-every")
            a.leakEvery = std::stoi(next());
        else if (arg == L"--out")
            a.out = WindowsPath(next());
        else if (arg.find(L'x') != std::wstring::npos) {
            Size s{};
            if (swscanf(arg.c_str(), L"%dx%d", &s.width, &s.height) != 2) return false;
            a.sizes.push_back(s);
        } else if (a.mode == L"backdrop")
            a.seconds = std::stoi(arg);
        else
            return false;
    }
    return true;
}

// The screen area of a size, centred on the screen.
struct Area {
    int left, top, width, height;
};

Area Centred(Size s) {
    const int sw = ::GetSystemMetrics(SM_CXSCREEN), sh = ::GetSystemMetrics(SM_CYSCREEN);
    return {(sw - s.width) / 2, (sh - s.height) / 2, s.width, s.height};
}

std::string SizeName(Size s) { return std::to_string(s.width) + "x" + std::to_string(s.height); }
std::wstring WideSizeName(Size s) { return std::to_wstring(s.width) + L"x" + std::to_wstring(s.height); }

// ---- backdrop ----------------------------------------------------------------------------

std::vector<uint32_t>* gBackdropPixels = nullptr;

LRESULT CALLBACK BackdropProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(wnd, &ps);
        RECT r;
        ::GetClientRect(wnd, &r);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB};
        ::SetDIBitsToDevice(dc, 0, 0, DWORD(r.right), DWORD(r.bottom), 0, 0, 0, UINT(r.bottom), gBackdropPixels->data(),
                            &info, DIB_RGB_COLORS);
        ::EndPaint(wnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_TIMER:
        ::DestroyWindow(wnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(wnd, msg, wp, lp);
}

// The picture over the whole screen until SECONDS have passed or the process is ended.
int Backdrop(const Args& a) {
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    std::vector<uint32_t> pixels = bench::PhotoLikePicture(w, h);
    gBackdropPixels = &pixels;
    WNDCLASSW wc{};
    wc.lpfnWndProc = &BackdropProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SnapvaneBenchBackdrop";
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    ::RegisterClassW(&wc);
    HWND wnd = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, wc.lpszClassName, L"Snapvane bench backdrop",
                                 WS_POPUP, 0, 0, w, h, nullptr, nullptr, wc.hInstance, nullptr);
    if (!wnd) return 1;
    ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(wnd);
    ::SetTimer(wnd, 1, UINT(a.seconds) * 1000u, nullptr);
    Note("backdrop %dx%d shown", w, h);
    std::printf("BACKDROP_READY\n");
    std::fflush(stdout);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}

// ---- grab: the program's grab and save, per size -------------------------------------------

int Grab(const Args& a) {
    for (Size s : a.sizes) {
        const Area area = Centred(s);
        const std::wstring path = a.out + L"\\snapvane-" + WideSizeName(s) + L".bmp";
        std::vector<double> grab, save, total;
        // As a series does: the preview's picture and the spare bitmap that each grab goes
        // into and then trades with the picture.
        fw::Bitmap picture, spare;
        for (int run = -5; run < a.runs; ++run) {  // 5 runs to warm up
            // Each save makes a new file, as each tick of a series does (a new number).
            ::DeleteFileW(path.c_str());
            const double t0 = NowMs();
            capture::GrabScreenInto(picture, spare, area.left - 6, area.top - 6, area.width + 12, area.height + 12);
            const double t1 = NowMs();
            capture::SaveBitmapFile(picture, path);
            const double t2 = NowMs();
            if (run < 0) continue;
            grab.push_back(t1 - t0);
            save.push_back(t2 - t1);
            total.push_back(t2 - t0);
        }
        const std::string key = "grab." + SizeName(s);
        Result(key + ".grab", Median(grab));
        Result(key + ".save", Median(save));
        Result(key + ".total", Median(total));
        Result(key + ".total_p90", Percentile(total, 90));
        Result(key + ".runs", double(total.size()));
    }
    return 0;
}

// ---- anatomy: what the grab and the save are made of ----------------------------------------

// Median time of `runs` calls of `step` (after 3 unmeasured ones); `setup` runs before each
// call, unmeasured.
double Time(int runs, const std::function<void()>& step, const std::function<void()>& setup = nullptr) {
    std::vector<double> t;
    for (int i = -3; i < runs; ++i) {
        if (setup) setup();
        const double t0 = NowMs();
        step();
        if (i >= 0) t.push_back(NowMs() - t0);
    }
    return Median(t);
}

void Check(bool ok, const char* what) {
    if (!ok) throw fw::Error(fw::Widen(std::string(what) + " failed"));
}

int Anatomy(const Args& a) {
    for (Size s : a.sizes) {
        const Area area = Centred(s);
        const std::string key = "anatomy." + SizeName(s) + ".";
        HWND desktop = ::GetDesktopWindow();
        Result(key + "getdc", Time(a.runs, [&] { ::ReleaseDC(desktop, ::GetDC(desktop)); }));

        HDC screen = ::GetDC(desktop);
        HDC mem = ::CreateCompatibleDC(nullptr);
        Result(key + "ddb_new_blt", Time(a.runs, [&] {
                   HBITMAP b = ::CreateCompatibleBitmap(screen, s.width, s.height);
                   HGDIOBJ old = ::SelectObject(mem, b);
                   Check(::BitBlt(mem, 0, 0, s.width, s.height, screen, area.left, area.top, SRCCOPY), "BitBlt");
                   ::SelectObject(mem, old);
                   ::DeleteObject(b);
               }));
        HBITMAP ddb = ::CreateCompatibleBitmap(screen, s.width, s.height);
        HGDIOBJ old = ::SelectObject(mem, ddb);
        Result(key + "ddb_kept_blt", Time(a.runs, [&] {
                   Check(::BitBlt(mem, 0, 0, s.width, s.height, screen, area.left, area.top, SRCCOPY), "BitBlt");
               }));
        ::SelectObject(mem, old);

        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), s.width, s.height, 1, 32, BI_RGB};
        void* bits = nullptr;
        HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = ::SelectObject(mem, dib);
        Result(key + "dib_kept_blt", Time(a.runs, [&] {
                   Check(::BitBlt(mem, 0, 0, s.width, s.height, screen, area.left, area.top, SRCCOPY), "BitBlt");
                   ::GdiFlush();
               }));
        ::SelectObject(mem, old);
        ::DeleteObject(dib);
        ::DeleteDC(mem);

        const size_t image = size_t(s.width) * size_t(s.height) * 4;
        std::vector<uint8_t> buffer(image + 54);
        HDC dc = ::CreateCompatibleDC(nullptr);
        Result(key + "getdibits", Time(a.runs, [&] {
                   BITMAPINFO bi{};
                   bi.bmiHeader = {sizeof(BITMAPINFOHEADER), s.width, s.height, 1, 32, BI_RGB};
                   Check(::GetDIBits(dc, ddb, 0, UINT(s.height), buffer.data() + 54, &bi, DIB_RGB_COLORS) == s.height,
                         "GetDIBits");
               }));
        ::DeleteDC(dc);
        ::DeleteObject(ddb);
        ::ReleaseDC(desktop, screen);

        // The copy a picture holder takes of each grab (fw::Bitmap::Assign, as GrabInto does).
        {
            fw::Bitmap grabbed, holder;
            grabbed.SetSize(s.width, s.height);
            Result(key + "assign", Time(a.runs, [&] { holder.Assign(grabbed); }));
        }

        // Writing the file: to a name that is new (a series writes a new name each tick) and over
        // an existing file (a series restarted after Stop), in place and beside-then-rename.
        const std::wstring target = a.out + L"\\anatomy.bmp", temp = a.out + L"\\anatomy.tmp";
        auto write = [&](const std::wstring& name, DWORD disposition) {
            HANDLE h = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
            Check(h != INVALID_HANDLE_VALUE, "CreateFile");
            DWORD written = 0;
            Check(::WriteFile(h, buffer.data(), DWORD(buffer.size()), &written, nullptr), "WriteFile");
            ::CloseHandle(h);
        };
        auto rename = [&] {
            Check(::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH),
                  "MoveFileEx");
        };
        auto removeTarget = [&] { ::DeleteFileW(target.c_str()); };
        Result(key + "write_new", Time(
                                      a.runs, [&] { write(target, CREATE_ALWAYS); }, removeTarget));
        Result(key + "write_new_rename", Time(
                                             a.runs,
                                             [&] {
                                                 write(temp, CREATE_NEW);
                                                 rename();
                                             },
                                             removeTarget));
        Result(key + "write_over", Time(a.runs, [&] { write(target, CREATE_ALWAYS); }));
        Result(key + "write_over_rename", Time(a.runs, [&] {
                   write(temp, CREATE_NEW);
                   rename();
               }));
        removeTarget();
    }
    return 0;
}

// ---- the real forms --------------------------------------------------------------------------

// The two forms as the program builds them, set up for a series as a user would: a file name
// typed, a folder chosen through Browse, the first file type (".bmp") and interval ("1 sec").
class RealForms {
public:
    explicit RealForms(const std::wstring& folder) {
        auto& app = fw::Application::Instance();
        app.Initialize();
        app.SetTitle(L"Snapvane 1.1");
        app.messageBoxHook = [this](const std::wstring& text, const std::wstring&, UINT) {
            messages.push_back(text);
            return IDOK;
        };
        panel = std::make_unique<TCopyForm>();
        frame = std::make_unique<TMainForm>();
        app.ShowMainWindows();
        Pump();
        // The series is set up on its page, as a user does it.
        panel->PageControl.SetActivePage(&panel->CaptureLoop);
        panel->PageControl1.SetActivePage(&panel->CaptureRegularily);
        ::SetWindowTextW(panel->Filename.Handle(), L"shot");
        fw::folderBrowserHook = [folder](const std::wstring&, UINT) { return folder; };
        panel->BrowseClick();
        fw::folderBrowserHook = nullptr;
        Pump();
    }
    ~RealForms() {
        panel->Timer.SetEnabled(false);
        frame.reset();
        panel.reset();
    }
    // Removes the file that the next tick writes: each tick of a series writes a new name, and
    // replacing an existing file costs more (ext4 writes the replaced data out at once).
    void RemoveNextFile() {
        const std::wstring next = base::SeriesFileName(panel->Path.Hint(), panel->Filename.Text(),
                                                       panel->SeriesCounter(), panel->Filetype.SelectedText());
        ::DeleteFileW(next.c_str());
    }
    // The frame placed so that its capture rectangle is `area`.
    void PlaceFrame(const Area& area) {
        frame->SetBounds(area.left - base::kBandWidth, area.top - base::kBandWidth, area.width + 2 * base::kBandWidth,
                         area.height + 2 * base::kBandWidth);
        Pump();
    }

    std::unique_ptr<TCopyForm> panel;
    std::unique_ptr<TMainForm> frame;
    std::vector<std::wstring> messages;
};

// ---- forms: where a start's time goes inside the process ------------------------------------

// The entry point's steps, timed one by one in a new process: the application object, the
// control panel, the capture frame, and showing them as the message loop does on entry.
int Forms(const Args&) {
    auto& app = fw::Application::Instance();
    app.messageBoxHook = [](const std::wstring&, const std::wstring&, UINT) { return IDOK; };
    const double t0 = NowMs();
    app.Initialize();
    app.SetTitle(L"Snapvane 1.1");
    const double t1 = NowMs();
    auto panel = std::make_unique<TCopyForm>();
    const double t2 = NowMs();
    auto frame = std::make_unique<TMainForm>();
    const double t3 = NowMs();
    app.ShowMainWindows();
    Pump();
    const double t4 = NowMs();
    Result("forms.application", t1 - t0);
    Result("forms.panel", t2 - t1);
    Result("forms.frame", t3 - t2);
    Result("forms.show", t4 - t3);
    frame.reset();
    panel.reset();
    return 0;
}

// ---- tick: one series capture through the real handler, per size ---------------------------

int Tick(const Args& a) {
    RealForms forms(a.out);
    for (Size s : a.sizes) {
        forms.PlaceFrame(Centred(s));
        if (forms.frame->Width() != s.width + 12 || forms.frame->Height() != s.height + 12) {
            Note("the frame could not be made %s (it is %dx%d)", SizeName(s).c_str(), forms.frame->Width(),
                 forms.frame->Height());
            continue;
        }
        std::vector<double> t;
        for (int run = -5; run < a.runs; ++run) {
            forms.RemoveNextFile();
            const double t0 = NowMs();
            forms.panel->TimerTimer();
            const double t1 = NowMs();
            if (run >= 0) t.push_back(t1 - t0);
            if (forms.panel->SeriesCounter() >= 10) forms.panel->StopClick();  // ten files in turn
            Pump();  // the preview repaints, as it does between two ticks
        }
        Result("tick." + SizeName(s) + ".total", Median(t));
        Result("tick." + SizeName(s) + ".total_p90", Percentile(t, 90));
    }
    forms.panel->StopClick();
    return 0;
}

// ---- series: tick times of a running 1 s series ------------------------------------------------

int Series(const Args& a) {
    RealForms forms(a.out);
    TCopyForm& panel = *forms.panel;
    std::vector<double> ticks, handler;
    auto original = panel.Timer.onTimer;
    panel.Timer.onTimer = [&] {
        const double t = NowMs();
        ticks.push_back(t);
        original();
        handler.push_back(NowMs() - t);
    };
    const int interval = int(base::SeriesIntervalMs(panel.Intervall.ItemIndex()));
    const double pressed = NowMs();
    panel.PlayClick();  // the first capture at once, then the timer from here
    const double armed = NowMs();
    Note("Play pressed; first capture %.2f ms; %d ticks of %d ms to wait for", armed - pressed, a.ticks, interval);
    const bool done = PumpUntil([&] { return int(ticks.size()) >= a.ticks; }, double(a.ticks + 15) * interval);
    const int files = panel.SeriesCounter();
    panel.StopClick();
    if (!done || !forms.messages.empty()) {
        Note(
            "series did not run through: %d ticks, %d messages%s%s", int(ticks.size()), int(forms.messages.size()),
            forms.messages.empty() ? "" : ", first: ", forms.messages.empty() ? "" : Narrow(forms.messages[0]).c_str());
        return 1;
    }
    // Tick k (1-based) is due at armed + k * interval; `armed` is a little after the timer
    // was set, so errors read a little early rather than late.
    std::vector<double> error, absError;
    for (size_t k = 0; k < ticks.size(); ++k) {
        const double e = ticks[k] - armed - double(k + 1) * interval;
        error.push_back(e);
        absError.push_back(std::fabs(e));
    }
    double mean = 0, meanAbs = 0, worst = 0;
    for (size_t k = 0; k < error.size(); ++k) {
        mean += error[k];
        meanAbs += absError[k];
        worst = std::max(worst, absError[k]);
    }
    mean /= double(error.size());
    meanAbs /= double(error.size());
    // Drift: the slope of the errors over the ticks (least squares), and the last error less
    // the first one; a timer re-armed after each capture would drift by the capture time a tick.
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    const double n = double(error.size());
    for (size_t k = 0; k < error.size(); ++k) {
        sx += double(k);
        sy += error[k];
        sxx += double(k) * double(k);
        sxy += double(k) * error[k];
    }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    for (size_t k = 0; k < error.size(); ++k)
        Note("tick %2d  error %+7.3f ms  handler %6.3f ms", int(k + 1), error[k], handler[k]);
    Result("series.ticks", n);
    Result("series.interval", interval);
    Result("series.error_mean", mean);
    Result("series.error_mean_abs", meanAbs);
    Result("series.error_worst", worst);
    Result("series.drift_total", error.back() - error.front());
    Result("series.drift_per_tick", slope);
    Result("series.handler_median", Median(handler));
    Result("series.files", files);
    return 0;
}

// ---- soak: 10,000 series captures, memory and GDI objects before and after ----------------------

int Soak(const Args& a) {
    RealForms forms(a.out);
    TCopyForm& panel = *forms.panel;
    int failures = 0;
    double tickMs = 0;
    auto capture = [&] {
        forms.RemoveNextFile();
        const double t0 = NowMs();
        try {
            panel.TimerTimer();
        } catch (const fw::Error& e) {
            if (++failures <= 3) Note("capture failed: %s", Narrow(e.Message()).c_str());
        }
        tickMs += NowMs() - t0;
        static int count = 0;
        if (a.leakEvery && ++count % a.leakEvery == 0) {
            fw::WindowDc screen(nullptr);
            ::CreateCompatibleBitmap(screen.Get(), 324, 180);  // never freed, on purpose
        }
        if (panel.SeriesCounter() >= 10) panel.StopClick();  // a rotating set of ten files
        Pump();
    };
    for (int i = 0; i < a.warmup; ++i) capture();
    tickMs = 0;
    // The count reads Wine's whole handle table (1.5 MiB, mapped on first reading): once
    // before the baseline, so that the counting itself does not show as growth.
    fw::GdiObjectCount();
    const int gdi0 = fw::GdiObjectCount();
    const Memory m0 = ProcessMemory();
    const double start = NowMs();
    Note("%10s %14s %14s %6s", "captures", "private bytes", "working set", "GDI");
    Note("%10d %14.0f %14.0f %6d", 0, m0.privateBytes, m0.workingSet, gdi0);
    const int step = std::max(1, a.captures / 10);
    for (int i = 1; i <= a.captures; ++i) {
        capture();
        if (i % step == 0) {
            const Memory m = ProcessMemory();
            Note("%10d %14.0f %14.0f %6d", i, m.privateBytes, m.workingSet, fw::GdiObjectCount());
        }
    }
    const double elapsed = NowMs() - start;
    const Memory m1 = ProcessMemory();
    const int gdi1 = fw::GdiObjectCount();
    panel.StopClick();
    Pump();

    // Flat: not one GDI object more, and less than 1 MiB more memory over the whole soak
    // (a picture of 324 x 180 is 228 KiB: a leak of one in a thousand captures shows).
    constexpr double kMemorySlack = 1024.0 * 1024.0;
    const bool gdiFlat = gdi0 >= 0 && gdi1 == gdi0;
    const bool privateFlat = m1.privateBytes - m0.privateBytes <= kMemorySlack;
    const bool workingFlat = m1.workingSet - m0.workingSet <= kMemorySlack;
    Result("soak.captures", a.captures);
    Result("soak.failures", failures);
    Result("soak.ms_per_capture", tickMs / a.captures);
    Result("soak.seconds", elapsed / 1000);
    Result("soak.private_before", m0.privateBytes);
    Result("soak.private_after", m1.privateBytes);
    Result("soak.working_before", m0.workingSet);
    Result("soak.working_after", m1.workingSet);
    Result("soak.gdi_before", gdi0);
    Result("soak.gdi_after", gdi1);
    const bool pass = failures == 0 && gdiFlat && privateFlat && workingFlat;
    std::printf("%s: %d captures, %d failed; GDI objects %d -> %d; private bytes %+.0f; working set %+.0f\n",
                pass ? "PASS" : "FAIL", a.captures, failures, gdi0, gdi1, m1.privateBytes - m0.privateBytes,
                m1.workingSet - m0.workingSet);
    std::fflush(stdout);
    return pass ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Args a;
    if (!ParseArgs(argc, argv, a)) {
        std::fprintf(stderr,
                     "usage: snapvane_bench backdrop|grab|anatomy|tick|series|soak [options] (see the source)\n");
        return 2;
    }
    if (a.mode != L"backdrop" && a.out.empty()) {
        std::fprintf(stderr, "--out FOLDER is needed\n");
        return 2;
    }
    try {
        if (a.mode == L"backdrop") return Backdrop(a);
        if (a.mode == L"grab") return Grab(a);
        if (a.mode == L"anatomy") return Anatomy(a);
        if (a.mode == L"tick") return Tick(a);
        if (a.mode == L"forms") return Forms(a);
        if (a.mode == L"series") return Series(a);
        if (a.mode == L"soak") return Soak(a);
    } catch (const fw::Error& e) {
        std::fprintf(stderr, "error: %s\n", Narrow(e.Message()).c_str());
        return 1;
    }
    std::fprintf(stderr, "unknown mode\n");
    return 2;
}
