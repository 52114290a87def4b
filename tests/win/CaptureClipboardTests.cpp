// Copying a capture to the clipboard, read back as another program would.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "capture/ClipboardCopy.h"
#include "framework/Application.h"
#include "support/ErrorOf.h"
#include "support/Pixels.h"

using namespace capture_test;

namespace {

HWND Owner() { return fw::Application::Instance().Handle(); }

// What the clipboard holds as CF_BITMAP: the handle, its size and its pixels.
struct ClipboardBitmap {
    HBITMAP handle = nullptr;
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    bool palette = false;
};

ClipboardBitmap ReadClipboard() {
    ClipboardBitmap out;
    if (!::OpenClipboard(nullptr)) return out;
    out.palette = ::IsClipboardFormatAvailable(CF_PALETTE) != FALSE;
    out.handle = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    BITMAP info{};
    if (out.handle && ::GetObjectW(out.handle, sizeof info, &info)) {
        out.width = info.bmWidth;
        out.height = info.bmHeight;
        out.pixels = PixelsOf(out.handle, out.width, out.height);
    }
    ::CloseClipboard();
    return out;
}

// Another thread of another window opens the clipboard and holds it until released.
class ClipboardHolder {
public:
    ClipboardHolder() {
        opened_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        release_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this] {
            HWND wnd =
                ::CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
            held_ = ::OpenClipboard(wnd) != FALSE;
            ::SetEvent(opened_);
            ::WaitForSingleObject(release_, 10000);
            if (held_) ::CloseClipboard();
            ::DestroyWindow(wnd);
        });
        ::WaitForSingleObject(opened_, 10000);
    }
    ~ClipboardHolder() {
        Release();
        ::CloseHandle(opened_);
        ::CloseHandle(release_);
    }
    bool Held() const { return held_; }
    void Release() {
        if (timer_.joinable()) timer_.join();
        ::SetEvent(release_);
        if (thread_.joinable()) thread_.join();
    }
    void ReleaseAfter(int ms) {
        timer_ = std::thread([this, ms] {
            ::Sleep(DWORD(ms));
            ::SetEvent(release_);
        });
    }

private:
    HANDLE opened_, release_;
    std::thread thread_, timer_;
    bool held_ = false;
};

}  // namespace

TEST(CaptureClipboard, OffersAScreenCompatibleCopyAsBitmap) {
    fw::Bitmap bitmap;
    FillWithPattern(bitmap, 40, 30);
    capture::CopyBitmapToClipboard(bitmap, Owner());

    const ClipboardBitmap clip = ReadClipboard();
    ASSERT_NE(clip.handle, nullptr);
    EXPECT_NE(clip.handle, bitmap.Handle()) << "the clipboard must get a copy, not the holder's bitmap";
    EXPECT_EQ(clip.width, 40);
    EXPECT_EQ(clip.height, 30);
    EXPECT_EQ(clip.pixels, PatternArea(0, 0, 40, 30));
    EXPECT_FALSE(clip.palette) << "a true-colour picture carries no palette";
    EXPECT_EQ(PixelsOf(bitmap), PatternArea(0, 0, 40, 30)) << "copying changed the picture";
    EXPECT_EQ(::GetClipboardOwner(), Owner());
}

TEST(CaptureClipboard, CopyingTwiceLeavesOneBitmap) {
    fw::Bitmap first, second;
    FillWithPattern(first, 20, 10);
    FillWithPattern(second, 12, 6, 3, 4);
    capture::CopyBitmapToClipboard(first, Owner());
    const HBITMAP firstCopy = ReadClipboard().handle;
    ASSERT_NE(firstCopy, nullptr);
    capture::CopyBitmapToClipboard(second, Owner());

    const ClipboardBitmap clip = ReadClipboard();
    EXPECT_EQ(clip.width, 12);
    EXPECT_EQ(clip.pixels, PatternArea(3, 4, 12, 6));
    // A freed handle is not handed out again as it was (its table entry's reuse count is part
    // of it), so the first copy's handle names nothing once that copy is freed.
    EXPECT_NE(clip.handle, firstCopy);
    EXPECT_EQ(::GetObjectType(firstCopy), 0u) << "the first copy was not freed";
}

TEST(CaptureClipboard, APictureWithAPaletteOffersItsPaletteToo) {
    std::vector<RGBQUAD> table(256);
    std::vector<PALETTEENTRY> entries;
    for (int i = 0; i < 16; ++i) {
        table[size_t(i)] = RGBQUAD{BYTE(i * 16), BYTE(i * 8), BYTE(255 - i * 16), 0};
        entries.push_back(PALETTEENTRY{BYTE(255 - i * 16), BYTE(i * 8), BYTE(i * 16), 0});
    }
    fw::Bitmap bitmap;
    AdoptDib(bitmap, 8, 8, 8, table, entries);
    capture::CopyBitmapToClipboard(bitmap, Owner());

    ASSERT_TRUE(::OpenClipboard(nullptr));
    auto* palette = static_cast<HPALETTE>(::GetClipboardData(CF_PALETTE));
    PALETTEENTRY got[16]{};
    const UINT count = palette ? ::GetPaletteEntries(palette, 0, 16, got) : 0;
    const bool hasBitmap = ::GetClipboardData(CF_BITMAP) != nullptr;
    ::CloseClipboard();
    ASSERT_NE(palette, nullptr);
    EXPECT_NE(palette, bitmap.Palette()) << "the clipboard must get its own palette";
    EXPECT_TRUE(hasBitmap);
    ASSERT_EQ(count, 16u);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(got[i].peRed, entries[size_t(i)].peRed);
}

TEST(CaptureClipboard, AClipboardHeldElsewhereCannotBeOpened) {
    fw::Bitmap before, after;
    FillWithPattern(before, 9, 9);
    FillWithPattern(after, 5, 5);
    capture::CopyBitmapToClipboard(before, Owner());
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.Held());
        EXPECT_EQ(ErrorOf([&] { capture::CopyBitmapToClipboard(after, Owner()); }), L"Cannot open clipboard");
    }
    EXPECT_EQ(ReadClipboard().width, 9) << "a refused copy changed the clipboard";

    // A hold that ends within the opening's retries is waited out.
    ClipboardHolder shortHold;
    ASSERT_TRUE(shortHold.Held());
    shortHold.ReleaseAfter(10);
    EXPECT_NO_THROW(capture::CopyBitmapToClipboard(after, Owner()));
    EXPECT_EQ(ReadClipboard().width, 5);
}
