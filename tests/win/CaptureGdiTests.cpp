// A capture series runs for days: the grab, the holder's copy, the save, the clipboard copy
// and the print drawing must hold GDI objects flat. Also prints the path's timings.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

#include "capture/BitmapFile.h"
#include "capture/ClipboardCopy.h"
#include "capture/PrintPicture.h"
#include "capture/ScreenGrab.h"
#include "framework/Application.h"
#include "support/Files.h"
#include "support/GdiObjects.h"

using namespace capture_test;

namespace {

// One round as the program runs it: grab into a temporary bitmap, the holder takes a copy,
// the temporary goes; then the holder is saved, copied and drawn for print.
void Round(fw::Bitmap& holder, const std::wstring& path, HDC page) {
    {
        fw::Bitmap grabbed;
        capture::GrabScreen(grabbed, 100, 80, 336, 192);
        holder.Assign(grabbed);
    }
    capture::SaveBitmapFile(holder, path);
    capture::CopyBitmapToClipboard(holder, fw::Application::Instance().Handle());
    capture::DrawStretchedBitmap(page, holder, base::IntRect{100, 100, 500, 400});
}

double MillisecondsPer(int rounds, LARGE_INTEGER start) {
    LARGE_INTEGER end, frequency;
    ::QueryPerformanceCounter(&end);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart) / rounds;
}

}  // namespace

TEST(CaptureGdi, ManyCapturesHoldGdiObjectsFlat) {
    if (GdiObjectCount() < 0) GTEST_SKIP() << "the GDI handle table can be counted under Wine only";
    TempFolder folder;
    fw::Bitmap holder;
    fw::MemoryDc page(::CreateCompatibleDC(nullptr));
    fw::BitmapHandle pageBitmap(::CreateBitmap(600, 500, 1, 32, nullptr));
    fw::SelectGuard select(page.Get(), pageBitmap.Get());
    // The first rounds make what the system keeps for good (cached DCs, the clipboard's copy).
    for (int i = 0; i < 5; ++i) Round(holder, folder / L"warm.bmp", page.Get());

    const int before = GdiObjectCount();
    for (int i = 0; i < 300; ++i) Round(holder, folder / (L"s" + std::to_wstring(i % 3) + L".bmp"), page.Get());
    EXPECT_EQ(GdiObjectCount() - before, 0) << "GDI objects grew over 300 rounds";
    EXPECT_EQ(folder.Entries().size(), 4u);
}

TEST(CaptureGdi, GrabAndSaveTimings) {
    // Not a pass/fail figure: the grab-and-save path of one series tick, as a benchmark
    // would measure it, printed for the record.
    TempFolder folder;
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    const struct {
        const char* name;
        int width, height;
    } sizes[] = {{"324x180", 336, 192}, {"full screen", screenW + 12, screenH + 12}};
    for (const auto& s : sizes) {
        fw::Bitmap bitmap;
        capture::GrabScreen(bitmap, -6, -6, s.width, s.height);
        capture::SaveBitmapFile(bitmap, folder / L"t.bmp");
        const int rounds = 20;
        LARGE_INTEGER start;
        ::QueryPerformanceCounter(&start);
        for (int i = 0; i < rounds; ++i) {
            fw::Bitmap grabbed;
            capture::GrabScreen(grabbed, -6, -6, s.width, s.height);
        }
        const double grab = MillisecondsPer(rounds, start);
        ::QueryPerformanceCounter(&start);
        for (int i = 0; i < rounds; ++i) capture::SaveBitmapFile(bitmap, folder / L"t.bmp");
        const double save = MillisecondsPer(rounds, start);
        std::printf("[ timing   ] %-11s grab %.2f ms, save %.2f ms\n", s.name, grab, save);
        EXPECT_EQ(ReadFileBytes(folder / L"t.bmp").size(), 54u + size_t(s.width - 12) * 4 * (s.height - 12));
    }
}
