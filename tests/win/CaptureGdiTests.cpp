// A capture series runs for days: the grab, the holder's copy, the save, the clipboard copy
// and the print drawing must hold GDI objects flat. (How long the grab and the save take is
// the benchmark's: scripts/bench.sh capture.)
#include <gtest/gtest.h>
#include <windows.h>

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

}  // namespace

TEST(CaptureGdi, ManyCapturesHoldGdiObjectsFlat) {
    TempFolder folder;
    fw::Bitmap holder;
    fw::MemoryDc page(::CreateCompatibleDC(nullptr));
    fw::BitmapHandle pageBitmap(::CreateBitmap(600, 500, 1, 32, nullptr));
    fw::SelectGuard select(page.Get(), pageBitmap.Get());
    // The first rounds make what the system keeps for good (cached DCs, the clipboard's copy).
    for (int i = 0; i < 5; ++i) Round(holder, folder / L"warm.bmp", page.Get());

    int before = 0;
    ASSERT_TRUE(CountingGdiObjects(before));
    for (int i = 0; i < 300; ++i) Round(holder, folder / (L"s" + std::to_wstring(i % 3) + L".bmp"), page.Get());
    EXPECT_EQ(GdiObjectCount() - before, 0) << "GDI objects grew over 300 rounds";
    EXPECT_EQ(folder.Entries().size(), 4u);
}
