// The printer object and the print of a capture. The test environment's default printer is a
// CUPS PDF queue; the test without a default printer has a ctest entry of its own, in a
// system where a printer is installed but none is the default (tests/CMakeLists.txt).
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "base/PrintRect.h"
#include "capture/PrintPicture.h"
#include "framework/Printer.h"
#include "support/DibCanvas.h"
#include "support/ErrorOf.h"
#include "support/Files.h"
#include "support/GdiObjects.h"
#include "support/Pixels.h"

using namespace capture_test;

namespace {

bool HaveDefaultPrinter() {
    DWORD size = 0;
    ::GetDefaultPrinterW(nullptr, &size);
    return size > 0;
}

std::wstring EnvironmentText(const wchar_t* name) {
    wchar_t text[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(name, text, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(text, length) : std::wstring();
}

bool PrinterInstalled(const std::wstring& name) {
    DWORD needed = 0, count = 0;
    ::EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 1);
    if (!::EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 4, buffer.data(), needed, &needed, &count)) return false;
    const auto* printers = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        if (name == printers[i].pPrinterName) return true;
    return false;
}

}  // namespace

// A printer is installed, but none is the default: the program must not print on it. Its jobs
// land in a file (WINE_ENV_SPARE_PRINTER_OUT, a Unix path), so a job that went there is seen.
TEST(Printer, WithoutADefaultPrinterNothingIsPrinted) {
    const std::wstring spare = EnvironmentText(L"WINE_ENV_SPARE_PRINTER");
    std::wstring jobFile = EnvironmentText(L"WINE_ENV_SPARE_PRINTER_OUT");
    ASSERT_FALSE(spare.empty() || jobFile.empty()) << "no spare printer: run by ctest under WineEnvUp --printer";
    for (wchar_t& c : jobFile)
        if (c == L'/') c = L'\\';
    jobFile = L"Z:" + jobFile;
    ASSERT_FALSE(HaveDefaultPrinter()) << "the system has a default printer (see WineEnvNoDefaultPrinter)";
    ASSERT_TRUE(PrinterInstalled(spare)) << "the printer that is not the default is missing";
    ASSERT_FALSE(FileExists(jobFile));

    const std::wstring none = L"There is no default printer currently selected";
    fw::Printer printer;
    printer.SetTitle(L"test");
    EXPECT_EQ(ErrorOf([&] { printer.BeginDoc(); }), none);
    EXPECT_FALSE(printer.Printing()) << "a failed begin must not leave the printer printing";
    EXPECT_EQ(printer.PageNumber(), 0);
    EXPECT_EQ(ErrorOf([&] { printer.BeginDoc(); }), none) << "the second try must not say printing in progress";

    fw::Bitmap bitmap;
    FillWithPattern(bitmap, 20, 10);
    EXPECT_EQ(ErrorOf([&] { capture::PrintBitmap(bitmap, base::PrintRectFor(20, 10)); }), none);
    EXPECT_FALSE(fw::Printer::Instance().Printing());
    // Wine's spooler writes a job's file as the document ends: a job would be there within the
    // time the job asked for by name below is given.
    constexpr int kJobTenths = 50;
    bool printed = false;
    for (int i = 0; i < kJobTenths && !printed; ++i) {
        ::Sleep(100);
        printed = FileExists(jobFile);
    }
    EXPECT_FALSE(printed) << "a job was printed on a printer that is not the default";

    // That check can fail: a job sent to the spare printer by name lands in its file.
    HDC dc = ::CreateDCW(L"WINSPOOL", spare.c_str(), nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = L"Snapvane spare printer test";
    EXPECT_GT(::StartDocW(dc, &doc), 0);
    ::StartPage(dc);
    ::Rectangle(dc, 100, 100, 400, 300);
    ::EndPage(dc);
    EXPECT_GT(::EndDoc(dc), 0);
    ::DeleteDC(dc);
    for (int i = 0; i < kJobTenths && !FileExists(jobFile); ++i) ::Sleep(100);
    EXPECT_TRUE(FileExists(jobFile)) << "the spare printer printed nothing when asked by name";
    ::DeleteFileW(jobFile.c_str());
}

TEST(Printer, StretchModeFollowsTheDepthsOfPrinterAndPicture) {
    EXPECT_EQ(capture::StretchModeFor(1, 32), HALFTONE);  // monochrome printer, colour picture
    EXPECT_EQ(capture::StretchModeFor(8, 24), HALFTONE);
    EXPECT_EQ(capture::StretchModeFor(8, 8), COLORONCOLOR);  // not fewer than the picture's
    EXPECT_EQ(capture::StretchModeFor(4, 1), COLORONCOLOR);
    EXPECT_EQ(capture::StretchModeFor(24, 32), COLORONCOLOR);  // more than 8 bpp
    EXPECT_EQ(capture::StretchModeFor(32, 32), COLORONCOLOR);
}

TEST(Printer, TheWholePictureFillsThePrintRectangleOnEveryDeviceThatTakesADib) {
    // Left half red, right half blue (a bitmap compatible with the screen, as a grab makes
    // it), stretched 4 x 2 -> 40 x 20 at (10, 20): by the device itself (RC_STRETCHDIB), and
    // stretched beforehand for a device that takes a DIB at its own size only (RC_DIBTODEV).
    fw::Bitmap bitmap;
    bitmap.SetSize(4, 2);
    HDC src = bitmap.Dc();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) ::SetPixel(src, x, y, x < 2 ? RGB(255, 0, 0) : RGB(0, 0, 255));
    for (int caps : {::GetDeviceCaps(DibCanvas(1, 1).Dc(), RASTERCAPS), int(RC_DIBTODEV)}) {
        SCOPED_TRACE(caps & RC_STRETCHDIB ? "stretched by the device" : "stretched beforehand");
        DibCanvas page(80, 60);  // white, standing in for a printer's page
        const int modeBefore = ::GetStretchBltMode(page.Dc());
        const HGDIOBJ paletteBefore = ::GetCurrentObject(page.Dc(), OBJ_PAL);

        capture::DrawStretchedBitmap(page.Dc(), bitmap, base::IntRect{10, 20, 50, 40}, caps);
        EXPECT_EQ(page.Pixel(10, 20), RGB(255, 0, 0));
        EXPECT_EQ(page.Pixel(29, 39), RGB(255, 0, 0));
        EXPECT_EQ(page.Pixel(30, 20), RGB(0, 0, 255));
        EXPECT_EQ(page.Pixel(49, 39), RGB(0, 0, 255));
        // Right and bottom are coordinates: nothing at or beyond them, nothing before the origin.
        EXPECT_EQ(page.Pixel(50, 30), RGB(255, 255, 255));
        EXPECT_EQ(page.Pixel(30, 40), RGB(255, 255, 255));
        EXPECT_EQ(page.Pixel(9, 30), RGB(255, 255, 255));
        EXPECT_EQ(page.Pixel(30, 19), RGB(255, 255, 255));
        EXPECT_EQ(::GetStretchBltMode(page.Dc()), modeBefore);
        EXPECT_EQ(::GetCurrentObject(page.Dc(), OBJ_PAL), paletteBefore);
    }
}

TEST(Printer, ADeviceThatTakesNoPictureIsAFailedPrintNotABlankPage) {
    fw::Bitmap bitmap;
    bitmap.SetSize(4, 2);
    DibCanvas page(80, 60);
    EXPECT_EQ(ErrorOf([&] {
                  capture::DrawStretchedBitmap(page.Dc(), bitmap, base::IntRect{0, 0, 40, 20}, 0);
              }),
              L"Printing failed")
        << "a device that takes no DIB";
    // A device that says it takes a stretched DIB and then refuses it (here a DC that is gone).
    HDC gone = ::CreateCompatibleDC(nullptr);
    ASSERT_TRUE(::DeleteDC(gone));
    EXPECT_EQ(ErrorOf([&] {
                  capture::DrawStretchedBitmap(gone, bitmap, base::IntRect{0, 0, 40, 20}, RC_STRETCHDIB);
              }),
              L"Printing failed")
        << "a refused stretch";
}

TEST(Printer, APictureWithAPaletteIsDrawnWithItAndLeavesTheDcAsItWas) {
    fw::Bitmap bitmap;
    auto* bits = static_cast<BYTE*>(
        AdoptDib(bitmap, 2, 1, 1, {RGBQUAD{0, 200, 0, 0}, RGBQUAD{0, 0, 200, 0}}, {{0, 200, 0, 0}, {200, 0, 0, 0}}));
    bits[0] = 0x40;  // pixel 0: index 0 (green), pixel 1: index 1 (red)
    DibCanvas page(20, 10);
    const HGDIOBJ paletteBefore = ::GetCurrentObject(page.Dc(), OBJ_PAL);
    bitmap.Dc();  // the bitmap's own DC is made once and kept: count from here
    int gdiBefore = 0;
    ASSERT_TRUE(CountingGdiObjects(gdiBefore));

    capture::DrawStretchedBitmap(page.Dc(), bitmap, base::IntRect{0, 0, 10, 5});
    EXPECT_EQ(page.Pixel(2, 2), RGB(0, 200, 0));
    EXPECT_EQ(page.Pixel(7, 2), RGB(200, 0, 0));
    EXPECT_EQ(::GetCurrentObject(page.Dc(), OBJ_PAL), paletteBefore) << "the palette copy is still selected";
    EXPECT_EQ(GdiObjectCount(), gdiBefore) << "the palette copy leaked";
}

// On the environment's default printer, the CUPS PDF queue.
TEST(Printer, OneJobAtATimeAndIdleAfterwards) {
    ASSERT_TRUE(HaveDefaultPrinter()) << "no default printer: run under WineEnvUp --printer";
    fw::Printer& printer = fw::Printer::Instance();
    printer.SetTitle(L"Snapvane printer test");
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 1);
    EXPECT_GT(printer.BitsPerPixel(), 0);
    EXPECT_EQ(ErrorOf([&] { printer.BeginDoc(); }), L"Printing in progress");
    EXPECT_TRUE(printer.Printing()) << "the refused second job disturbed the first";
    printer.GetCanvas().Rectangle(100, 100, 400, 300);
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 0);

    fw::Bitmap bitmap;
    FillWithPattern(bitmap, 200, 100);
    capture::PrintBitmap(bitmap, base::PrintRectFor(200, 100));
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.Title(), L"Snapvane bitmap");
}
