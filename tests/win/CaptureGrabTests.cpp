// The screen grab against a window of known pixels placed on the screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "capture/BitmapFile.h"
#include "capture/ClipboardCopy.h"
#include "capture/ScreenGrab.h"
#include "framework/Application.h"
#include "framework/MessageLoop.h"
#include "framework/Error.h"
#include "support/BmpFile.h"
#include "support/ErrorOf.h"
#include "support/Files.h"
#include "support/Pixels.h"
#include "support/ScreenStandIns.h"

using namespace capture_test;

namespace {

// Grabs until the screen shows what is expected or two seconds have passed: the X server
// gets the window's pixels a moment after it has painted.
std::vector<uint32_t> GrabWhenShown(fw::Bitmap& bitmap, int left, int top, int width, int height,
                                    const std::vector<uint32_t>& expected) {
    std::vector<uint32_t> got;
    for (int attempt = 0; attempt < 40; ++attempt) {
        fw::MessageLoop::ProcessMessages();
        capture::GrabScreen(bitmap, left, top, width, height);
        got = PixelsOf(bitmap);
        if (got == expected) break;
        ::Sleep(50);
    }
    return got;
}

}  // namespace

TEST(CaptureGrab, TakesExactlyTheAreaInsideTheBand) {
    // The window plays the area inside a frame whose band lies 6 px around it.
    const int left = 300, top = 220, width = 64, height = 48;
    PatternWindow window(left, top, width, height, PatternWindow::Layer::Topmost);
    fw::Bitmap bitmap;
    const auto expected = PatternArea(0, 0, width, height);
    const auto got = GrabWhenShown(bitmap, left - 6, top - 6, width + 12, height + 12, expected);
    EXPECT_EQ(bitmap.Width(), width);
    EXPECT_EQ(bitmap.Height(), height);
    EXPECT_EQ(got, expected) << "the picture is not the pattern pixel for pixel";
    EXPECT_EQ(bitmap.BitsPerPixel(), ::GetDeviceCaps(fw::WindowDc(nullptr).Get(), BITSPIXEL))
        << "a grab is at the display's depth";
    EXPECT_EQ(bitmap.Palette(), nullptr) << "a true-colour display gives its pictures no palette";

    // The smallest frame, 15 x 15, takes 3 x 3 pixels, here those at (10, 20) of the pattern;
    // grabbed into the same bitmap, which takes the new size and pixels.
    const auto expectedSmall = PatternArea(10, 20, 3, 3);
    EXPECT_EQ(GrabWhenShown(bitmap, left + 10 - 6, top + 20 - 6, 15, 15, expectedSmall), expectedSmall);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 3);
}

TEST(CaptureGrab, EachGrabTradesBitmapsWithThePictureAndMakesNoneOnceWarm) {
    const int left = 320, top = 240, width = 40, height = 30;
    PatternWindow window(left, top, width, height, PatternWindow::Layer::Topmost);
    const auto expected = PatternArea(0, 0, width, height);
    {
        fw::Bitmap probe;  // until the X server shows the window's pixels
        ASSERT_EQ(GrabWhenShown(probe, left - 6, top - 6, width + 12, height + 12, expected), expected);
    }
    fw::Bitmap picture, spare;
    int changes = 0;
    picture.onChange = [&] { ++changes; };
    std::vector<HBITMAP> seen;
    for (int grab = 0; grab < 6; ++grab) {
        SCOPED_TRACE(grab);
        capture::GrabScreenInto(picture, spare, left - 6, top - 6, width + 12, height + 12);
        EXPECT_EQ(PixelsOf(picture), expected);
        EXPECT_NE(picture.Handle(), spare.Handle());
        if (std::find(seen.begin(), seen.end(), picture.Handle()) == seen.end()) seen.push_back(picture.Handle());
    }
    EXPECT_EQ(changes, 6) << "the picture's holder is told of every grab";
    EXPECT_EQ(seen.size(), 2u) << "a grab of the same size made a new bitmap instead of using the spare";

    // Another size: the new pixels at the new size.
    const auto part = PatternArea(5, 5, 10, 8);
    capture::GrabScreenInto(picture, spare, left + 5 - 6, top + 5 - 6, 22, 20);
    EXPECT_EQ(picture.Width(), 10);
    EXPECT_EQ(picture.Height(), 8);
    EXPECT_EQ(PixelsOf(picture), part);

    // A grab that cannot be made leaves the picture as it was.
    const HBITMAP before = picture.Handle();
    EXPECT_THROW(capture::GrabScreenInto(picture, spare, 0, 0, 200000, 200000), fw::OutOfResources);
    EXPECT_EQ(picture.Handle(), before);
    EXPECT_EQ(PixelsOf(picture), part);
}

TEST(CaptureGrab, ACopyTheSystemRefusesIsAnErrorAndLeavesThePictureAsItWas) {
    // The spare holds an earlier picture of the same size, as it does from the second capture
    // of a series on: traded in after a refused copy it would pass for a new capture.
    fw::Bitmap picture, spare;
    FillWithPattern(picture, 30, 20, 0, 0);
    FillWithPattern(spare, 30, 20, 40, 50);
    const HBITMAP before = picture.Handle();
    int changes = 0;
    picture.onChange = [&] { ++changes; };
    RefusingScreen refusing;
    EXPECT_EQ(ErrorOf([&] { capture::GrabScreenInto(picture, spare, 100, 100, 42, 32); }),
              L"Cannot copy the screen area");
    EXPECT_EQ(picture.Handle(), before);
    EXPECT_EQ(PixelsOf(picture), PatternArea(0, 0, 30, 20));
    EXPECT_EQ(changes, 0) << "the holder was told of a new picture";
}

TEST(CaptureGrab, OnAPaletteDisplayThePictureCarriesTheDisplaysPaletteToTheClipboardAndTheFile) {
    PaletteScreen screen;
    fw::Bitmap picture, spare;
    // The area at (10, 6) of the screen, 20 x 12.
    capture::GrabScreenInto(picture, spare, 10 - 6, 6 - 6, 32, 24);
    ASSERT_EQ(picture.BitsPerPixel(), 8);
    ASSERT_NE(picture.Palette(), nullptr) << "the picture of a palette display carries no palette";
    PALETTEENTRY entries[256]{};
    ASSERT_EQ(::GetPaletteEntries(picture.Palette(), 0, 256, entries), 256u);
    int wrongEntries = 0;
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY want = PaletteScreen::Entry(i);
        wrongEntries +=
            entries[i].peRed != want.peRed || entries[i].peGreen != want.peGreen || entries[i].peBlue != want.peBlue;
    }
    EXPECT_EQ(wrongEntries, 0) << "palette entries that are not the display's";

    // The clipboard offers the palette beside the bitmap, a copy of its own.
    capture::CopyBitmapToClipboard(picture, fw::Application::Instance().Handle());
    ASSERT_TRUE(::OpenClipboard(nullptr));
    auto* offered = static_cast<HPALETTE>(::GetClipboardData(CF_PALETTE));
    PALETTEENTRY clip[256]{};
    const UINT clipCount = offered ? ::GetPaletteEntries(offered, 0, 256, clip) : 0;
    ::CloseClipboard();
    EXPECT_NE(offered, picture.Palette());
    ASSERT_EQ(clipCount, 256u) << "CF_PALETTE is not the display's palette";
    EXPECT_EQ(clip[200].peRed, PaletteScreen::Entry(200).peRed);
    EXPECT_EQ(clip[200].peGreen, PaletteScreen::Entry(200).peGreen);

    // The file's colour table is the display's, and its pixels index it as the screen did.
    TempFolder folder;
    capture::SaveBitmapFile(picture, folder / L"p.bmp");
    const BmpFile file = ReadBmp(folder / L"p.bmp");
    ASSERT_TRUE(file.valid);
    ASSERT_EQ(file.fileSize, 54u + 1024 + 20 * 12);
    ASSERT_EQ(file.offBits, 54u + 1024);
    ASSERT_EQ(file.bitsPerPixel, 8);
    ASSERT_EQ(file.colors.size(), 256u);
    int wrongTable = 0, wrongPixels = 0;
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY want = PaletteScreen::Entry(i);
        const RGBQUAD got = file.colors[size_t(i)];
        wrongTable += got.rgbBlue != want.peBlue || got.rgbGreen != want.peGreen || got.rgbRed != want.peRed;
    }
    for (int y = 0; y < 12; ++y) {
        const std::vector<uint8_t> row = file.Row(y);
        for (int x = 0; x < 20; ++x) wrongPixels += row[size_t(x)] != PaletteScreen::Index(10 + x, 6 + y);
    }
    EXPECT_EQ(wrongTable, 0);
    EXPECT_EQ(wrongPixels, 0);
}
